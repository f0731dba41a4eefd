// Where the game screen puts things: the two panels, card sizes and the deck and stack slots.
#pragma once

#include "render/scene.h"

constexpr double bottom_panel_height = 176;
constexpr double top_panel_height = 160;
// In play a band under the top panel shows every seat; the machine is framed below it.
constexpr double seat_strip_height = 32;

// A Turing machine's heads-up texts in the top-left corner reach this far to the right.
constexpr double heads_up_width = 224;

constexpr double card_size = 128;
// From one card's left edge to the next card's, in the hand and on the tape.
constexpr double card_pitch = 144;

// A card slot's bottom-left corner and side, in window pixels.
struct CardSlot {
    double x, y, size;
};

// Along the top edge: the deck left of the window's centre, the stack right of it.
inline CardSlot deck_slot() { return CardSlot{window_width / 2.0 - 192, window_height - 144.0, card_size}; }
inline CardSlot stack_slot() { return CardSlot{window_width / 2.0 + 64, window_height - 144.0, card_size}; }
