#include "model_fixture.h"

#include "base/random.h"
#include "model/goals.h"
#include "model/map_file.h"
#include "model/map_list.h"
#include "model/nimbers.h"
#include "model/referee.h"
#include "model/rules.h"
#include "model/turn_flow.h"
#include "model/turn_state.h"

#include <fstream>

namespace {

class GameEndTest : public ModelFixture {};

const uint8_t kinds[] = {state_machine, pushdown_machine, turing_machine};

GrowableArray<MapListEntry>* load_kind_list(uint8_t kind) {
    reset_model(kind);
    GrowableArray<MapListEntry>* list = kind == state_machine      ? &state_map_list
                                        : kind == pushdown_machine ? &pushdown_map_list
                                                                   : &turing_map_list;
    load_map_list(list, map_list_path(kind));
    current_map_list = list;
    return list;
}

std::string file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

TEST(ShippedMaps, EveryListNamesAtLeastFiveMapsThatRoundTrip) {
    for (uint8_t kind : kinds) {
        GrowableArray<MapListEntry>* list = load_kind_list(kind);
        EXPECT_GE(list->count, 5) << int(kind);
        for (int64_t i = 0; i < list->count; i++) {
            std::string path = text_of(list->data[i].path);
            testing::internal::CaptureStdout();
            ASSERT_TRUE(load_map(list->data[i].path)) << path;
            EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << path;  // no nimber failure either
            EXPECT_GT(states.count, 0) << path;
            EXPECT_EQ(text_of(write_map()), file_bytes(path)) << path;
            if (kind == state_machine) {
                for (int64_t s = 0; s < states.count; s++) {
                    bool sink = true;
                    for (int64_t t = 0; t < transitions.count; t++) sink = sink && transitions.data[t].from != s;
                    EXPECT_NE(nimbers.data[s], unknown_nimber) << path;
                    EXPECT_EQ(states.data[s].accepting != 0, sink) << path << " state " << s;
                }
            }
        }
    }
}

TEST(ShippedMaps, PushdownRulesUseTheWholeLanguage) {
    GrowableArray<MapListEntry>* list = load_kind_list(pushdown_machine);
    std::string all;
    for (int64_t i = 0; i < list->count; i++) {
        ASSERT_TRUE(load_map(list->data[i].path));
        for (int64_t t = 0; t < transitions.count; t++) all += text_of(transitions.data[t].rule);
    }
    for (char c : std::string("!~T(,)&|^")) EXPECT_NE(all.find(c), std::string::npos) << c;
}

// A rule that refuses every card against every top card is a typing error in a map.
TEST(ShippedMaps, EveryPushdownRuleAcceptsSomething) {
    GrowableArray<MapListEntry>* list = load_kind_list(pushdown_machine);
    for (int64_t i = 0; i < list->count; i++) {
        ASSERT_TRUE(load_map(list->data[i].path));
        for (int64_t t = 0; t < transitions.count; t++) {
            bool accepted = card_set_size(rule_accepted_cards(transitions.data[t].rule, false, default_card)) > 0;
            for (int64_t kind = 0; kind < card_kind_count && !accepted; kind++) {
                Card top{static_cast<uint8_t>(kind / 36), static_cast<uint8_t>(kind / 6 % 6), static_cast<int8_t>(kind % 6 + 1)};
                accepted = card_set_size(rule_accepted_cards(transitions.data[t].rule, true, top)) > 0;
            }
            EXPECT_TRUE(accepted) << text_of(list->data[i].path) << ": " << text_of(transitions.data[t].rule);
        }
    }
}

// Computer seats of every strength finish every shipped map; the same seed gives the same game.
TEST(WholeGames, ComputersFinishEveryShippedMap) {
    for (uint8_t kind : kinds) {
        int64_t count = load_kind_list(kind)->count;
        for (int64_t m = 0; m < count; m++) {
            for (int64_t difficulty = 0; difficulty <= 2; difficulty++) {
                for (int64_t seats : {1, 2, 3}) {
                    std::string traces[2];
                    for (int repeat = 0; repeat < 2; repeat++) {
                        load_kind_list(kind);
                        current_map_index = m;
                        add_players(seats, true, difficulty);
                        if (seats == 3) players.data[1].difficulty = (difficulty + 1) % 3;
                        seed_random(static_cast<uint64_t>(1000 + m * 10 + difficulty));
                        ASSERT_TRUE(start_game());
                        GameResult result = play_until_over(4000);
                        std::string where = text_of(current_map_list->data[m].name) + " difficulty " +
                                            std::to_string(difficulty) + " seats " + std::to_string(seats);
                        EXPECT_TRUE(game_over()) << where << " after " << result.turns << " turns";
                        if (winner != no_winner) {
                            EXPECT_LT(winner, seats) << where;
                        }
                        traces[repeat] = result.trace + std::to_string(winner);
                    }
                    EXPECT_EQ(traces[0], traces[1]);
                }
            }
        }
    }
}

TEST_F(GameEndTest, StateMachineStuckSeatLosesByNormalPlay) {
    reset_model(state_machine);
    ASSERT_TRUE(load_map_text("win 1\nstone 0\n. 0 0\n. 1 0\n. 2 0\n=> 0 1 0\n=> 1 2 0\n"));
    add_players(3, false, 0);
    ASSERT_TRUE(start_game());
    apply_move(0, 1, str(""), default_card, -1);
    move_delay = 0;
    end_turn();  // state 1 is not accepting: nobody wins yet
    EXPECT_EQ(current_player, 1);
    apply_move(0, 2, str(""), default_card, -1);
    move_delay = 0;
    end_turn();
    EXPECT_EQ(current_player, 2);
    EXPECT_TRUE(settle_stuck_seat());
    EXPECT_EQ(winner, 1);  // the last seat able to move
    EXPECT_EQ(stuck_seat, 2);  // named under the win text

    ASSERT_TRUE(load_map_text("win 1\nstone 0\n. 0 0\n"));
    ASSERT_TRUE(start_game());
    players.data[0].is_computer = 1;
    computer_act();
    EXPECT_EQ(winner, 2);  // nobody ever moved: the seat before the first one
}

// A dealt tape that already meets a goal would give the game to the first mover; it is dealt again,
// unless the goal holds for every tape.
TEST_F(GameEndTest, ATuringGameNeverStartsWithAGoalMet) {
    GrowableArray<MapListEntry>* list = load_kind_list(turing_machine);
    add_players(2, false, 0);
    int64_t games = 0;
    for (int64_t m = 0; m < list->count; m++) {
        current_map_index = m;
        for (uint64_t seed = 1; seed <= 60; seed++, games++) {
            seed_random(seed);
            ASSERT_TRUE(start_game());
            for (int64_t seat = 0; seat < 2; seat++) EXPECT_FALSE(goal_met(players.data[seat].goal)) << m << " " << seed;
        }
    }
    EXPECT_EQ(games, 60 * list->count);
    ASSERT_TRUE(load_map_text("deck 1 4 4 4\ntape 4\ngoal 0 2 0\nstone 0\n. 0 0\n=> 0 0 0 0 0 \"AR\"\n"));
    current_map_list = nullptr;
    EXPECT_TRUE(start_game());  // a sum of at least 0: every deal meets it, the game still starts
    EXPECT_EQ(tape.count, 4);
    EXPECT_EQ(deck.count + tape.count, 64);
}

TEST_F(GameEndTest, HumanTuringSeatWithoutTransitionsPassesAndTheGameEndsBlocked) {
    reset_model(turing_machine);
    ASSERT_TRUE(load_map_text("win 0\ngoal 0 0 1000\nstone 0\n. 0 0\n. 1 0\n=> 1 0 0 0 0 \"AR\"\n"));
    add_players(2, false, 0);
    human_count = 2;
    ASSERT_TRUE(start_game());
    EXPECT_TRUE(settle_stuck_seat());
    EXPECT_EQ(move_delay, 0.5);
    EXPECT_FALSE(settle_stuck_seat());  // the pause is running
    move_delay = 0;
    end_turn();
    EXPECT_EQ(current_player, 1);
    EXPECT_FALSE(game_over());
    EXPECT_TRUE(settle_stuck_seat());
    move_delay = 0;
    end_turn();
    EXPECT_TRUE(game_blocked);
    EXPECT_EQ(winner, no_winner);
}

TEST_F(GameEndTest, PushdownGameWhereNobodyCanPlayEndsBlocked) {
    reset_model(pushdown_machine);
    ASSERT_TRUE(load_map_text("win 0\ndeck 1 2 2 2\nhand 2\nstone 0\n. 0 0\n. 1 0\n=> 0 1 0 0 0 \"F\"\n"));
    add_players(2, true, 2);
    players.data[0].is_computer = 0;
    ASSERT_TRUE(start_game());
    GameResult result = play_until_over(200);
    EXPECT_TRUE(game_blocked);
    EXPECT_EQ(winner, no_winner);
    EXPECT_LT(result.turns, 20);
    EXPECT_EQ(deck.count, 0);
}

TEST_F(GameEndTest, PushdownHumanWithNothingToDrawPasses) {
    reset_model(pushdown_machine);
    ASSERT_TRUE(load_map_text("win 0\ndeck 1 1 1 1\nhand 1\ntape 0\nstone 0\n. 0 0\n. 1 0\n=> 0 1 0 0 0 \"B\"\n=> 1 0 0 0 0 \"*\"\n"));
    add_players(2, false, 0);
    ASSERT_TRUE(start_game());
    EXPECT_EQ(deck.count, 0);
    EXPECT_TRUE(settle_stuck_seat());
    move_delay = 0;
    end_turn();
    EXPECT_FALSE(game_blocked);  // the other seat could still move once a stone reaches state 1
    EXPECT_EQ(idle_turns, 1);

    array_push(&deck, Card{1, 0, 1});
    EXPECT_FALSE(settle_stuck_seat());  // a card can still be drawn
}

TEST_F(GameEndTest, HardPushdownPlayerOnTheDemoMap) {
    reset_model(pushdown_machine);
    build_demo_map();
    add_players(2, true, 2);
    ASSERT_TRUE(start_game());
    GameResult result = play_until_over(4000);
    EXPECT_NE(winner, no_winner);
    EXPECT_GT(result.turns, 2);
}

}  // namespace
