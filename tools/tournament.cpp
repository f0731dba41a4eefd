// Computer strength against computer strength on every shipped map, two seats taking turns to
// open, a fixed seed per game; prints a table of win and draw rates. On state machines it
// also checks the expert against the exact analysis, on the shipped maps and on random maps
// with cycles: it must never lose a game from a position the analysis calls won or drawn.
//
// tournament [expert-vs-hard games per map] [games of every other pairing] [random state maps] [only this map]
// tournament seats [seat counts, e.g. 34] [state-machine games] [pushdown and Turing games] [only this map]
//   3 to 6 seats: the expert in each seat in turn and "hard" in the others, then the same
//   games on the same seeds with "hard" in that seat too; on state machines also the share an
//   exact best response against "hard" reaches.
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

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
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

// Selects each shipped map of the kind in turn (only the one named `only`, when given) and calls
// play with its name.
template <typename Play>
void for_each_shipped_map(uint8_t kind, const std::string& only, Play play) {
    static GrowableArray<MapListEntry> list;
    list = {};
    machine_kind = kind;
    load_map_list(&list, map_list_path(kind));
    current_map_list = &list;
    for (int64_t m = 0; m < list.count; m++) {
        current_map_index = m;
        std::string name(list.data[m].name.data, static_cast<size_t>(list.data[m].name.length));
        if (only.empty() || name == only) play(name);
    }
}

void play_shipped_maps(uint8_t kind, int64_t expert_games, int64_t other_games, const std::string& only) {
    for_each_shipped_map(kind, only, [&](const std::string& name) {
        int64_t m = current_map_index;
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
    });
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

// The seat that wins a game of these strengths on this seed (no_winner for a draw); the map is
// listed, so start_game reads it again.
uint8_t play_seated_game(const std::vector<int64_t>& strengths, uint64_t seed) {
    player_count = static_cast<int64_t>(strengths.size());
    players = {};
    for (size_t seat = 0; seat < strengths.size(); seat++) {
        Player player = new_player(static_cast<int64_t>(seat));
        player.is_computer = 1;
        player.difficulty = strengths[seat];
        array_push(&players, player);
    }
    seed_random(seed);
    reset_turn_state();
    start_game();
    for (int64_t actions = 0; !game_over() && actions < action_limit; actions++) {
        arena_empty(FRAME_ARENA);
        if (skip_to_computer_action()) computer_act();
    }
    return game_over() ? winner : no_winner;
}

// The chance that one seat, playing its best, wins against "hard" in every other seat, taken
// over the opening seats in turn. Positions are reached from the opening; "hard" picks
// uniformly among its moves that leave a nim-sum of 0, else among all its moves, as it plays.
double best_response_share(int64_t seats) {
    std::vector<int16_t> opening(stones.data, stones.data + stones.count);
    sort_stone_states(opening.data(), stones.count);
    std::map<std::vector<int16_t>, int64_t> index;
    std::vector<std::vector<int16_t>> positions;
    auto find = [&](const std::vector<int16_t>& p) {
        auto [it, added] = index.emplace(p, static_cast<int64_t>(positions.size()));
        if (added) positions.push_back(p);
        return it->second;
    };
    find(opening);
    // Per position: the move targets with, for each, whether "hard" counts it a zero move and
    // whether it wins at once.
    struct Next {
        int64_t position;
        bool zero, wins;
    };
    std::vector<std::vector<Next>> moves;
    for (size_t p = 0; p < positions.size(); p++) {
        std::vector<int16_t> here = positions[p];
        std::vector<Next> next;
        for (int64_t t = 0; t < transitions.count; t++) {
            const Transition& u = transitions.data[t];
            auto at = std::find(here.begin(), here.end(), u.from);
            if (at == here.end()) continue;
            std::vector<int16_t> after = here;
            after[static_cast<size_t>(at - here.begin())] = u.to;
            int64_t x = 0;
            for (int16_t s : after) x ^= static_cast<int64_t>(static_cast<int8_t>(nimbers.data[s]));
            bool wins = stones_win_by_mode(after.data(), static_cast<int64_t>(after.size()));
            sort_stone_states(after.data(), static_cast<int64_t>(after.size()));
            next.push_back(Next{wins ? -1 : find(after), x == 0, wins});
        }
        moves.push_back(next);
    }
    // value[p * seats + o]: the chance that the best-responding seat wins from p with the seat
    // o places after it to move. Raised from 0 until it settles.
    size_t n = positions.size();
    std::vector<double> value(n * static_cast<size_t>(seats), 0.0);
    for (int round = 0; round < 100000; round++) {
        double change = 0;
        for (size_t p = 0; p < n; p++) {
            for (int64_t o = 0; o < seats; o++) {
                const std::vector<Next>& next = moves[p];
                double v;
                auto after = [&](const Next& m) {
                    if (m.wins) return o == 0 ? 1.0 : 0.0;
                    return value[static_cast<size_t>(m.position) * seats + (o + 1) % seats];
                };
                if (next.empty()) {
                    v = o == 1 % seats ? 1.0 : 0.0;  // the seat that moved last wins
                    if (seats == 1) v = 0;
                } else if (o == 0) {
                    v = 0;
                    for (const Next& m : next) v = std::max(v, after(m));
                } else {
                    bool any_zero = std::any_of(next.begin(), next.end(), [](const Next& m) { return m.zero; });
                    double total = 0;
                    int64_t count = 0;
                    for (const Next& m : next) {
                        if (any_zero && !m.zero) continue;
                        total += after(m);
                        count++;
                    }
                    v = total / static_cast<double>(count);
                }
                size_t at = p * seats + o;
                change = std::max(change, std::fabs(v - value[at]));
                value[at] = v;
            }
        }
        if (change < 1e-12) break;
    }
    // With the best-responding seat at s, seat 0 opens: s seats before it, so offset (seats - s) % seats.
    double total = 0;
    for (int64_t s = 0; s < seats; s++) total += value[static_cast<size_t>((seats - s) % seats)];
    return total / static_cast<double>(seats);
}

struct SeatedTally {
    int64_t games = 0, expert_wins = 0, hard_wins = 0, expert_draws = 0, hard_draws = 0;
};

void print_seated_header() {
    printf("| map              | seats |  games | expert %% | ±95%% | hard %% | fair %% | best resp. %% | exp. draws %% | hard draws %% |\n");
    printf("|------------------|-------|--------|----------|------|--------|--------|--------------|--------------|--------------|\n");
}

void play_seated_maps(uint8_t kind, const std::string& seat_counts, int64_t games, const std::string& only) {
    for_each_shipped_map(kind, only, [&](const std::string& name) {
        int64_t m = current_map_index;
        for (char digit : seat_counts) {
            if (games <= 0) break;
            int64_t seats = digit - '0';
            if (seats < 3 || seats > 6) continue;
            SeatedTally tally;
            for (int64_t g = 0; g < games; g++) {
                int64_t seat = g % seats;
                uint64_t seed = game_seed(kind * 100 + m, static_cast<uint64_t>(seats), static_cast<uint64_t>(g));
                std::vector<int64_t> strengths(static_cast<size_t>(seats), hard);
                strengths[static_cast<size_t>(seat)] = expert;
                uint8_t expert_game = play_seated_game(strengths, seed);
                strengths[static_cast<size_t>(seat)] = hard;
                uint8_t hard_game = play_seated_game(strengths, seed);
                tally.games++;
                tally.expert_wins += expert_game == seat;
                tally.hard_wins += hard_game == seat;
                tally.expert_draws += expert_game == no_winner;
                tally.hard_draws += hard_game == no_winner;
            }
            double n = static_cast<double>(tally.games);
            double share = tally.expert_wins / n;
            std::string best = "-";
            if (kind == state_machine) {
                load_map(current_map_list->data[m].path);
                char text[32];
                snprintf(text, sizeof text, "%.1f", 100.0 * best_response_share(seats));
                best = text;
            }
            printf("| %-16s | %5lld | %6lld | %8.1f | %4.1f | %6.1f | %6.1f | %12s | %12.1f | %12.1f |\n", name.c_str(),
                   static_cast<long long>(seats), static_cast<long long>(tally.games), 100.0 * share,
                   196.0 * std::sqrt(share * (1 - share) / n), 100.0 * tally.hard_wins / n, 100.0 / static_cast<double>(seats),
                   best.c_str(), 100.0 * tally.expert_draws / n, 100.0 * tally.hard_draws / n);
            fflush(stdout);
        }
    });
}

int seated_main(int argc, char** argv) {
    std::string seat_counts = argc > 2 ? argv[2] : "3456";
    int64_t state_games = argc > 3 ? atoll(argv[3]) : 1200;
    int64_t card_games = argc > 4 ? atoll(argv[4]) : 240;
    std::string only = argc > 5 ? argv[5] : "";
    print_seated_header();
    const uint8_t kinds[] = {state_machine, pushdown_machine, turing_machine};
    for (uint8_t kind : kinds) {
        auto start = std::chrono::steady_clock::now();
        play_seated_maps(kind, seat_counts, kind == state_machine ? state_games : card_games, only);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        fprintf(stderr, "kind %d took %.1f s\n", kind, seconds);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "seats") {
        create_arenas(persistent_arena_capacity, frame_arena_capacity);
        reset_map();
        reset_game();
        reset_map_lists();
        int result = seated_main(argc, argv);
        destroy_arenas();
        return result;
    }
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
