// Computer strength against computer strength on every shipped map, two seats taking turns to
// open, a fixed seed per game; prints a table of win and draw rates. On state machines it
// also checks the expert against the exact analysis, on the shipped maps and on random maps
// with cycles: it must never lose a game from a position the analysis calls won or drawn.
//
// tournament [expert-vs-hard games per map] [games of every other pairing] [random state maps] [only this map]
#include "base/arena.h"
#include "base/random.h"
#include "model/computer_players.h"
#include "model/map_file.h"
#include "model/map_list.h"
#include "model/position_analysis.h"
#include "model/referee.h"
#include "model/stone_multiset.h"
#include "model/turn_flow.h"
#include "model/turn_state.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char* const strength_names[] = {"easy", "normal", "hard", "expert"};
// Far beyond any game that is going somewhere: a game still running after this is unfinished.
constexpr int64_t action_limit = 200000;

struct Tally {
    int64_t games = 0, first_wins = 0, second_wins = 0, draws = 0, unfinished = 0;
    int64_t turns = 0, longest = 0;
    // Expert games lost from a position the analysis called won or drawn.
    int64_t expert_faults = 0;
};

uint64_t game_seed(uint64_t a, uint64_t b, uint64_t c) { return (a * 1000003 + b) * 1000003 + c + 12345; }

uint8_t current_position_outcome() {
    if (!analyse_positions()) return 255;
    std::vector<int16_t> sorted(stones.data, stones.data + stones.count);
    sort_stone_states(sorted.data(), stones.count);
    return analysed_value(sorted.data()).outcome;
}

// One game between strengths a (seat `a_seat`) and b; the map must be loaded and the stones
// set. Returns 0 when a won, 1 when b won, 2 for a draw, 3 when unfinished.
int play_game(int64_t a, int64_t b, int a_seat, uint64_t seed, const std::vector<int16_t>& opening, bool reload,
              Tally* tally) {
    player_count = 2;
    players = {};
    for (int seat = 0; seat < 2; seat++) {
        Player player = new_player(seat);
        player.is_computer = 1;
        player.difficulty = seat == a_seat ? a : b;
        array_push(&players, player);
    }
    if (!reload) {
        stones.count = 0;
        for (int16_t s : opening) array_push(&stones, s);
    }
    seed_random(seed);
    reset_turn_state();
    start_game();
    bool expert_safe[2] = {false, false};
    int64_t actions = 0;
    while (!game_over() && actions < action_limit) {
        actions++;
        arena_empty(FRAME_ARENA);
        if (!skip_to_computer_action()) continue;
        if (machine_kind == state_machine && players.data[current_player].difficulty == expert) {
            uint8_t outcome = current_position_outcome();
            expert_safe[current_player] = expert_safe[current_player] || outcome == position_won || outcome == position_drawn;
        }
        computer_act();
    }
    tally->games++;
    tally->turns += turns_played;
    if (turns_played > tally->longest) tally->longest = turns_played;
    if (!game_over()) {
        tally->unfinished++;
        return 3;
    }
    if (winner == no_winner) {
        tally->draws++;
        return 2;
    }
    bool a_won = winner == a_seat;
    (a_won ? tally->first_wins : tally->second_wins)++;
    if (expert_safe[1 - winner]) tally->expert_faults++;
    return a_won ? 0 : 1;
}

void print_row(const char* map, int64_t a, int64_t b, const Tally& t) {
    double n = t.games > 0 ? static_cast<double>(t.games) : 1.0;
    printf("| %-16s | %-6s | %-6s | %6lld | %6.1f | %6.1f | %6.1f | %4lld | %7.1f | %6lld | %6lld |\n", map,
           strength_names[a], strength_names[b], static_cast<long long>(t.games), 100.0 * t.first_wins / n,
           100.0 * t.second_wins / n, 100.0 * t.draws / n, static_cast<long long>(t.unfinished), t.turns / n,
           static_cast<long long>(t.longest), static_cast<long long>(t.expert_faults));
    fflush(stdout);
}

void print_header() {
    printf("| map              | A      | B      |  games |  A win |  B win |   draw | unf. | turns/g | longest | faults |\n");
    printf("|------------------|--------|--------|--------|--------|--------|--------|------|---------|---------|--------|\n");
}

void play_shipped_maps(uint8_t kind, int64_t expert_games, int64_t other_games, const std::string& only) {
    static GrowableArray<MapListEntry> list;
    list = {};
    machine_kind = kind;
    load_map_list(&list, map_list_path(kind));
    current_map_list = &list;
    for (int64_t m = 0; m < list.count; m++) {
        current_map_index = m;
        std::string name(list.data[m].name.data, static_cast<size_t>(list.data[m].name.length));
        if (!only.empty() && name != only) continue;
        for (int64_t a = 3; a >= 0; a--) {
            for (int64_t b = a; b >= 0; b--) {
                int64_t games = a == expert && b == hard ? expert_games : other_games;
                Tally tally;
                for (int64_t g = 0; g < games; g++) {
                    play_game(a, b, static_cast<int>(getenv("SEAT") ? atoi(getenv("SEAT")) : g % 2), game_seed(kind * 100 + m, a * 4 + b, g), {}, true, &tally);
                }
                if (games > 0) print_row(name.c_str(), a, b, tally);
            }
        }
    }
}

// Up to 12 states, up to 3 stones, a random win mode (3: no mode, normal play only) and at
// least one cycle.
void build_random_map(uint64_t seed, std::vector<int16_t>* opening) {
    seed_random(seed);
    reset_map();
    machine_kind = state_machine;
    int64_t n = 2 + static_cast<int64_t>(random_below(11));
    for (int64_t s = 0; s < n; s++) array_push(&states, State{static_cast<double>(s), 0, 0, static_cast<uint8_t>(random_below(4) == 0)});
    int64_t edges = n + static_cast<int64_t>(random_below(static_cast<uint64_t>(2 * n)));
    for (int64_t t = 0; t < edges; t++) {
        array_push(&transitions, Transition{static_cast<int16_t>(random_below(n)), static_cast<int16_t>(random_below(n)), 0, 0, 0, {}});
    }
    // A cycle through two states, or a loop when they coincide.
    int16_t x = static_cast<int16_t>(random_below(n)), y = static_cast<int16_t>(random_below(n));
    array_push(&transitions, Transition{x, y, 0, 0, 0, {}});
    array_push(&transitions, Transition{y, x, 0, 0, 0, {}});
    win_mode = static_cast<uint8_t>(random_below(4));
    opening->clear();
    int64_t count = 1 + static_cast<int64_t>(random_below(3));
    for (int64_t i = 0; i < count; i++) opening->push_back(static_cast<int16_t>(random_below(n)));
}

void play_random_maps(int64_t maps) {
    machine_kind = state_machine;
    current_map_list = nullptr;
    Tally tallies[4];
    std::vector<int16_t> opening;
    for (int64_t m = 0; m < maps; m++) {
        for (int64_t b = 0; b < 4; b++) {
            for (int seat = 0; seat < 2; seat++) {
                arena_empty(PERSISTENT_ARENA);
                reset_game();
                build_random_map(game_seed(9, m, 0), &opening);
                play_game(expert, b, seat, game_seed(m, b, seat), opening, false, &tallies[b]);
            }
        }
    }
    for (int64_t b = 3; b >= 0; b--) print_row("random (cyclic)", expert, b, tallies[b]);
}

}  // namespace

int main(int argc, char** argv) {
    int64_t expert_games = argc > 1 ? atoll(argv[1]) : 2000;
    int64_t other_games = argc > 2 ? atoll(argv[2]) : 200;
    int64_t random_maps = argc > 3 ? atoll(argv[3]) : 1000;
    std::string only = argc > 4 ? argv[4] : "";
    create_arenas(persistent_arena_capacity, frame_arena_capacity);
    reset_map();
    reset_game();
    reset_map_lists();
    print_header();
    const uint8_t kinds[] = {state_machine, pushdown_machine, turing_machine};
    for (uint8_t kind : kinds) {
        auto start = std::chrono::steady_clock::now();
        play_shipped_maps(kind, expert_games, other_games, only);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        fprintf(stderr, "kind %d took %.1f s\n", kind, seconds);
    }
    auto start = std::chrono::steady_clock::now();
    play_random_maps(random_maps);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    fprintf(stderr, "random maps took %.1f s\n", seconds);
    destroy_arenas();
    return 0;
}
