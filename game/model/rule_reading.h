// Whether a transition's rule text reads as a rule of the machine kind, and where it stops doing so.
#pragma once

#include "base/strings.h"

#include <cstdint>

// The index of the first byte that cannot be read, the text's length when it ends before it is
// complete, or -1 when it reads whole. A card rule follows the card rule grammar; a tape action is
// a symbol to write (or "*" for none), then optionally "L" or "R", then anything as its label.
// State machines have no rules, so every text reads.
int64_t first_unreadable_byte(string rule, uint8_t kind);
