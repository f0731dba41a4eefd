// The hard pushdown player on the demonstration map and on a larger map.
#include "base/arena.h"
#include "base/random.h"
#include "base/strings.h"
#include "model/computer_players.h"
#include "model/game_data.h"
#include "model/map_file.h"

#include <benchmark/benchmark.h>

static GrowableArray<Card> bench_hand;

static void reset(int64_t sides, int64_t hand_cards) {
    if (!persistent_arena.base) create_arenas(persistent_arena_capacity, frame_arena_capacity);
    arena_empty(PERSISTENT_ARENA);
    arena_empty(FRAME_ARENA);
    reset_map();
    reset_game();
    bench_hand = {};
    machine_kind = pushdown_machine;
    deck_colors = deck_shapes = deck_numbers = sides;
    seed_random(42);
    for (int64_t j = 0; j < hand_cards; j++) {
        array_push(&bench_hand, Card{static_cast<uint8_t>(random_below(sides)), static_cast<uint8_t>(random_below(sides)),
                                     static_cast<int8_t>(random_below(sides) + 1)});
    }
    array_push(&stack, Card{1, 2, 3});
}

static void BM_HardPushdownDemoMap(benchmark::State& state) {
    reset(4, 8);
    build_demo_map();
    array_push(&stones, int16_t{0});
    array_push(&stones, int16_t{3});
    Move move{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(choose_pushdown_move(bench_hand, hard, &move));
        arena_empty(FRAME_ARENA);
    }
}
BENCHMARK(BM_HardPushdownDemoMap)->Unit(benchmark::kMicrosecond);

static void BM_HardPushdown64Transitions(benchmark::State& state) {
    reset(6, 20);
    const char* rules[] = {"*", "A | b", "~(A,B,C,D,E,F)", "~(1,2,3,4,5,6) & !a", "T(A,B) | 3", "!(a | b) ^ 2",
                           "TC & b", "(A | B) ^ (1 | 2)", "~(a,b,c,d,e,f) | 1", "!A & !B | 6"};
    for (int s = 0; s < 16; s++) array_push(&states, State{static_cast<double>(s % 4), static_cast<double>(s / 4), 0, 0});
    for (int t = 0; t < 64; t++) {
        array_push(&transitions, Transition{static_cast<int16_t>(t % 16), static_cast<int16_t>((t * 7 + 3) % 16), 0, 0, 0,
                                            str(rules[t % 10])});
    }
    for (int16_t s : {0, 5, 10, 15}) array_push(&stones, s);
    Move move{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(choose_pushdown_move(bench_hand, hard, &move));
        arena_empty(FRAME_ARENA);
    }
}
BENCHMARK(BM_HardPushdown64Transitions)->Unit(benchmark::kMicrosecond);
