#include "model_fixture.h"

#include "model/computer_players.h"
#include "model/map_file.h"


namespace {

class ComputerPlayerTest : public ModelFixture {};

// A red 1 and a blue 2 in hand, one stone on state 0, a deck of red and blue cards of one shape
// numbered 1 and 2, a blue 1 on the stack. The two moves from state 0 lead to states 1 and 2, whose self-loops decide.
Move hard_choice(const char* first_rule, int16_t first_target, const char* second_rule, int16_t second_target,
                 const char* loop_on_1, const char* loop_on_2) {
    reset_model(pushdown_machine);
    deck_colors = 2;
    deck_shapes = 1;
    deck_numbers = 2;
    for (int s = 0; s < 3; s++) array_push(&states, State{static_cast<double>(s), 0, 0, 0});
    array_push(&transitions, Transition{0, first_target, 0, 0, 0, str(first_rule)});
    array_push(&transitions, Transition{0, second_target, 0, 0, 0, str(second_rule)});
    array_push(&transitions, Transition{1, 1, 0, 0, 0, str(loop_on_1)});
    array_push(&transitions, Transition{2, 2, 0, 0, 0, str(loop_on_2)});
    array_push(&stones, int16_t{0});
    array_push(&stack, Card{1, 0, 1});
    GrowableArray<Card> hand{};
    array_push(&hand, Card{0, 0, 1});
    array_push(&hand, Card{1, 0, 2});
    Move move{};
    EXPECT_TRUE(choose_pushdown_move(hand, hard, &move));
    EXPECT_EQ(frame_arena.used, 0);
    return move;
}

TEST_F(ComputerPlayerTest, HardPushdownWeighsFollowersAgainstThreats) {
    // Red to 1: "TA" sees the red card just played, so the blue 2 follows (1 pair) and all 4 deck
    // cards threaten: 16 - 4 = 12. Blue to 2: "1" lets the red 1 follow, 2 deck cards threaten:
    // 16 - 2 = 14. Counting the played card as a follower, or leaving out the threat, picks red.
    Move move = hard_choice("A", 1, "2", 2, "TA", "1");
    EXPECT_EQ(move.card, 1);
    EXPECT_EQ(move.target, 2);
    // With "TA" on state 2 too, blue to 2 (listed first now) scores 0 against red's 12: the top
    // card a rule sees is the candidate's own card, not the stack as it was.
    move = hard_choice("2", 2, "A", 1, "TA", "TA");
    EXPECT_EQ(move.card, 0);
    EXPECT_EQ(move.target, 1);
}

TEST_F(ComputerPlayerTest, HardPushdownTakesTheFirstOfEqualBestScores) {
    // From state 0 three moves: to 1 with a blue card, to 2 with red, to 3 with red. State 1
    // lets everything follow (threat 4 cards of 4); states 2 and 3 let nothing follow.
    deck_colors = 2;
    deck_shapes = 1;
    deck_numbers = 2;
    for (int s = 0; s < 4; s++) array_push(&states, State{static_cast<double>(s), 0, 0, 0});
    array_push(&transitions, Transition{0, 1, 0, 0, 0, str("B")});
    array_push(&transitions, Transition{0, 2, 0, 0, 0, str("A")});
    array_push(&transitions, Transition{0, 3, 0, 0, 0, str("A")});
    array_push(&transitions, Transition{1, 1, 0, 0, 0, str("*")});
    array_push(&transitions, Transition{2, 2, 0, 0, 0, str("TB")});
    array_push(&transitions, Transition{3, 3, 0, 0, 0, str("TB")});
    array_push(&stones, int16_t{0});
    GrowableArray<Card> hand{};
    array_push(&hand, Card{0, 0, 1});
    array_push(&hand, Card{1, 0, 1});
    Move move;
    ASSERT_TRUE(choose_pushdown_move(hand, hard, &move));
    // To 1: follow 1 (the red card on "*"), threat 4 -> 12. To 2 and 3: follow 0, threat 0 -> 0.
    EXPECT_EQ(move.target, 1);
    EXPECT_EQ(move.card, 1);
    transitions.data[3].rule = str("TA");  // now nothing follows on 1 either: 0 - 0 = 0 for all
    ASSERT_TRUE(choose_pushdown_move(hand, hard, &move));
    EXPECT_EQ(move.target, 1);
    transitions.data[3].rule = str("*");
    transitions.data[0].rule = str("G");
    ASSERT_TRUE(choose_pushdown_move(hand, hard, &move));
    EXPECT_EQ(move.target, 2);  // 2 and 3 tie; the first wins
}

TEST_F(ComputerPlayerTest, EasyPushdownHoldsBackAboutOneTimeInFive) {
    build_demo_map();
    array_push(&stones, int16_t{0});
    GrowableArray<Card> hand{};
    array_push(&hand, Card{0, 0, 1});
    Move move;
    int held_back = 0, normal_moves = 0;
    for (int round = 0; round < 2000; round++) {
        held_back += !choose_pushdown_move(hand, easy, &move);
        normal_moves += choose_pushdown_move(hand, normal, &move);
    }
    EXPECT_GT(held_back, 320);
    EXPECT_LT(held_back, 480);
    EXPECT_EQ(normal_moves, 2000);
    GrowableArray<Card> useless{};
    array_push(&useless, Card{5, 5, 6});
    EXPECT_FALSE(choose_pushdown_move(useless, normal, &move));
}

TEST_F(ComputerPlayerTest, TwoEqualTransitionsAreTwoCandidates) {
    for (int s = 0; s < 3; s++) array_push(&states, State{static_cast<double>(s), 0, 0, 0});
    array_push(&transitions, Transition{0, 1, 0, 0, 0, str("aR")});
    array_push(&transitions, Transition{0, 1, 0, 0, 0, str("bR")});
    array_push(&transitions, Transition{0, 2, 0, 0, 0, str("cR")});
    array_push(&transitions, Transition{1, 2, 0, 0, 0, str("dR")});
    array_push(&stones, int16_t{0});
    int to_one = 0;
    for (int round = 0; round < 3000; round++) {
        Move move = choose_turing_move();
        ASSERT_EQ(move.stone, 0);
        to_one += move.target == 1;
        EXPECT_EQ(move.rule.length, 2);
    }
    EXPECT_GT(to_one, 1850);
    EXPECT_LT(to_one, 2150);
    stones.data[0] = 2;
    EXPECT_EQ(choose_turing_move().rule.length, 0);
}

}  // namespace
