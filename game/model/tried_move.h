// A move tried on the model and taken back, for look-aheads: the stone and, on a Turing
// machine, the tape action. Cards and turns are left alone.
#pragma once

#include "model/computer_players.h"

struct TriedMove {
    int16_t stone, from;
    Card cell;
    int64_t head;
};

// A Turing seat that takes a transition without a tape action only passes.
TriedMove try_move(const Move& move);
void take_back(const TriedMove& tried);
