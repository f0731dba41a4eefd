// How a game ends without a winner, so that every game ends: on a state machine, when a
// position (where the stones stand and whose turn it is) comes round a third time; on a
// pushdown or Turing machine, when the turn limit runs out.
#pragma once

#include "base/arena.h"

#include <cstdint>

// Turns of all seats together after which a pushdown or Turing game is drawn.
constexpr int64_t max_game_turns = 600;

// Every position of the game so far: its hash, the seat to move and its sorted stone states.
struct PositionHistory {
    GrowableArray<uint64_t> hashes;
    GrowableArray<int8_t> seats;
    GrowableArray<int16_t> stone_states;
    int64_t stones_per_position;
};

extern PositionHistory position_history;

// Forgets the positions seen; start_game then records the opening one.
void reset_position_history();
void start_position_history();
// Called by end_turn once the turn has passed; sets game_drawn when a draw rule applies.
void note_turn_passed();
