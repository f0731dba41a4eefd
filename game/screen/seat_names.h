// How the screens name a seat: by the colour of its stone, as "Red's turn" does.
#pragma once

#include "base/strings.h"
#include "base/text_format.h"

#include <cstdint>

// "Red", "Blue", "Green", "Yellow", "Purple", "Orange" by colour index; empty past the six.
string color_name(uint8_t color_index);

// The seat's colour name followed by `rest`, written into `text` ("Blue cannot move and passes").
string seat_sentence(int64_t seat, string rest, FixedText* text);
