// The current player's hand along the bottom panel, with its scroll bar, and the pushdown
// player's two other choices: drawing from the deck and ending the turn after a draw.
#pragma once

#include "screen/screen_mouse.h"

void draw_hand(const ScreenMouse& mouse);
