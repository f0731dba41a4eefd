// The expert's decisions on the largest shipped map of each kind, timed one by one through
// whole games against "hard" (p50, p99 and slowest decision as counters), and the exact
// analysis of state-machine positions on the largest shipped map and at the bound.
#include "base/arena.h"
#include "base/random.h"
#include "base/strings.h"
#include "model/draw_rules.h"
#include "model/expert_player.h"
#include "model/map_file.h"
#include "model/map_list.h"
#include "model/position_analysis.h"
#include "model/referee.h"
#include "model/turn_flow.h"
#include "model/turn_state.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>
#include <vector>

namespace {

void reset(uint8_t kind) {
    if (!persistent_arena.base) create_arenas(persistent_arena_capacity, frame_arena_capacity);
    arena_empty(PERSISTENT_ARENA);
    arena_empty(FRAME_ARENA);
    reset_map();
    reset_game();
    reset_position_history();
    forget_position_analysis();
    reset_turn_state();
    machine_kind = kind;
}

// Listed as the one map of the kind, so every start_game begins from the file again.
void load_shipped(uint8_t kind, const char* path) {
    reset(kind);
    static std::string full;
    static GrowableArray<MapListEntry> list;
    full = std::string(VARNHOLT_SOURCE_DIR) + "/" + path;
    list = {};
    array_push(&list, MapListEntry{str(path), str(full.c_str())});
    current_map_list = &list;
    current_map_index = 0;
    load_map(str(full.c_str()));
}

void seat_expert_against_hard(int64_t expert_seat, int64_t seats) {
    players = {};
    player_count = seats;
    for (int64_t seat = 0; seat < seats; seat++) {
        Player player = new_player(seat);
        player.is_computer = 1;
        player.difficulty = seat == expert_seat ? expert : hard;
        array_push(&players, player);
    }
}

// This thread's processor time in milliseconds: on a machine other work shares, the wall clock
// counts their turns too.
double cpu_ms() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

void report_spread(benchmark::State& state, std::vector<double>& times, std::vector<double>& cpu_times) {
    std::sort(times.begin(), times.end());
    std::sort(cpu_times.begin(), cpu_times.end());
    auto at = [](const std::vector<double>& sorted, double share) {
        return sorted.empty() ? 0.0 : sorted[static_cast<size_t>(share * static_cast<double>(sorted.size() - 1))];
    };
    state.counters["decisions"] = static_cast<double>(times.size());
    state.counters["p50_ms"] = at(times, 0.5);
    state.counters["p99_ms"] = at(times, 0.99);
    state.counters["max_ms"] = at(times, 1.0);
    state.counters["p99_cpu_ms"] = at(cpu_times, 0.99);
    state.counters["max_cpu_ms"] = at(cpu_times, 1.0);
}

// Plays games until enough expert decisions are timed; reports their spread in milliseconds.
// The benchmark's argument is the number of seats (the expert's seat turns round, the others
// are hard); with a second argument of 1 the move values of every expert turn are timed instead.
void time_expert_decisions(benchmark::State& state) {
    std::vector<double> times, cpu_times;
    uint64_t game = 0;
    int64_t seats = state.range(0);
    bool values = state.range(1) != 0;
    for (auto _ : state) {
        seat_expert_against_hard(static_cast<int64_t>(game % static_cast<uint64_t>(seats)), seats);
        seed_random(game++);
        reset_turn_state();
        start_game();
        for (int64_t actions = 0; !game_over() && actions < 10000; actions++) {
            arena_empty(FRAME_ARENA);
            if (!skip_to_computer_action()) continue;
            bool timed = players.data[current_player].difficulty == expert;
            if (timed && values) {
                double cpu_start = cpu_ms();
                auto start = std::chrono::steady_clock::now();
                benchmark::DoNotOptimize(expert_move_values().count);
                auto end = std::chrono::steady_clock::now();
                cpu_times.push_back(cpu_ms() - cpu_start);
                times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
                arena_empty(FRAME_ARENA);
            }
            double cpu_start = cpu_ms();
            auto start = std::chrono::steady_clock::now();
            computer_act();
            auto end = std::chrono::steady_clock::now();
            if (timed && !values) {
                cpu_times.push_back(cpu_ms() - cpu_start);
                times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
            }
        }
        // start_game reads the map file again each game; keep the arena from filling up.
        if (persistent_arena.used > persistent_arena_capacity / 2) state.SkipWithError("persistent arena filling up");
    }
    report_spread(state, times, cpu_times);
}

void BM_ExpertPushdownHarbour(benchmark::State& state) {
    load_shipped(pushdown_machine, "resources/maps/pushdown/harbour.txt");
    time_expert_decisions(state);
}

void BM_ExpertTuringLongTape(benchmark::State& state) {
    load_shipped(turing_machine, "resources/maps/turing/long_tape.txt");
    time_expert_decisions(state);
}

void BM_ExpertStateMachineBranches(benchmark::State& state) {
    load_shipped(state_machine, "resources/maps/state/branches.txt");
    time_expert_decisions(state);
}

void BM_AnalysisBranches(benchmark::State& state) {
    load_shipped(state_machine, "resources/maps/state/branches.txt");
    for (auto _ : state) {
        forget_position_analysis();
        benchmark::DoNotOptimize(analyse_positions());
    }
    state.counters["positions"] = static_cast<double>(position_count());
}

// 256 states with cycles and three stones: 2,829,056 positions, near the bound.
void BM_AnalysisLargestMap(benchmark::State& state) {
    reset(state_machine);
    current_map_list = nullptr;
    seed_random(7);
    for (int s = 0; s < 256; s++) array_push(&states, State{static_cast<double>(s), 0, 0, static_cast<uint8_t>(s % 9 == 0)});
    for (int t = 0; t < 768; t++) {
        array_push(&transitions, Transition{static_cast<int16_t>(random_below(256)), static_cast<int16_t>(random_below(256)), 0, 0, 0, {}});
    }
    for (int16_t s : {1, 2, 3}) array_push(&stones, s);
    win_mode = any_accepting;
    for (auto _ : state) {
        forget_position_analysis();
        benchmark::DoNotOptimize(analyse_positions());
    }
    state.counters["positions"] = static_cast<double>(position_count());
}

}  // namespace

// Seats 2, 3 and 4 for the decisions; seats 2 and 3 for the move values.
static void seat_arguments(benchmark::internal::Benchmark* b) {
    for (int64_t seats : {2, 3, 4}) b->Args({seats, 0});
    for (int64_t seats : {2, 3}) b->Args({seats, 1});
}

BENCHMARK(BM_ExpertPushdownHarbour)->Apply(seat_arguments)->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(BM_ExpertTuringLongTape)->Apply(seat_arguments)->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(BM_ExpertStateMachineBranches)->Apply(seat_arguments)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_AnalysisBranches)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AnalysisLargestMap)->Unit(benchmark::kMillisecond)->Iterations(3);
