#include "model_fixture.h"

#include "base/random.h"
#include "model/rule_reading.h"
#include "model/rules.h"

#include <string>

namespace {

class RuleTest : public ModelFixture {};

Card card(char color, char shape, int number) {
    return Card{static_cast<uint8_t>(color - 'A'), static_cast<uint8_t>(shape - 'a'), static_cast<int8_t>(number)};
}

bool accepts(const char* rule, Card c) { return rule_accepts(str(rule), c); }

void set_top(Card top) {
    array_clear(&stack);
    array_push(&stack, top);
}

bool accepts_any(const char* rule) {
    for (int64_t kind = 0; kind < card_kind_count; kind++) {
        Card c{static_cast<uint8_t>(kind / 36), static_cast<uint8_t>(kind / 6 % 6), static_cast<int8_t>(kind % 6 + 1)};
        if (accepts(rule, c)) return true;
    }
    return false;
}

TEST_F(RuleTest, AtomsAndEmptyStack) {
    EXPECT_TRUE(accepts("A", card('A', 'c', 2)));
    EXPECT_FALSE(accepts("A", card('B', 'c', 2)));
    EXPECT_TRUE(accepts("c", card('B', 'c', 2)));
    EXPECT_TRUE(accepts("2", card('B', 'c', 2)));
    EXPECT_TRUE(accepts("*", card('F', 'f', 6)));
    EXPECT_TRUE(accepts("T*", card('F', 'f', 6)));
    EXPECT_TRUE(accepts("~*", card('F', 'f', 6)));
    EXPECT_FALSE(accepts_any("TA"));
    EXPECT_FALSE(accepts_any("~A"));
    for (const char* never : {"", "7", "G", "0", "A)", "(A,B)", "(", "(A", "A&", "!", "TT", "A\r", "&A", "a b"}) {
        EXPECT_FALSE(accepts_any(never)) << never;
    }
}

TEST_F(RuleTest, BlanksTabsAndLineFeedsAreIgnored) {
    EXPECT_TRUE(accepts(" A ", card('A', 'a', 1)));
    EXPECT_TRUE(accepts("A\n", card('A', 'a', 1)));
    EXPECT_TRUE(accepts("\t! ( B ,\nC )", card('A', 'a', 1)));
    EXPECT_FALSE(accepts("A\r", card('A', 'a', 1)));
}

TEST_F(RuleTest, OperatorsBindLeftToRight) {
    EXPECT_TRUE(accepts("A | b & 3", card('A', 'a', 3)));
    EXPECT_TRUE(accepts("A | b & 3", card('B', 'b', 3)));
    EXPECT_FALSE(accepts("A | b & 3", card('A', 'a', 2)));
    EXPECT_TRUE(accepts("A ^ 1", card('A', 'a', 2)));
    EXPECT_FALSE(accepts("A ^ 1", card('A', 'a', 1)));
    EXPECT_TRUE(accepts("A & (b | 3)", card('A', 'a', 3)));
    EXPECT_FALSE(accepts("A & (b | 3)", card('A', 'a', 2)));
}

TEST_F(RuleTest, ListsAndPrefixes) {
    EXPECT_TRUE(accepts("(A)", card('A', 'a', 1)));
    EXPECT_FALSE(accepts("(A)", card('B', 'a', 1)));
    EXPECT_FALSE(accepts_any("(A,B)"));
    EXPECT_TRUE(accepts("!(A,B)", card('A', 'a', 1)));
    EXPECT_TRUE(accepts("!(A,B)", card('C', 'a', 1)));
    EXPECT_TRUE(accepts("!A", card('C', 'a', 1)));
    EXPECT_FALSE(accepts("!A", card('A', 'a', 1)));
    EXPECT_FALSE(accepts("!*", card('A', 'a', 1)));

    set_top(card('C', 'd', 4));
    EXPECT_TRUE(accepts("TC", card('A', 'a', 1)));
    EXPECT_FALSE(accepts("TA", card('A', 'a', 1)));
    EXPECT_TRUE(accepts("~(A,B,C,D)", card('C', 'a', 1)));
    EXPECT_FALSE(accepts("~(A,B,C,D)", card('D', 'a', 1)));
    EXPECT_TRUE(accepts("~(1,2,3,4) & ~(a,b,c,d)", card('A', 'd', 4)));
    EXPECT_FALSE(accepts("~(1,2,3,4) & ~(a,b,c,d)", card('A', 'c', 4)));
    EXPECT_TRUE(accepts("T(C & d)", card('F', 'f', 6)));
    EXPECT_FALSE(accepts("T(C & c)", card('F', 'f', 6)));
    EXPECT_FALSE(accepts_any("!T(A,B)"));  // a prefix takes an atom, and "T" is none
    EXPECT_TRUE(accepts("!(T(A,B))", card('F', 'f', 6)));

    set_top(card('A', 'a', 1));
    EXPECT_TRUE(accepts("~(A,B,C,D,E,F,1,2)", card('A', 'b', 3)));
    EXPECT_FALSE(accepts_any("~(A,B,C,D,E,F,1,2,3)"));
    EXPECT_FALSE(accepts_any("~(A,B,C,D,E,F,1,2"));
}

TEST_F(RuleTest, LongRulesAreCutAfter1024Bytes) {
    std::string rule = "A";
    while (rule.size() < 1023) rule += "|A";
    EXPECT_TRUE(accepts(rule.c_str(), card('A', 'a', 1)));
    std::string padded = std::string(2000, ' ') + "A";
    EXPECT_TRUE(accepts(padded.c_str(), card('A', 'a', 1)));
    std::string cut = rule + "&B";  // the "&" is byte 1024, the "B" falls away
    EXPECT_FALSE(accepts_any(cut.c_str()));
    EXPECT_EQ(frame_arena.used, 0);
}

// Builds random rule texts from the grammar's pieces and some noise.
std::string random_rule(int depth) {
    const char* atoms[] = {"A", "C", "F", "a", "d", "1", "4", "6", "*", "G", "0"};
    uint64_t pick = random_below(10);
    std::string text;
    if (depth > 2 || pick < 5) {
        text = atoms[random_below(11)];
    } else if (pick < 8) {
        int items = static_cast<int>(random_below(4)) + 1;
        text = "(";
        for (int i = 0; i < items; i++) {
            if (i > 0) text += ',';
            text += random_rule(depth + 1);
        }
        text += ")";
    } else {
        text = random_rule(depth + 1) + "&|^"[random_below(3)] + random_rule(depth + 1);
    }
    uint64_t prefix = random_below(6);
    if (prefix < 3) text = std::string(1, "!~T"[prefix]) + text;
    return text;
}

TEST_F(RuleTest, CardSetsAgreeWithSingleCards) {
    seed_random(99);
    int accepted_somewhere = 0;
    for (int round = 0; round < 400; round++) {
        std::string rule = random_rule(0);
        bool has_top = random_below(4) != 0;
        Card top{static_cast<uint8_t>(random_below(6)), static_cast<uint8_t>(random_below(6)),
                 static_cast<int8_t>(random_below(6) + 1)};
        array_clear(&stack);
        if (has_top) array_push(&stack, top);
        CardSet set = rule_accepted_cards(view_of(rule), has_top, top);
        for (int64_t kind = 0; kind < card_kind_count; kind++) {
            Card c{static_cast<uint8_t>(kind / 36), static_cast<uint8_t>(kind / 6 % 6), static_cast<int8_t>(kind % 6 + 1)};
            ASSERT_EQ(card_kind(c), kind);
            ASSERT_EQ(card_set_has(set, kind), rule_accepts(view_of(rule), c)) << rule << " kind " << kind;
        }
        accepted_somewhere += card_set_size(set) > 0;
    }
    EXPECT_GT(accepted_somewhere, 50);
}

// The editor refuses a rule by the place where it stops reading: a byte, or the end of the text.
TEST_F(RuleTest, TheFirstUnreadableByteOfARule) {
    auto card_fault = [](const char* rule) { return first_unreadable_byte(str(rule), pushdown_machine); };
    EXPECT_EQ(card_fault("~(A,B) & !3 | T*"), -1);
    EXPECT_EQ(card_fault("Q(("), 0);
    EXPECT_EQ(card_fault("A )"), 2);     // left over, counted in the text as written
    EXPECT_EQ(card_fault("(A | "), 5);   // ends before its term
    EXPECT_EQ(card_fault("(A,B)"), 0);   // a plain list of two
    EXPECT_EQ(card_fault("~(A,B,C,D,E,F,1,2,3)"), 17);  // the ninth item's comma
    auto tape_fault = [](const char* rule) { return first_unreadable_byte(str(rule), turing_machine); };
    EXPECT_EQ(tape_fault("*R label"), -1);
    EXPECT_EQ(tape_fault("a"), -1);
    EXPECT_EQ(tape_fault("Q(("), 0);
    EXPECT_EQ(tape_fault("al"), 1);
    EXPECT_EQ(first_unreadable_byte(str("Q(("), state_machine), -1);
}

}  // namespace
