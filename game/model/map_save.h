// Saving the current map under a typed name, and deleting a listed map, without ever leaving a
// half-written file or touching a file outside the map folders.
#pragma once

#include "model/game_data.h"

// The kind's directory followed by the name, every byte of the name that is not a digit, "_" or
// an ASCII letter turned into "_", so the file always lies directly in that directory.
string map_save_path(uint8_t kind, string typed_name, uint8_t arena_id);

// The map a save under this name would replace: the file at its path when there is one, else the
// path of a listed entry of that name; empty when the save replaces nothing.
string map_replaced_by_save(string typed_name);

// Prints "saving map NAME as PATH" (PATH in the player's folder when installed), writes the map beside its final place and moves it there, then
// lists it in the kind's list file: an entry of that name or for that file becomes {NAME, PATH}, so
// the list holds one entry per file and opens the file just saved. A failure prints
// "failed to save map: PATH", keeps any earlier file of that name and leaves the list as it was.
bool save_map_as(string typed_name);

// Only relative paths without a ".." part under resources/maps/ or a map directory may be deleted.
bool map_path_deletable(string path);

// Deletes the selected entry's file and entry, selects the entry now at that place (or the last),
// loads it and rewrites the list file. A path that may not be deleted is reported and nothing changes;
// a shipped map of an installed game keeps its file and only leaves the list.
bool delete_selected_map();
