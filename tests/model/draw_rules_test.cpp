// Games that end without a winner: a state-machine position seen a third time (with the same
// seat to move), and a pushdown or Turing game that reaches the turn limit.
#include "model_fixture.h"

#include "model/draw_rules.h"
#include "model/referee.h"
#include "model/turn_state.h"

namespace {

class DrawRulesTest : public ModelFixture {};

TEST_F(DrawRulesTest, OnlyTheSamePositionWithTheSameSeatToMoveCountsAsARepetition) {
    reset_model(state_machine);
    ASSERT_TRUE(load_map_text("win 1\nstone 0\n. 0 0\n. 1 0\n. 2 0\n=> 0 1 0 0 0 \"\"\n=> 1 2 0 0 0 \"\"\n"
                              "=> 2 0 0 0 0 \"\"\n"));
    add_players(2, false, 0);
    ASSERT_TRUE(start_game());
    // Round the cycle 0 -> 1 -> 2 -> 0 with two seats: after t turns the stone stands on t mod 3
    // and seat t mod 2 is to move. The stone is back on 0 after 3, 6, 9 turns, but with seat 0
    // to move only after 6 and 12: the opening position's third time is turn 12.
    int turns = 0;
    while (!game_over() && turns < 20) {
        apply_move(0, static_cast<int16_t>((stones.data[0] + 1) % 3), {}, default_card, -1);
        end_turn();
        turns++;
    }
    EXPECT_TRUE(game_drawn);
    EXPECT_EQ(turns, 12);
    EXPECT_EQ(winner, no_winner);
}

TEST_F(DrawRulesTest, PushdownAndTuringGamesAreDrawnAtTheTurnLimit) {
    for (uint8_t kind : {pushdown_machine, turing_machine}) {
        reset_model(kind);
        // Every stone must stand on an accepting state to win, and there is none.
        std::string there = kind == turing_machine ? "*R" : "*", back = kind == turing_machine ? "*L" : "*";
        ASSERT_TRUE(load_map_text("win 1\ndeck 1 2 2 2\nhand 2\ntape 2\nstone 0\n. 0 0\n. 1 0\n=> 0 1 0 0 0 \"" + there +
                                  "\"\n=> 1 0 0 0 0 \"" + back + "\"\n"));
        add_players(2, true, 1);
        ASSERT_TRUE(start_game());
        play_until_over(10 * max_game_turns);
        EXPECT_TRUE(game_drawn) << int(kind);
        EXPECT_EQ(winner, no_winner);
        EXPECT_EQ(turns_played, max_game_turns);
    }
}

}  // namespace
