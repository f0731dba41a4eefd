#include "model_fixture.h"

#include "model/goals.h"

namespace {

class GoalTest : public ModelFixture {};

void set_tape(std::initializer_list<Card> cards) {
    array_clear(&tape);
    for (Card c : cards) array_push(&tape, c);
    tape_length = tape.count;
}

Goal goal(uint8_t kind, uint8_t comparison, int64_t amount, uint8_t a = 0, uint8_t b = 0) {
    return Goal{kind, comparison, amount, a, a, a, b, b, b};
}

TEST_F(GoalTest, GoalValues) {
    set_tape({{0, 1, 3}, {0, 2, 3}, {5, 2, 6}, {2, 3, 1}});
    deck_colors = deck_shapes = deck_numbers = 4;
    EXPECT_EQ(goal_value(goal(sum, exactly, 0)), 13);
    EXPECT_EQ(goal_value(goal(distinct_colors, exactly, 0)), 2);  // colour 5 is outside the deck
    EXPECT_EQ(goal_value(goal(distinct_shapes, exactly, 0)), 3);
    EXPECT_EQ(goal_value(goal(distinct_numbers, exactly, 0)), 2);  // 6 is outside the deck
    deck_numbers = 6;
    EXPECT_EQ(goal_value(goal(distinct_numbers, exactly, 0)), 3);
    EXPECT_EQ(goal_value(goal(color_count, exactly, 0, 0)), 2);
    EXPECT_EQ(goal_value(goal(shape_count, exactly, 0, 2)), 2);
    EXPECT_EQ(goal_value(goal(number_count, exactly, 0, 3)), 2);
    EXPECT_EQ(goal_value(goal(color_pair_count, exactly, 0, 0, 2)), 3);
    EXPECT_EQ(goal_value(goal(shape_pair_count, exactly, 0, 2, 2)), 2);  // each card counted once
    EXPECT_EQ(goal_value(goal(number_pair_count, exactly, 0, 6, 1)), 2);
    EXPECT_EQ(goal_value(goal(10, exactly, 0)), 0);
    deck_colors = 1000;  // past what the counting table holds
    EXPECT_EQ(goal_value(goal(distinct_colors, exactly, 0)), 3);
    tape_length = 2;
    EXPECT_EQ(goal_value(goal(sum, exactly, 0)), 6);
    array_clear(&tape);
    for (uint8_t kind = 0; kind < 10; kind++) EXPECT_EQ(goal_value(goal(kind, exactly, 0)), 0);
}

TEST_F(GoalTest, GoalComparisons) {
    set_tape({{0, 0, 1}, {0, 0, 1}, {5, 0, 1}});
    deck_colors = 4;
    EXPECT_EQ(goal_value(goal(distinct_colors, exactly, 0)), 1);
    EXPECT_TRUE(goal_met(goal(color_count, at_most, 0, 3)));
    EXPECT_FALSE(goal_met(goal(color_count, at_most, 1, 0)));
    EXPECT_TRUE(goal_met(goal(sum, exactly, 3)));
    EXPECT_FALSE(goal_met(goal(sum, exactly, 4)));
    EXPECT_TRUE(goal_met(goal(sum, at_least, 3)));
    EXPECT_FALSE(goal_met(goal(sum, at_least, 4)));
    EXPECT_FALSE(goal_met(goal(sum, 3, 3)));
}

TEST(GoalText, EveryKindAndComparison) {
    EXPECT_EQ(text_of(goal_text(Goal{color_pair_count, at_least, 3, 0, 0, 1, 2, 0, 1})), "num A or C %at l%e%ast 3");
    EXPECT_EQ(text_of(goal_text(Goal{sum, exactly, 12, 0, 0, 1, 0, 0, 1})), "sum %ex%a%ctly 12");
    EXPECT_EQ(text_of(goal_text(Goal{distinct_colors, at_most, -2, 0, 0, 1, 0, 0, 1})), "# %distin%ct %colors %at most -2");
    EXPECT_EQ(text_of(goal_text(Goal{distinct_shapes, 9, 1, 0, 0, 1, 0, 0, 1})), "# %distin%ct sh%ap%es1");
    EXPECT_EQ(text_of(goal_text(Goal{distinct_numbers, at_least, 4, 0, 0, 1, 0, 0, 1})), "# %distin%ct num%b%ers %at l%e%ast 4");
    EXPECT_EQ(text_of(goal_text(Goal{color_count, exactly, 1, 4, 0, 1, 0, 0, 1})), "num E %ex%a%ctly 1");
    EXPECT_EQ(text_of(goal_text(Goal{shape_count, exactly, 1, 0, 5, 1, 0, 0, 1})), "num f %ex%a%ctly 1");
    EXPECT_EQ(text_of(goal_text(Goal{number_count, exactly, 1, 0, 0, 6, 0, 0, 1})), "num 6 %ex%a%ctly 1");
    EXPECT_EQ(text_of(goal_text(Goal{shape_pair_count, exactly, 1, 0, 1, 1, 0, 3, 1})), "num b or d %ex%a%ctly 1");
    EXPECT_EQ(text_of(goal_text(Goal{number_pair_count, exactly, 1, 0, 0, 2, 0, 0, 5})), "num 2 or 5 %ex%a%ctly 1");
    EXPECT_EQ(text_of(goal_text(Goal{42, 42, 7, 0, 0, 1, 0, 0, 1})), "7");
    std::string longest = text_of(goal_text(Goal{distinct_numbers, at_least, INT64_MIN, 0, 0, 1, 0, 0, 1}));
    EXPECT_EQ(longest, "# %distin%ct num%b%ers %at l%e%ast -9223372036854775808");
    EXPECT_LE(longest.size(), 64u);
}

}  // namespace
