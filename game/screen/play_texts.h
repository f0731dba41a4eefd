// The sentences the game says about its seats, their strengths and what a win asks for.
#pragma once

#include "base/strings.h"
#include "base/text_format.h"

#include <cstdint>

// "Red", "Blue", "Green", "Yellow", "Purple", "Orange" by colour index; empty past the six.
string color_name(uint8_t color_index);

// "easy", "normal", "hard", and "expert" for any higher strength.
string difficulty_name(int64_t difficulty);

// What the win mode asks for beside the kind's own condition: "and a stone on a light blue state",
// "and every stone on a light blue state", or nothing.
string win_mode_requirement();

// The seat's colour name followed by `rest`, written into `text` ("Blue cannot move and passes").
string seat_sentence(int64_t seat, string rest, FixedText* text);
