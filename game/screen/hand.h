// The current player's hand along the bottom panel, with its scroll bar, and the pushdown
// player's two other choices: drawing from the deck and ending the turn after a draw.
#pragma once

#include <cstdint>

// How far the hand is scrolled, as a share of its whole width, and whether the bar's thumb is held.
extern double hand_scroll;
extern uint8_t hand_scroll_dragging;

void reset_hand_view();

// Bottom-left x of card k of a hand of `cards` in a window `width` wide, scrolled by `scroll`;
// every card's top edge lies at hand_card_top.
double hand_card_x(int64_t k, int64_t cards, double width, double scroll);
constexpr double hand_card_top = 144;

void draw_hand();
