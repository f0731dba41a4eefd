// What the game screen shows over the machine: whose turn it is before a hand is revealed,
// how many cards every seat holds, and how the game ended.
#pragma once

#include "base/strings.h"
#include "base/text_format.h"

#include <cstdint>

// "3 cards", "1 card!", "0 cards!": written into the caller's text.
string card_count_text(int64_t cards, FixedText* text);

// Before a human seat of a game with several humans sees its hand.
void draw_turn_overlay();
void draw_card_counts();
// The winner, or that nobody can move any more; both offer a restart.
void draw_end_overlay();
