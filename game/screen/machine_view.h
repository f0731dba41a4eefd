// The machine drawn through a view: transitions with their rule labels, states and stones. The game
// screen draws it through the camera and takes its clicks; the map list's preview draws it shrunk.
#pragma once

#include "model/game_data.h"
#include "render/matrix.h"

#include <cstdint>

struct MachineView {
    Matrix view;
    // Drawn in the selection colour; -1 for none.
    int16_t highlighted_transition;
    // Hover, selection rings, state numbers, the moving stone, and clicks that select states.
    bool interactive;
    // In play the seats' band under the top panel covers the machine too.
    bool below_seat_strip;
    // The transition taken last, drawn wider in the colour of the seat that took it; -1 for none.
    int16_t lit_transition;
    Color lit_color;
};

// Shift+N shows each state's index on it.
extern uint8_t show_state_numbers;

// The lowest-index transition from `from` to `to`; -1 when they are not joined or either is -1.
int16_t transition_between(int16_t from, int16_t to);

void draw_transitions(const MachineView& view);

// A right click takes back the last choice: the target, else the source, else the hand card.
void clear_last_selection();

// A left click on the machine: a state becomes the source or the target; a transition's label or
// arrow picks that transition whole, its ends becoming the source and the target.
void take_machine_click(const MachineView& view);

// The pointer is over the machine, not over a panel, and no text is being typed.
bool pointing_at_machine(const MachineView& view);
// Whether a left click at the pointer would pick a state, an arrow or a rule label.
bool machine_part_under_pointer(const MachineView& view);

// The transition a move along the selection takes: the one picked, while it still joins the source
// and the target; else the lowest-index one between them.
int16_t chosen_transition();

// Every state in index order, with the selection's rings and the hovered state lit.
void draw_states(const MachineView& view);

// A rule label's centre and its box in world units (bottom-left corner and size).
struct WorldBox {
    double x, y, width, height;
};
void label_center(const Transition& t, double* x, double* y);
WorldBox label_box(const Transition& t);

// Stones pile up on their states; the moving one is drawn where its animation stands.
void draw_stones(const MachineView& view);

// The whole machine at once, as the preview shows it.
void draw_machine(const MachineView& view);

// The camera of a new game: the whole map, labels included, between the bottom panel and the seats'
// band, never enlarged.
void frame_whole_map();
