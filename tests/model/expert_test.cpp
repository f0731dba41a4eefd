// The expert: exact and loopy values of known positions, its choices from them, and that it
// never reads what its seat cannot see.
#include "model_fixture.h"

#include "base/random.h"
#include "model/expert_player.h"
#include "model/loopy_nimbers.h"
#include "model/map_file.h"
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

// 0: no move (0). 1 -> 0 (1). 2: only a loop (infinite, no finite follower). 3 -> 2, 3 -> 0
// (infinite with follower value 0). 4 <-> 5, 5 -> 0: 4 is 0 (the mover must go to 5, whence
// the other moves to 0) and 5 is 1. 6 <-> 7: both infinite. Padding states have no moves.
void build_loopy_graph(int64_t state_count) {
    reset_model(state_machine);
    for (int64_t s = 0; s < state_count; s++) array_push(&states, State{static_cast<double>(s), 0, 0, 0});
    const int16_t edges[][2] = {{1, 0}, {2, 2}, {3, 2}, {3, 0}, {5, 4}, {4, 5}, {5, 0}, {6, 7}, {7, 6}};
    for (const auto& e : edges) array_push(&transitions, Transition{e[0], e[1], 0, 0, 0, {}});
    win_mode = 3;  // no win mode: normal play only, as the loopy values assume
}

void place(std::vector<int16_t> at) {
    stones.count = 0;
    for (int16_t s : at) array_push(&stones, s);
}

uint8_t exact_outcome(std::vector<int16_t> at) {
    place(at);
    EXPECT_TRUE(analyse_positions());
    sort_stone_states(at.data(), static_cast<int64_t>(at.size()));
    return analysed_value(at.data()).outcome;
}

TEST(ExpertValues, LoopyNimbersOfAKnownGraph) {
    build_loopy_graph(8);
    std::vector<bool> all(transitions.count, true);
    bool used[16];
    std::copy(all.begin(), all.end(), used);
    LoopyNimbers values = compute_loopy_nimbers(used);
    const int16_t expected[] = {0, 1, infinite_nimber, infinite_nimber, 0, 1, infinite_nimber, infinite_nimber};
    for (int s = 0; s < 8; s++) EXPECT_EQ(values.values[s], expected[s]) << s;
    EXPECT_EQ(values.follower_values[3 * 4], 1u);  // state 3 can reach value 0 only
    EXPECT_EQ(values.follower_values[2 * 4], 0u);

    // Lost, won and drawn sums; the exact analysis of the same positions agrees.
    const std::pair<std::vector<int16_t>, uint8_t> sums[] = {
        {{1, 1}, sum_lost}, {{4}, sum_lost},  {{1}, sum_won},     {{3}, sum_won},    {{5, 4}, sum_won},
        {{2}, sum_drawn},   {{3, 1}, sum_drawn}, {{2, 6}, sum_drawn}, {{6, 1}, sum_drawn}, {{0, 0}, sum_lost}};
    const uint8_t exact_for[] = {position_drawn, position_won, position_lost};
    for (const auto& [at, outcome] : sums) {
        EXPECT_EQ(loopy_sum_outcome(values, at.data(), static_cast<int64_t>(at.size())), outcome) << at[0];
        EXPECT_EQ(exact_outcome(at), exact_for[outcome]) << at[0];
    }
}

TEST(ExpertValues, PositionCountsAndTheBound) {
    build_loopy_graph(256);
    place({1, 2, 3});
    EXPECT_EQ(position_count(), 2829056);  // 258 choose 3
    place({1, 2, 3, 4});
    EXPECT_EQ(position_count(), max_analysed_positions + 1);
    EXPECT_FALSE(analyse_positions());
}

TEST(ExpertChoices, HoldsADrawAndHurriesAWin) {
    for (int64_t state_count : {8, 256}) {  // exact analysis; loopy values past the bound
        build_loopy_graph(state_count);
        Move move;
        // {3, 1} is drawn: 3 -> 0 or 1 -> 0 would leave the other a won game.
        place(state_count == 8 ? std::vector<int16_t>{3, 1} : std::vector<int16_t>{3, 1, 0, 0});
        ASSERT_TRUE(choose_expert_state_machine_move(&move));
        EXPECT_EQ(stones.data[move.stone], 3);
        EXPECT_EQ(move.target, 2);
        // From 5 both 5 -> 4 and 5 -> 0 win; 5 -> 0 wins at once.
        place(state_count == 8 ? std::vector<int16_t>{5} : std::vector<int16_t>{5, 0, 0, 0});
        ASSERT_TRUE(choose_expert_state_machine_move(&move));
        EXPECT_EQ(move.target, 0);
    }
}

TEST(ExpertChoices, WinModesCountInTheAnalysis) {
    // 0 -> 1 -> 2 (accepting), 0 -> 0. With "any accepting" a stone on 1 hands the next seat
    // the win, so from 0 only the loop keeps the game drawn.
    reset_model(state_machine);
    for (int s = 0; s < 3; s++) array_push(&states, State{static_cast<double>(s), 0, 0, static_cast<uint8_t>(s == 2)});
    for (auto [from, to] : {std::pair{0, 1}, std::pair{1, 2}, std::pair{0, 0}}) {
        array_push(&transitions, Transition{static_cast<int16_t>(from), static_cast<int16_t>(to), 0, 0, 0, {}});
    }
    win_mode = any_accepting;
    EXPECT_EQ(exact_outcome({0}), position_drawn);
    EXPECT_EQ(exact_outcome({1}), position_won);
    place({0});
    Move move;
    ASSERT_TRUE(choose_expert_state_machine_move(&move));
    EXPECT_EQ(move.target, 0);
    win_mode = 3;  // normal play: 0 -> 1 leaves the next seat a won game, 2 has no move
    EXPECT_EQ(exact_outcome({0}), position_drawn);
    EXPECT_EQ(exact_outcome({1}), position_won);
    EXPECT_EQ(exact_outcome({2}), position_lost);
}

void start_shipped(uint8_t kind, const char* name, int64_t seats, uint64_t seed) {
    reset_model(kind);
    static GrowableArray<MapListEntry> list;
    list = {};
    load_map_list(&list, map_list_path(kind));
    current_map_list = &list;
    for (int64_t i = 0; i < list.count; i++) {
        if (text_of(list.data[i].name) == name) current_map_index = i;
    }
    add_players(seats, true, expert);
    seed_random(seed);
    ASSERT_TRUE(start_game());
}

Move expert_choice(uint64_t seed) {
    seed_random(seed);
    Move move{-1, -1, -1, {}};
    if (machine_kind == pushdown_machine) choose_expert_pushdown_move(&move);
    else move = choose_expert_turing_move();
    return move;
}

// Shuffles the cards seat 0 cannot see between the other hands and the deck, every size kept,
// and deals the other seats other goals: the expert must choose exactly as before.
TEST(ExpertChoices, NeverReadsWhatItsSeatCannotSee) {
    std::mt19937 shuffler(3);
    int64_t different_moves = 0;
    for (uint64_t round = 0; round < 12; round++) {
        bool pushdown = round % 2 == 0;
        start_shipped(pushdown ? pushdown_machine : turing_machine, pushdown ? "follow_the_top" : "colour_triangle", 3, round);
        Move before = expert_choice(round);
        std::vector<Card> unseen(deck.data, deck.data + deck.count);
        for (int64_t seat = 1; seat < 3; seat++) {
            const GrowableArray<Card>& hand = players.data[seat].hand;
            unseen.insert(unseen.end(), hand.data, hand.data + hand.count);
        }
        std::shuffle(unseen.begin(), unseen.end(), shuffler);
        size_t next = 0;
        for (int64_t i = 0; i < deck.count; i++) deck.data[i] = unseen[next++];
        for (int64_t seat = 1; seat < 3; seat++) {
            for (int64_t i = 0; i < players.data[seat].hand.count; i++) players.data[seat].hand.data[i] = unseen[next++];
            if (!pushdown) players.data[seat].goal = goals.data[shuffler() % goals.count];
        }
        Move after = expert_choice(round);
        EXPECT_EQ(after.card, before.card) << round;
        EXPECT_EQ(after.stone, before.stone) << round;
        EXPECT_EQ(after.target, before.target) << round;
        EXPECT_TRUE(string_equals(after.rule, before.rule)) << round;
        different_moves += expert_choice(round + 100).target != before.target;
    }
    EXPECT_GT(different_moves, 0);  // the choices depend on the sampling, so they were put to the test
}

TEST(ExpertChoices, AHintIsTheExpertsMoveAndLeavesTheRandomNumbersAlone) {
    start_shipped(pushdown_machine, "harbour", 2, 5);
    RandomState before = random_state;
    Move hint;
    ASSERT_TRUE(expert_hint(&hint));
    EXPECT_EQ(memcmp(&random_state, &before, sizeof before), 0);
    Move chosen;
    ASSERT_TRUE(choose_expert_pushdown_move(&chosen));
    EXPECT_EQ(hint.card, chosen.card);
    EXPECT_EQ(hint.stone, chosen.stone);
    EXPECT_EQ(hint.target, chosen.target);
}

// Random maps of up to 12 states with cycles, every win mode: from a position the analysis
// calls won the expert wins, from one it calls drawn it does not lose, whatever the other plays.
TEST(ExpertChoices, KeepsWhatTheAnalysisPromisesOnRandomCyclicMaps) {
    int64_t won = 0, drawn = 0;
    for (uint64_t map = 0; map < 60; map++) {
        reset_model(state_machine);
        seed_random(map);
        int64_t n = 2 + static_cast<int64_t>(random_below(11));
        for (int64_t s = 0; s < n; s++) array_push(&states, State{0, 0, 0, static_cast<uint8_t>(random_below(4) == 0)});
        for (int64_t t = 0; t < n + 2; t++) {
            array_push(&transitions, Transition{static_cast<int16_t>(random_below(n)), static_cast<int16_t>(random_below(n)), 0, 0, 0, {}});
        }
        array_push(&transitions, Transition{0, static_cast<int16_t>(n - 1), 0, 0, 0, {}});
        array_push(&transitions, Transition{static_cast<int16_t>(n - 1), 0, 0, 0, 0, {}});
        win_mode = static_cast<uint8_t>(random_below(4));
        for (int64_t i = 0; i <= static_cast<int64_t>(map % 3); i++) array_push(&stones, static_cast<int16_t>(random_below(n)));
        add_players(2, true, map % 2 == 0 ? easy : normal);
        players.data[0].difficulty = expert;
        ASSERT_TRUE(start_game());
        std::vector<int16_t> opening(stones.data, stones.data + stones.count);
        uint8_t promised = exact_outcome(opening);
        while (!game_over() && turns_played < 400) {
            if (skip_to_computer_action()) computer_act();
        }
        ASSERT_TRUE(game_over()) << map;
        if (promised == position_won) {
            EXPECT_EQ(winner, 0) << map;
        } else if (promised == position_drawn) {
            EXPECT_NE(winner, 1) << map;
        }
        won += promised == position_won;
        drawn += promised == position_drawn;
    }
    EXPECT_GT(won, 5);
    EXPECT_GT(drawn, 5);
}

TEST(ExpertChoices, TakesTheMoveThatWinsAtOnce) {
    // Turing: only "4R" makes the sum 4 x 4 = 16 the goal asks for; the others write 1.
    reset_model(turing_machine);
    ASSERT_TRUE(load_map_text("win 0\ndeck 1 1 1 4\ntape 4\ngoal 0 0 16\nstone 0\n. 0 0\n. 1 0\n"
                              "=> 0 0 0 0 0 \"1R\"\n=> 0 1 0 0 0 \"4R\"\n=> 0 1 0 0 0 \"1L\"\n"));
    add_players(2, true, expert);
    ASSERT_TRUE(start_game());
    for (int64_t i = 0; i < tape.count; i++) tape.data[i].number = 4;
    tape.data[0].number = 1;
    Move move = choose_expert_turing_move();
    EXPECT_EQ(text_of(move.rule), "4R");

    // Pushdown: the last card wins at once only by moving the stone onto the accepting state 2
    // (on 1 the win comes a round later).
    reset_model(pushdown_machine);
    ASSERT_TRUE(load_map_text("win 2\ndeck 2 2 2 2\nhand 1\nstone 0\n. 0 0\n. 1 0\n* 2 0\n"
                              "=> 0 1 0 0 0 \"*\"\n=> 0 2 0 0 0 \"*\"\n=> 1 0 0 0 0 \"*\"\n=> 2 0 0 0 0 \"*\"\n"));
    add_players(2, true, expert);
    ASSERT_TRUE(start_game());
    ASSERT_TRUE(choose_expert_pushdown_move(&move));
    EXPECT_EQ(move.target, 2);
}

}  // namespace
