// The game in progress kept in the player's folder, written whole at every turn's end and when
// play is left, so that "Continue" brings it back after a closed window or a killed program.
#pragma once

#include "base/strings.h"

#include <cstdint>

constexpr int64_t kept_game_path_capacity = 4096;

struct KeptGame {
    // Where the record lies; empty for the player's folder.
    char path[kept_game_path_capacity];
    int64_t path_length;
    // A record lies there that "Continue" may offer.
    bool present;
    // The game as last written: its move and turn counts and whether it was over.
    int64_t written_move, written_turn;
    bool written;
    // A joined game belongs to its host, which keeps it; this computer keeps nothing of it.
    bool not_ours;
};

extern KeptGame kept_game;

// Nothing written yet, kept in the player's folder; looks whether a kept game lies there.
void reset_kept_game();
// Keeps the game at this path instead (tests and tools keep theirs apart).
void set_kept_game_path(string path);
string kept_game_path();

// Writes the game when a move or a turn has passed since it was last written; a game that is
// over is no longer kept. True when the file is as the game is.
bool keep_game_when_changed();
// Writes the game now (leaving play, closing the window).
bool keep_game_now();
// Reads the kept game as the game in progress; false (the file left alone) when it does not read.
bool continue_kept_game();
// A continued game that was hosted is hosted again, its tokens as they were, so its remote players
// can rejoin; false when it was not hosted or hosting cannot start (host_failure says why).
bool resume_kept_hosting(double now);
void forget_kept_game();
