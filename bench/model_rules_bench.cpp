// rule_accepts on the demonstration map's twelve rules, against every card of a 6 x 6 x 6 deck.
#include "base/arena.h"
#include "model/game_data.h"
#include "model/map_file.h"
#include "model/rules.h"

#include <benchmark/benchmark.h>

static void prepare() {
    if (!persistent_arena.base) create_arenas(persistent_arena_capacity, frame_arena_capacity);
    arena_empty(PERSISTENT_ARENA);
    arena_empty(FRAME_ARENA);
    reset_map();
    reset_game();
    build_demo_map();
    array_push(&stack, Card{2, 1, 3});
}

static void BM_RuleAcceptsDemoRules(benchmark::State& state) {
    prepare();
    int64_t accepted = 0;
    int64_t kind = 0;
    for (auto _ : state) {
        for (int64_t t = 0; t < transitions.count; t++) {
            Card card{static_cast<uint8_t>(kind / 36), static_cast<uint8_t>(kind / 6 % 6), static_cast<int8_t>(kind % 6 + 1)};
            accepted += rule_accepts(transitions.data[t].rule, card);
            kind = (kind + 1) % card_kind_count;
        }
    }
    benchmark::DoNotOptimize(accepted);
    state.SetItemsProcessed(state.iterations() * transitions.count);
}
BENCHMARK(BM_RuleAcceptsDemoRules);

static void BM_RuleAcceptedCardsDemoRules(benchmark::State& state) {
    prepare();
    int64_t accepted = 0;
    for (auto _ : state) {
        for (int64_t t = 0; t < transitions.count; t++) {
            accepted += card_set_size(rule_accepted_cards(transitions.data[t].rule, true, Card{2, 1, 3}));
        }
    }
    benchmark::DoNotOptimize(accepted);
    state.SetItemsProcessed(state.iterations() * transitions.count);
}
BENCHMARK(BM_RuleAcceptedCardsDemoRules);
