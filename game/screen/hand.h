// The current player's hand along the bottom panel, with its scroll bar, and the pushdown
// player's two other choices: drawing from the deck and ending the turn after a draw.
#pragma once

#include <cstdint>

// How far the hand is scrolled, as a share of its whole width, and whether the bar's thumb is held.
extern double hand_scroll;
extern uint8_t hand_scroll_dragging;

void reset_hand_view();

void draw_hand();
