// The game in progress as text, to keep it across a closed window and to send it to another
// computer: the map as its file holds it, the seats, and the play so far. A record written for one
// seat holds only what that seat may know.
#pragma once

#include "base/strings.h"

#include <cstdint>

constexpr int64_t every_seat = -1;
// Records past this size are refused whole.
constexpr int64_t max_game_record_size = 8 * 1024 * 1024;

// The record in the frame arena. For a seat (viewer >= 0) other seats' hands and the deck are only
// counted, as hidden cards; other seats' goals are hidden until the game is over; the random
// numbers are left out. Without the map the record describes the play only, for a reader that
// holds the map already.
string write_game_record(int64_t viewer, bool with_map);

// Installs a record as the game in progress (and its map, when the record holds one). A record
// that does not read, or names anything the map does not have, prints one line and leaves the map
// and the game as they were.
bool read_game_record(string text);

// The seat a record was written for, every_seat for a whole record; -2 when it does not read.
int64_t game_record_viewer(string text);
// Whether the record holds its map.
bool game_record_carries_map(string text);
