// Map text files: reading one into the model, writing the model back, and the built-in map.
#pragma once

#include "model/game_data.h"

// Files past this size are refused whole, so a stray huge file cannot use up the arena.
constexpr int64_t max_map_file_size = 4 * 1024 * 1024;
// Stones and transitions are named by 16-bit indices; lines past these counts are dropped.
constexpr int64_t max_stones = 32767;
constexpr int64_t max_transitions = 32767;
constexpr int64_t max_goals = 32767;

// Reads the map named as in a map list (where the installed game finds it: listed_map_path); on
// failure prints one line and keeps the current map. State lines past the 256th, and stone or
// transition lines naming a state that does not exist, are dropped.
bool load_map(string listed_path);

// Reads map bytes of the file format for the current machine kind, as load_map does with a file's.
void read_map_text(string contents);

// The current map in the file format, in the persistent arena.
string write_map();

void build_demo_map();
