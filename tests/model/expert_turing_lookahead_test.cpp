// The Turing expert's look-ahead weighs the opponent's possible goals by what the game showed.
#include "model_fixture.h"

#include "model/computer_players.h"
#include "model/expert_turing_lookahead.h"
#include "model/goal_evidence.h"
#include "model/referee.h"

namespace {

// One cell; goals "exactly 2", "exactly 3", "exactly 6". Seat 0 holds "exactly 6" and has two
// moves: "1" to state 1, whence the opponent writes 2 or 3, or "4" to state 2, whence it writes 6
// or 5. Either way seat 0 then writes 6 on state 3 and wins, unless the opponent won first.
void start_one_cell_game() {
    reset_model(turing_machine);
    ASSERT_TRUE(load_map_text("win 0\ndeck 1 1 1 6\ntape 1\ngoal 0 0 2\ngoal 0 0 3\ngoal 0 0 6\nstone 0\n"
                              ". 0 0\n. 1 0\n. 2 0\n. 3 0\n=> 0 1 0 0 0 \"1\"\n=> 0 2 0 0 0 \"4\"\n"
                              "=> 1 3 0 0 0 \"2\"\n=> 1 3 0 0 0 \"3\"\n=> 2 3 0 0 0 \"6\"\n=> 2 3 0 0 0 \"5\"\n"
                              "=> 3 3 0 0 0 \"6\"\n"));
    add_players(2, true, hard);
    ASSERT_TRUE(start_game());
    players.data[0].goal = goals.data[2];
    players.data[1].goal = goals.data[2];
    tape.data[0].number = 1;
    start_goal_evidence();
}

std::string best_rule() {
    GrowableArray<Move> moves{nullptr, 0, 0, FRAME_ARENA};
    array_push(&moves, Move{-1, 0, 1, transitions.data[0].rule});
    array_push(&moves, Move{-1, 0, 2, transitions.data[1].rule});
    keep_best_turing_moves(&moves);
    return moves.count == 1 ? text_of(moves.data[0].rule) : "no single best";
}

TEST(ExpertTuringLookahead, AvoidsTheRiskTheEvidenceLeaves) {
    // Two goals of three lose after "1", one after "4".
    start_one_cell_game();
    EXPECT_EQ(best_rule(), "4");
    // The opponent ended turns on a 2 and on a 3 without winning: only "exactly 6" is left.
    current_player = 1;
    tape.data[0].number = 2;
    end_turn();
    end_turn();
    tape.data[0].number = 3;
    end_turn();
    ASSERT_EQ(current_player, 0);
    tape.data[0].number = 1;
    EXPECT_EQ(best_rule(), "1");
}

}  // namespace
