// The machine drawn through a view: transitions with their rule labels, states and stones. The game
// screen draws it through the camera and takes its clicks; the map list's preview draws it shrunk.
#pragma once

#include "render/matrix.h"

#include <cstdint>

struct MachineView {
    Matrix view;
    // Drawn in the selection colour; -1 for none.
    int16_t highlighted_transition;
    // Hover, selection rings, state numbers, the moving stone, and clicks that select states.
    bool interactive;
};

// Shift+N shows each state's index on it.
extern uint8_t show_state_numbers;

// The lowest-index transition from `from` to `to`; -1 when they are not joined or either is -1.
int16_t transition_between(int16_t from, int16_t to);

void draw_transitions(const MachineView& view);

// A right click takes back the last choice: the target, else the source, else the hand card.
void clear_last_selection();

// Hit tests, clicks and drawing of every state in index order.
void select_and_draw_states(const MachineView& view);

// Stones pile up on their states; the moving one is drawn where its animation stands.
void draw_stones(const MachineView& view);

// The whole machine at once, as the preview shows it.
void draw_machine(const MachineView& view);
