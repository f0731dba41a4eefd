// What the table learns about a Turing seat's hidden goal: from the deal and from the turns it
// ended without winning.
#include "model_fixture.h"

#include "model/computer_players.h"
#include "model/goal_evidence.h"
#include "model/referee.h"

namespace {

// Goals in map order: sum at least 16, at most 9, exactly 12. Four cells of numbers 1 to 4.
void start_sum_game(uint8_t mode) {
    reset_model(turing_machine);
    ASSERT_TRUE(load_map_text("win " + std::to_string(mode) + "\ndeck 1 4 4 4\ntape 4\ngoal 0 2 16\ngoal 0 1 9\n"
                              "goal 0 0 12\nstone 0\n. 0 0\n* 1 0\n=> 0 1 0 0 0 \"1R\"\n"));
    add_players(2, true, hard);
    ASSERT_TRUE(start_game());
    players.data[0].goal = goals.data[0];
    players.data[1].goal = goals.data[2];
}

void set_tape(int a, int b, int c, int d) {
    int numbers[] = {a, b, c, d};
    for (int64_t i = 0; i < 4; i++) tape.data[i].number = static_cast<int8_t>(numbers[i]);
}

TEST(GoalEvidence, TheDealFavoursGoalsThatTapesOftenMeet) {
    start_sum_game(immediate);
    // A dealt tape meets "at most 9" in 41.2 % of deals, "exactly 12" in 12.2 % and "at least
    // 16" in 0.3 %. Under "at most 9" a deal that meets neither it nor the onlooker's "exactly
    // 12" is the rarest, so seeing one speaks for it (at most 9: 1/0.466, at least 16: 1/0.875,
    // exactly 12: 1/0.878).
    set_tape(3, 3, 3, 2);
    start_goal_evidence();
    double chances[3];
    goal_belief(0, goals.data[2], chances);
    EXPECT_NEAR(chances[0], 0.258, 0.03);
    EXPECT_NEAR(chances[1], 0.485, 0.03);
    EXPECT_NEAR(chances[2], 0.257, 0.03);
    // A goal the dealt tape meets was dealt again for: nobody holds it.
    set_tape(2, 2, 2, 2);
    start_goal_evidence();
    goal_belief(0, goals.data[2], chances);
    EXPECT_EQ(chances[1], 0.0);
    EXPECT_NEAR(chances[0] + chances[2], 1.0, 1e-9);
}

TEST(GoalEvidence, AGoalMetAtATurnEndWithoutAWinIsRuledOut) {
    for (uint8_t mode : {immediate, all_accepting}) {
        start_sum_game(mode);
        set_tape(3, 3, 3, 2);
        start_goal_evidence();
        set_tape(3, 3, 3, 3);  // seat 0 ends its turn on "exactly 12"
        end_turn();
        ASSERT_EQ(current_player, 1);
        double chances[3];
        goal_belief(0, goals.data[2], chances);
        // With the stone on a plain state nobody could have won, so nothing is learnt.
        if (mode == immediate) {
            EXPECT_EQ(chances[2], 0.0);
        } else {
            EXPECT_GT(chances[2], 0.2);
        }
        EXPECT_NEAR(chances[0] + chances[1] + chances[2], 1.0, 1e-9);
    }
}

}  // namespace
