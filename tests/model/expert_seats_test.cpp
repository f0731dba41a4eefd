// The expert with three or more seats, its fallback past the analysis bound, and the move values
// it gives a player who asks.
#include "model_fixture.h"

#include "base/random.h"
#include "model/expert_player.h"
#include "model/loopy_nimbers.h"
#include "model/map_list.h"
#include "model/position_analysis.h"
#include "model/referee.h"
#include "model/stone_multiset.h"
#include "model/turn_flow.h"
#include "model/turn_state.h"

#include <algorithm>
#include <random>
#include <vector>

namespace {

void list_shipped(uint8_t kind, const char* name) {
    reset_model(kind);
    static GrowableArray<MapListEntry> list;
    list = {};
    load_map_list(&list, map_list_path(kind));
    current_map_list = &list;
    for (int64_t i = 0; i < list.count; i++) {
        if (text_of(list.data[i].name) == name) current_map_index = i;
    }
}

void seat(int64_t seats, int64_t expert_seat, int64_t others) {
    add_players(seats, true, others);
    players.data[expert_seat].difficulty = expert;
}

uint8_t play_out_game() {
    while (!game_over() && turns_played < 400) {
        if (skip_to_computer_action()) computer_act();
    }
    return winner;
}

PositionValue value_of(std::vector<int16_t> at) {
    stones.count = 0;
    for (int16_t s : at) array_push(&stones, s);
    EXPECT_TRUE(analyse_positions());
    sort_stone_states(at.data(), static_cast<int64_t>(at.size()));
    return analysed_value(at.data());
}

// 0 -> 1 -> 2 -> 3 and 0 -> 2, normal play: the seat that makes the last move wins.
TEST(ExpertSeats, MaxNValuesOfAChain) {
    reset_model(state_machine);
    for (int s = 0; s < 4; s++) array_push(&states, State{static_cast<double>(s), 0, 0, 0});
    for (auto [from, to] : {std::pair{0, 1}, std::pair{1, 2}, std::pair{2, 3}, std::pair{0, 2}}) {
        array_push(&transitions, Transition{static_cast<int16_t>(from), static_cast<int16_t>(to), 0, 0, 0, {}});
    }
    win_mode = 3;
    add_players(3, true, expert);
    // From 1 two moves are left: the seat after the mover makes the last.
    PositionValue one = value_of({1});
    EXPECT_EQ(one.outcome, position_lost);
    EXPECT_EQ(one.winner_offset, 1);
    EXPECT_EQ(one.plies, 2u);
    // From 0 the mover cannot win: 0 -> 2 lets the next seat win at once, 0 -> 1 holds out and
    // the third seat makes the last move.
    PositionValue zero = value_of({0});
    EXPECT_EQ(zero.outcome, position_lost);
    EXPECT_EQ(zero.winner_offset, 2);
    EXPECT_EQ(zero.plies, 3u);
    // With four seats the same chain from 0 ends on the third move, won by the third seat.
    add_players(4, true, expert);
    EXPECT_EQ(value_of({0}).winner_offset, 2);
    // With two seats the mover of {1} loses, as before.
    add_players(2, true, expert);
    EXPECT_EQ(value_of({1}).outcome, position_lost);
    EXPECT_EQ(value_of({0}).outcome, position_won);
}

// Three heaps of nim with three seats: an exact best response wins every game against two
// "hard" seats from every seat, and so does the expert.
TEST(ExpertSeats, WinsEveryThreeSeatNimTowerGameAgainstHard) {
    for (uint64_t game = 0; game < 24; game++) {
        list_shipped(state_machine, "nim_tower");
        seat(3, static_cast<int64_t>(game % 3), hard);
        seed_random(game);
        ASSERT_TRUE(start_game());
        EXPECT_EQ(play_out_game(), game % 3) << game;
    }
}

// The loopy graph of the expert's tests: 0 no move, 1 -> 0, 2 a loop, 3 -> 2 and 3 -> 0, 4 <-> 5
// with 5 -> 0, 6 <-> 7. Random extra stones make the position count pass a lowered bound.
TEST(ExpertSeats, PlaysTheLoopyFallbackPastTheBoundThroughCycles) {
    int64_t promised_wins = 0, games_with_cycles = 0;
    for (uint64_t game = 0; game < 40; game++) {
        reset_model(state_machine);
        for (int s = 0; s < 8; s++) array_push(&states, State{static_cast<double>(s), 0, 0, 0});
        const int16_t edges[][2] = {{1, 0}, {2, 2}, {3, 2}, {3, 0}, {5, 4}, {4, 5}, {5, 0}, {6, 7}, {7, 6}};
        for (const auto& e : edges) array_push(&transitions, Transition{e[0], e[1], 0, 0, 0, {}});
        win_mode = 3;
        std::mt19937 pick(static_cast<uint32_t>(game));
        const int16_t starts[] = {1, 3, 4, 5, 1, 5, 4};
        for (int i = 0; i < 3; i++) array_push(&stones, starts[pick() % 7]);
        analysed_positions_bound = 10;  // three stones on eight states: 120 positions
        int64_t seats = 2 + static_cast<int64_t>(game % 2);
        seat(seats, 0, game % 4 < 2 ? easy : hard);
        ASSERT_TRUE(start_game());
        EXPECT_FALSE(analyse_positions());
        bool all_used[16];
        std::fill(all_used, all_used + 16, true);
        LoopyNimbers values = compute_loopy_nimbers(all_used);
        bool promised = seats == 2 && loopy_sum_outcome(values, stones.data, stones.count) == sum_won;
        bool through_cycle = std::any_of(stones.data, stones.data + stones.count, [](int16_t s) { return s == 4 || s == 5; });
        uint8_t won = play_out_game();
        analysed_positions_bound = max_analysed_positions;
        EXPECT_TRUE(game_over()) << game;
        if (promised) {
            EXPECT_EQ(won, 0) << game;
            promised_wins++;
        }
        games_with_cycles += through_cycle;
    }
    EXPECT_GT(promised_wins, 4);
    EXPECT_GT(games_with_cycles, 10);
}

// first_steps: 0 -> 1, 0 -> 2, 1 -> 2, 1 -> 3, 2 -> 3, 3 accepting. From 0 either move lets the
// next seat reach 3: both lose in two moves, and the first is the expert's.
TEST(ExpertMoveValues, StateMachineMovesCarryTheirExactValues) {
    list_shipped(state_machine, "first_steps");
    add_players(2, false, easy);
    ASSERT_TRUE(start_game());
    GrowableArray<RatedMove> rated = expert_move_values();
    ASSERT_EQ(rated.count, 2);
    for (int64_t i = 0; i < rated.count; i++) {
        EXPECT_EQ(rated.data[i].outcome, position_lost);
        EXPECT_EQ(rated.data[i].plies, 2u);
    }
    EXPECT_TRUE(rated.data[0].best);
    EXPECT_FALSE(rated.data[1].best);
    // After 0 -> 1 the next seat wins at once by 1 -> 3 and holds out by 1 -> 2.
    stones.data[0] = 1;
    rated = expert_move_values();
    ASSERT_EQ(rated.count, 2);
    EXPECT_EQ(rated.data[0].move.target, 2);
    EXPECT_EQ(rated.data[0].outcome, position_lost);
    EXPECT_EQ(rated.data[1].move.target, 3);
    EXPECT_EQ(rated.data[1].outcome, position_won);
    EXPECT_EQ(rated.data[1].plies, 1u);
    EXPECT_TRUE(rated.data[1].best);
}

// The shares come from what the seat to move may see: other hands, the deck and other goals
// shuffled, they stay exactly the same, and the random numbers are left alone.
TEST(ExpertMoveValues, SharesNeverReadHiddenCardsOrGoals) {
    std::mt19937 shuffler(5);
    int64_t compared = 0;
    for (uint64_t round = 0; round < 4; round++) {
        bool pushdown = round % 2 == 0;
        list_shipped(pushdown ? pushdown_machine : turing_machine, pushdown ? "harbour" : "colour_triangle");
        add_players(3, false, easy);
        seed_random(round);
        ASSERT_TRUE(start_game());
        RandomState random_before = random_state;
        GrowableArray<RatedMove> first = expert_move_values();
        EXPECT_EQ(memcmp(&random_state, &random_before, sizeof random_before), 0);
        std::vector<RatedMove> before(first.data, first.data + first.count);
        ASSERT_GE(before.size(), 1u);
        compared += static_cast<int64_t>(before.size());
        int64_t best = 0;
        for (const RatedMove& m : before) {
            EXPECT_GE(m.share, 0.0);
            EXPECT_LE(m.share, 1.0);
            best += m.best;
        }
        EXPECT_EQ(best, 1);
        std::vector<Card> unseen(deck.data, deck.data + deck.count);
        for (int64_t s = 1; s < 3; s++) unseen.insert(unseen.end(), players.data[s].hand.data, players.data[s].hand.data + players.data[s].hand.count);
        std::shuffle(unseen.begin(), unseen.end(), shuffler);
        size_t next = 0;
        for (int64_t i = 0; i < deck.count; i++) deck.data[i] = unseen[next++];
        for (int64_t s = 1; s < 3; s++) {
            for (int64_t i = 0; i < players.data[s].hand.count; i++) players.data[s].hand.data[i] = unseen[next++];
            if (!pushdown) players.data[s].goal = goals.data[shuffler() % goals.count];
        }
        GrowableArray<RatedMove> after = expert_move_values();
        ASSERT_EQ(static_cast<size_t>(after.count), before.size());
        for (int64_t i = 0; i < after.count; i++) {
            EXPECT_EQ(after.data[i].share, before[static_cast<size_t>(i)].share) << round;
            EXPECT_EQ(after.data[i].best, before[static_cast<size_t>(i)].best) << round;
        }
    }
    EXPECT_GT(compared, 8);
}

}  // namespace
