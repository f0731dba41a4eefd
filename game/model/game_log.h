// Every move of a game with its seat and the position after it, kept as the game goes, saved as a
// text file and read back to be stepped through forward and back.
#pragma once

#include "base/arena.h"
#include "base/strings.h"

#include <cstdint>

// One step of a log: the seat that moved (-1 for the opening and the end) and where its record lies.
struct GameLogStep {
    int64_t seat;
    int64_t offset, length;
};

struct GameLog {
    // The log file's text as it grows; each step's record lies in it.
    GrowableArray<char> text;
    GrowableArray<GameLogStep> steps;
    int64_t logged_move;
    bool logged_end;
    // While a saved log is replayed: the step shown.
    int64_t replay_step;
};

extern GameLog game_log;

void reset_game_log();
// The game as it starts (or continues) is the log's first step, with its map.
void start_game_log();
// A step after every move, and one when the game ends.
void log_game_when_changed();
// Writes the log beside the map's earlier logs in the player's folder; the path written, empty on failure.
string save_game_log();
// The newest saved log of the selected map; empty when it has none.
string newest_game_log();
// Reads a saved log and shows its first step; false when it does not read.
bool open_game_replay(string path);
// Shows another step of the replayed log, kept within the first and the last; false when it does not read.
bool show_replay_step(int64_t step);
