// Hundreds of computer-only games per machine kind through the model's turn logic with every pause
// skipped: every shipped map, every strength, one to six seats, a fixed seed per game. Every game
// must end, every turn must leave the game in a legal position, a declared winner must have met
// its kind's condition, and a game replayed from its seed must go exactly as the first time.
#include "base/arena.h"
#include "base/random.h"
#include "model/goals.h"
#include "model/map_list.h"
#include "model/referee.h"
#include "model/turn_flow.h"
#include "model/turn_state.h"
#include "screen/screen_state.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int64_t strengths = 4;  // easy, normal, hard and expert
constexpr int64_t most_seats = card_property_count;
// Far beyond any shipped game; a game still going after this many actions is stuck.
constexpr int64_t action_limit = 100000;

struct GameSetup {
    uint8_t kind;
    int64_t map;
    int64_t strength;
    int64_t seats;
    uint64_t seed;
};

struct GameRun {
    bool started;
    bool over;
    int64_t turns;
    uint8_t winner;
    uint64_t trace;
    std::string fault;
};

std::string describe(const GameSetup& setup) {
    return "kind " + std::to_string(setup.kind) + ", map " + std::to_string(setup.map) + ", strength " +
           std::to_string(setup.strength) + ", " + std::to_string(setup.seats) + " seats, seed " +
           std::to_string(setup.seed);
}

bool card_in_deck_range(Card card) {
    return card.color < used_deck_colors() && card.shape < used_deck_shapes() && card.number >= 1 &&
           card.number <= used_deck_numbers();
}

bool cards_in_deck_range(const GrowableArray<Card>& cards) {
    for (int64_t i = 0; i < cards.count; i++) {
        if (!card_in_deck_range(cards.data[i])) return false;
    }
    return true;
}

// The first rule of a legal position that is broken, or nothing.
std::string broken_invariant(int64_t seats) {
    if (current_player < 0 || current_player >= seats) return "current seat " + std::to_string(current_player);
    if (winner != no_winner && winner >= seats) return "winner " + std::to_string(winner);
    for (int64_t i = 0; i < stones.count; i++) {
        if (stones.data[i] < 0 || stones.data[i] >= states.count) return "stone on state " + std::to_string(stones.data[i]);
    }
    if (machine_kind == pushdown_machine) {
        if (!cards_in_deck_range(deck) || !cards_in_deck_range(stack)) return "a card outside the deck's range";
        for (int64_t seat = 0; seat < seats; seat++) {
            if (!cards_in_deck_range(players.data[seat].hand)) return "a hand card outside the deck's range";
        }
    }
    if (machine_kind == turing_machine && tape.count > 0) {
        if (tape_head < 0 || tape_head >= tape.count) return "tape head " + std::to_string(tape_head);
        for (int64_t i = 0; i < tape.count; i++) {
            Card cell = tape.data[i];
            if (cell.color >= card_property_count || cell.shape >= card_property_count || cell.number < 1 ||
                cell.number > card_property_count) {
                return "tape cell " + std::to_string(i);
            }
        }
    }
    return {};
}

uint64_t mixed(uint64_t hash, int64_t value) { return (hash ^ static_cast<uint64_t>(value)) * 1099511628211ull; }

// Everything a turn's end shows, folded into the trace, so a replay must match it turn by turn.
uint64_t with_position(uint64_t hash) {
    hash = mixed(hash, current_player);
    for (int64_t i = 0; i < stones.count; i++) hash = mixed(hash, stones.data[i]);
    hash = mixed(hash, stack.count);
    hash = mixed(hash, deck.count);
    hash = mixed(hash, tape_head);
    for (int64_t i = 0; i < tape.count; i++) {
        hash = mixed(hash, tape.data[i].color * 64 + tape.data[i].shape * 8 + tape.data[i].number);
    }
    return hash;
}

std::string unmet_win_condition() {
    const Player& player = players.data[winner];
    if (machine_kind == pushdown_machine && player.hand.count != 0) return "pushdown winner still holds cards";
    if (machine_kind == turing_machine && !goal_met(player.goal)) return "Turing winner has not met its goal";
    return {};
}

GameRun play(const GameSetup& setup) {
    arena_empty(PERSISTENT_ARENA);
    arena_empty(FRAME_ARENA);
    reset_model_and_screens();
    machine_kind = setup.kind;
    load_map_list(map_list_of_kind(setup.kind), map_list_path(setup.kind));
    current_map_list = map_list_of_kind(setup.kind);
    current_map_index = setup.map;
    seed_random(setup.seed);
    player_count = setup.seats;
    for (int64_t seat = 0; seat < setup.seats; seat++) {
        Player player = new_player(seat);
        player.is_computer = 1;
        player.difficulty = setup.strength;
        array_push(&players, player);
    }
    GameRun run{false, false, 0, no_winner, 14695981039346656037ull, {}};
    run.started = start_game();
    if (!run.started) return run;
    for (int64_t actions = 0; !game_over() && actions < action_limit && run.fault.empty(); actions++) {
        arena_empty(FRAME_ARENA);
        int8_t seat_before = current_player;
        if (move_delay > 0) {
            move_delay = 0;
            end_turn();
        } else {
            recycle_stack();
            if (!settle_stuck_seat()) computer_act();
            computer_delay = 0;
        }
        if (current_player != seat_before || game_over()) {
            run.turns++;
            run.trace = with_position(run.trace);
        }
        run.fault = broken_invariant(setup.seats);
    }
    run.over = game_over();
    run.winner = winner;
    if (run.fault.empty() && winner != no_winner) run.fault = unmet_win_condition();
    return run;
}

int64_t games_per_kind() {
    const char* count = std::getenv("VARNHOLT_SOAK_GAMES");
    return count ? std::atoll(count) : 300;
}

TEST(ComputerGames, HundredsPerKindAllEndLegallyAndReplayTheSame) {
    if (!persistent_arena.base) create_arenas(persistent_arena_capacity, frame_arena_capacity);
    int64_t games = games_per_kind();
    for (uint8_t kind = state_machine; kind <= turing_machine; kind++) {
        reset_map_lists();
        load_map_list(map_list_of_kind(kind), map_list_path(kind));
        int64_t maps = map_list_of_kind(kind)->count;
        ASSERT_GE(maps, 1);
        int64_t finished = 0, won = 0, turns = 0;
        std::vector<GameRun> runs;
        auto setup_of = [&](int64_t game) {
            return GameSetup{kind, game % maps, (game / maps) % strengths, 1 + (game / (maps * strengths)) % most_seats,
                             static_cast<uint64_t>(1000 * kind + game)};
        };
        for (int64_t game = 0; game < games; game++) {
            GameSetup setup = setup_of(game);
            GameRun run = play(setup);
            ASSERT_TRUE(run.started) << describe(setup);
            EXPECT_TRUE(run.fault.empty()) << describe(setup) << ": " << run.fault << " after " << run.turns << " turns";
            EXPECT_TRUE(run.over) << describe(setup) << ": still going after " << run.turns << " turns";
            finished += run.over ? 1 : 0;
            won += run.winner != no_winner ? 1 : 0;
            turns += run.turns;
            runs.push_back(run);
            // Replayed after other games ran, so state left over from an earlier game would show too.
            if (game % 10 == 9) {
                int64_t earlier = game - 5;
                GameRun again = play(setup_of(earlier));
                EXPECT_EQ(again.trace, runs[earlier].trace) << describe(setup_of(earlier));
                EXPECT_EQ(again.turns, runs[earlier].turns) << describe(setup_of(earlier));
                EXPECT_EQ(again.winner, runs[earlier].winner) << describe(setup_of(earlier));
            }
        }
        std::printf("kind %d: %lld games finished of %lld, %lld won, %lld turns\n", kind, static_cast<long long>(finished),
                    static_cast<long long>(games), static_cast<long long>(won), static_cast<long long>(turns));
        EXPECT_EQ(finished, games);
    }
}

}  // namespace
