// The game screen in editor mode: grid placement of states, keys and buttons that change the
// machine and its deck, hand, tape and goal settings, undo and redo, saving under a typed name,
// and a question before anything unsaved is dropped.
#pragma once

#include <cstdint>

// Index of the goal shown in the bottom panel, taken modulo the number of goals.
extern int64_t goal_cursor;

// What the editor asks the shell to do after its frame.
enum : uint8_t {
    editor_request_none = 0,
    editor_request_map_list = 1,
    editor_request_leave = 2,
    editor_request_quit = 3
};
// The request of this frame, cleared by taking it.
uint8_t take_editor_request();

// A fresh start on the map shown: nothing selected, no dialog, a new undo history, nothing unsaved.
void start_editing();

// Before leaving the editor (then: leave or quit): true when no edit would be lost. Otherwise the
// editor asks whether to discard the edits and returns false; "Discard" then requests `then`.
// Asked again while its question is up, leaving closes the question and quitting goes ahead;
// any other question closes on leaving and gives way to this one on quitting.
bool editor_may_discard(uint8_t then);

// A dialog or a question is up: it alone answers clicks and keys.
bool editor_dialog_open();

// Drawn after the machine and the panels.
void editor_frame();

// What an editor key or button does, callable on its own; each acts only on states of the map shown.
void add_state_at(double world_x, double world_y);
void add_transition_between_selected();
void add_stone_on_source();
// Removes the source state's stones (only the first when one_stone) and then, unless
// one_stone, the state itself; transitions and stones of the last state follow it to its new index.
void remove_source_state(bool one_stone);

void reset_editor();
