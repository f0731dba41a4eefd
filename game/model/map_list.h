// The three lists of maps, one per machine kind, and the one the menus show.
#pragma once

#include "model/game_data.h"

extern GrowableArray<MapListEntry> state_map_list;
extern GrowableArray<MapListEntry> pushdown_map_list;
extern GrowableArray<MapListEntry> turing_map_list;
extern GrowableArray<MapListEntry>* current_map_list;
extern int64_t current_map_index;

// Empty lists, the pushdown list current.
void reset_map_lists();

// The list file and the directory for saved maps of a machine kind; empty for other kinds. The
// list file is the player's own copy when the game is installed.
string map_list_path(uint8_t kind);
// The list file as shipped, the player's first copy.
string shipped_map_list_path(uint8_t kind);
// The list of a machine kind; null for other kinds.
GrowableArray<MapListEntry>* map_list_of_kind(uint8_t kind);
string custom_map_directory(uint8_t kind);

// Appends the file's entries to the list; prints "failed to open " and the path when it cannot.
bool load_map_list(GrowableArray<MapListEntry>* list, string path);
bool save_map_list();
void select_kind_maps();
