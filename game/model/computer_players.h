// The computer players' move choosers, one per machine kind. They only choose; the move
// itself is made by apply_move.
#pragma once

#include "model/game_data.h"

enum : int64_t {
    easy = 0,
    normal = 1,
    hard = 2,
    expert = 3
};

struct Move {
    int16_t card;
    int16_t stone;
    int16_t target;
    string rule;
};
static_assert(sizeof(Move) == 24);

// False when no stone can move at all (the referee then ends the game by normal play).
bool choose_state_machine_move(int64_t difficulty, Move* move);
// False when it makes no move: none is legal, or an easy player holds back.
bool choose_pushdown_move(const GrowableArray<Card>& hand, int64_t difficulty, Move* move);
// An empty rule means that it makes no move.
Move choose_turing_move();
