// Generalised Sprague-Grundy values of the states of a graph that may have cycles: a finite
// value, or "infinite" with the set of finite values among its followers. A sum of such games
// is lost for the seat to move when every part is finite and the values' exclusive or is 0; it
// is drawn when two parts are infinite, or one is infinite and cannot be moved to the finite
// value that cancels the rest; otherwise it is won.
#pragma once

#include "model/game_data.h"

constexpr int16_t infinite_nimber = -2;

struct LoopyNimbers {
    // Per state: a finite value or infinite_nimber.
    int16_t* values;
    // Per state with a finite value: when it was fixed; a lower order is nearer the end.
    int32_t* order;
    // Per state, 256 bits: the finite values of its followers.
    uint64_t* follower_values;
};

// Over the transitions whose flag is set, in the frame arena.
LoopyNimbers compute_loopy_nimbers(const bool* transition_used);

enum : uint8_t {
    sum_drawn = 0,
    sum_won = 1,
    sum_lost = 2
};

// The outcome, for the seat to move, of the sum of the games on these states.
uint8_t loopy_sum_outcome(const LoopyNimbers& values, const int16_t* stone_states, int64_t count);
