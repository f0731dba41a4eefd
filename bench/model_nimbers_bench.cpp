// Nimbers of an acyclic map of 256 states and 4000 transitions.
#include "base/arena.h"
#include "base/random.h"
#include "model/game_data.h"
#include "model/nimbers.h"

#include <benchmark/benchmark.h>

// Transitions run from higher to lower states when `downwards`: the examination order then
// meets every state before its successors, the most waiting the work stack can see.
static void BM_ComputeNimbers256States4000Transitions(benchmark::State& state) {
    bool downwards = state.range(0) != 0;
    if (!persistent_arena.base) create_arenas(persistent_arena_capacity, frame_arena_capacity);
    arena_empty(PERSISTENT_ARENA);
    arena_empty(FRAME_ARENA);
    reset_map();
    seed_random(7);
    for (int s = 0; s < 256; s++) array_push(&states, State{static_cast<double>(s), 0, 0, 0});
    // Every transition goes from a lower state to a higher one, so the map has no cycle.
    while (transitions.count < 4000) {
        int16_t a = static_cast<int16_t>(random_below(256));
        int16_t b = static_cast<int16_t>(random_below(256));
        if (a == b) continue;
        int16_t low = a < b ? a : b, high = a < b ? b : a;
        array_push(&transitions, Transition{downwards ? high : low, downwards ? low : high, 0, 0, 0, string{nullptr, 0}});
    }
    int64_t examinations = 0;
    ArenaMark map_mark = arena_mark(PERSISTENT_ARENA);
    for (auto _ : state) {
        examinations = compute_nimbers();
        arena_reset_to(map_mark);
    }
    state.counters["examinations"] = static_cast<double>(examinations);
}
BENCHMARK(BM_ComputeNimbers256States4000Transitions)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
