// The machine on the game screen: transitions, states and stones in world space, and the
// clicks that select a source and a target state.
#pragma once

#include "screen/screen_mouse.h"

#include <cstdint>

// The lowest-index transition from `from` to `to`; -1 when they are not joined or either is -1.
int16_t transition_between(int16_t from, int16_t to);

// The selected transition stands out from the others.
void draw_transitions();

// A right click takes back the last choice: the target, else the source, else the hand card.
void clear_last_selection();

// Hit tests, clicks and drawing of every state in index order.
void draw_and_select_states(const ScreenMouse& mouse);

// Stones pile up on their states; the moving one is drawn where its animation stands.
void draw_stones();
