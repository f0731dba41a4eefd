#include "model_fixture.h"

#include "base/random.h"
#include "model/computer_players.h"
#include "model/map_file.h"
#include "model/rules.h"

#include <vector>

namespace {

// The hard pushdown player exactly as described: tentative move, one rule test per pair.
struct Scored {
    int16_t card, stone, target;
    int64_t score;
};

std::vector<Scored> reference_hard_scores(const GrowableArray<Card>& hand) {
    std::vector<Scored> candidates;
    for (int64_t i = 0; i < transitions.count; i++) {
        const Transition& t = transitions.data[i];
        int16_t stone = first_stone_on(t.from);
        if (stone < 0) continue;
        for (int64_t j = 0; j < hand.count; j++) {
            if (rule_accepts(t.rule, hand.data[j])) candidates.push_back({static_cast<int16_t>(j), stone, t.to, 0});
        }
    }
    for (Scored& c : candidates) {
        int16_t from = stones.data[c.stone];
        stones.data[c.stone] = c.target;
        array_push(&stack, hand.data[c.card]);
        int64_t follow = 0;
        for (int64_t u = 0; u < transitions.count; u++) {
            if (first_stone_on(transitions.data[u].from) < 0) continue;
            for (int64_t j = 0; j < hand.count; j++) {
                if (j != c.card && rule_accepts(transitions.data[u].rule, hand.data[j])) follow++;
            }
        }
        int64_t threat = 0;
        for (int64_t u = 0; u < transitions.count; u++) {
            if (transitions.data[u].from != c.target) continue;
            for (int64_t color = 0; color < deck_colors; color++)
                for (int64_t shape = 0; shape < deck_shapes; shape++)
                    for (int64_t number = 1; number <= deck_numbers; number++)
                        threat += rule_accepts(transitions.data[u].rule,
                                               Card{static_cast<uint8_t>(color), static_cast<uint8_t>(shape), static_cast<int8_t>(number)});
        }
        c.score = 16 * follow - threat;
        stones.data[c.stone] = from;
        stack.count--;
    }
    return candidates;
}

Card random_card() {
    return Card{static_cast<uint8_t>(random_below(static_cast<uint64_t>(deck_colors))),
                static_cast<uint8_t>(random_below(static_cast<uint64_t>(deck_shapes))),
                static_cast<int8_t>(random_below(static_cast<uint64_t>(deck_numbers)) + 1)};
}

TEST_F(ModelTest, HardPushdownMatchesTheOnePairAtATimeScoring) {
    const char* rules[] = {"*", "A", "~(A,B,C,D)", "~(1,2,3,4) & ~(a,b,c,d)", "T(A,B) | 3", "!(a | b) ^ 2",
                           "TC & b", "(A | B) ^ (1 | 2)", "G", "~(a,b,c,d) | 1"};
    for (int round = 0; round < 60; round++) {
        reset_model(pushdown_machine);
        seed_random(static_cast<uint64_t>(round));
        deck_colors = 1 + static_cast<int64_t>(random_below(6));
        deck_shapes = 1 + static_cast<int64_t>(random_below(6));
        deck_numbers = 1 + static_cast<int64_t>(random_below(6));
        int state_count = 2 + static_cast<int>(random_below(6));
        for (int s = 0; s < state_count; s++) array_push(&states, State{static_cast<double>(s), 0, 0, 0});
        int transition_count = 1 + static_cast<int>(random_below(24));
        for (int t = 0; t < transition_count; t++) {
            array_push(&transitions, Transition{static_cast<int16_t>(random_below(state_count)), static_cast<int16_t>(random_below(state_count)), 0,
                                                0, 0, str(rules[random_below(10)])});
        }
        for (int s = 0; s < 1 + static_cast<int>(random_below(3)); s++) array_push(&stones, static_cast<int16_t>(random_below(state_count)));
        if (random_below(3) != 0) array_push(&stack, random_card());
        GrowableArray<Card> hand{};
        int hand_count = static_cast<int>(random_below(12));
        for (int j = 0; j < hand_count; j++) array_push(&hand, random_card());
        if (hand_count > 2) hand.data[1] = hand.data[0];  // equal cards must stay separate candidates

        std::vector<Scored> expected = reference_hard_scores(hand);
        Move move;
        bool found = choose_pushdown_move(hand, hard, &move);
        ASSERT_EQ(found, !expected.empty()) << round;
        if (!found) continue;
        size_t best = 0;
        for (size_t c = 1; c < expected.size(); c++) {
            if (expected[c].score > expected[best].score) best = c;
        }
        EXPECT_EQ(move.card, expected[best].card) << round;
        EXPECT_EQ(move.stone, expected[best].stone) << round;
        EXPECT_EQ(move.target, expected[best].target) << round;
        EXPECT_EQ(frame_arena.used, 0);
    }
}

TEST_F(ModelTest, HardPushdownTakesTheFirstOfEqualBestScores) {
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

TEST_F(ModelTest, EasyPushdownHoldsBackAboutOneTimeInFive) {
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

TEST_F(ModelTest, TwoEqualTransitionsAreTwoCandidates) {
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
