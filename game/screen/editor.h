// The game screen in editor mode: grid placement of states, keys and buttons that change the
// machine and its deck, hand, tape and goal settings, saving under a typed name.
#pragma once

#include <cstdint>

// Index of the goal shown in the bottom panel, taken modulo the number of goals.
extern int64_t goal_cursor;
// Set when ctrl+O asks for the kind's map list; the shell opens it and clears this.
extern uint8_t map_list_requested;

// Drawn after the machine, the panels and the cards.
void editor_frame();

// What an editor key or button does, callable on its own.
void add_state_at(double world_x, double world_y);
void add_transition_between_selected();
void add_stone_on_source();
// Removes the source state's stones (only the first when one_stone) and then, unless
// one_stone, the state itself; transitions and stones of the last state follow it to its new index.
void remove_source_state(bool one_stone);

void reset_editor();
