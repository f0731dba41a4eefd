// The editor's undo history: copies of the map as it stood after each edit (machine, stones, goals,
// win mode, deck, hand and tape sizes) in a ring; once the ring is full the oldest step is dropped.
#pragma once

#include <cstdint>

// Snapshots kept; undo reaches back one fewer steps than this.
constexpr int64_t map_history_capacity = 512;

// Forgets every step: the map as it is now is the only one, and counts as saved.
void start_map_history();

// Takes the map as the newest step when it differs from the step it stands at, dropping the steps
// that redo would have brought back. True when a step was taken.
bool record_map_edit();

// Puts the map back to the step before or after; false when there is none.
bool undo_map_edit();
bool redo_map_edit();

// The step the map stands at now is what its file holds.
void mark_map_saved();
// True when the map differs from the step last marked saved.
bool map_has_unsaved_edits();

void reset_map_history();
