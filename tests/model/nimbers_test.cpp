#include "model_fixture.h"

#include "base/random.h"
#include "model/computer_players.h"
#include "model/nimbers.h"

namespace {

void add_states(int count) {
    for (int i = 0; i < count; i++) array_push(&states, State{static_cast<double>(i), 0, 0, 0});
}

void add_transition(int16_t from, int16_t to) { array_push(&transitions, Transition{from, to, 0, 0, 0, str("")}); }

std::vector<int> nimber_list() { return std::vector<int>(nimbers.data, nimbers.data + nimbers.count); }

class NimberTest : public ModelFixture {
protected:
    void SetUp() override { reset_model(state_machine); }
};

TEST_F(NimberTest, SmallExamples) {
    add_states(3);
    add_transition(0, 1);
    add_transition(1, 2);
    add_transition(0, 2);
    compute_nimbers();
    EXPECT_EQ(nimber_list(), (std::vector<int>{2, 1, 0}));

    states = {};
    transitions = {};
    add_states(6);
    add_transition(1, 0);   // 1: 1
    add_transition(2, 0);
    add_transition(2, 1);   // 2: 2
    add_transition(3, 2);
    add_transition(3, 0);   // 3: 1... then mex{2,0}
    add_transition(4, 0);
    add_transition(4, 1);
    add_transition(4, 5);   // 5 has nimber 0 too
    add_transition(5, 1);   // 5: mex{1} = 0
    compute_nimbers();
    EXPECT_EQ(nimber_list(), (std::vector<int>{0, 1, 2, 1, 2, 0}));

    // Successors valued 0, 1 and 3 give 2.
    states = {};
    transitions = {};
    add_states(5);
    add_transition(1, 0);
    add_transition(2, 0);
    add_transition(2, 1);
    add_transition(3, 2);
    add_transition(3, 0);
    add_transition(3, 1);
    add_transition(4, 0);
    add_transition(4, 1);
    add_transition(4, 3);
    compute_nimbers();
    EXPECT_EQ(nimbers.data[3], 3);
    EXPECT_EQ(nimbers.data[4], 2);
}

TEST_F(NimberTest, CyclesFailOnce) {
    add_states(5);
    add_transition(0, 1);
    add_transition(1, 2);
    add_transition(2, 1);
    add_transition(3, 4);
    testing::internal::CaptureStdout();
    compute_nimbers();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "failed to calculate nimbers!\n");
    EXPECT_EQ(nimbers.data[0], unknown_nimber);
    EXPECT_EQ(nimbers.data[1], unknown_nimber);
    EXPECT_EQ(nimbers.data[2], unknown_nimber);
    EXPECT_EQ(nimbers.data[3], 1);  // examined before the cycle was met
    EXPECT_EQ(nimbers.data[4], 0);

    states = {};
    transitions = {};
    add_states(2);
    add_transition(0, 1);
    add_transition(1, 1);
    testing::internal::CaptureStdout();
    compute_nimbers();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "failed to calculate nimbers!\n");
    EXPECT_EQ(nimber_list(), (std::vector<int>{255, 255}));
}

TEST_F(NimberTest, LoadingComputesNimbersOnlyForStateMachines) {
    ASSERT_TRUE(load_map_text(". 0 0\n. 1 0\n=> 0 1 0\n"));
    EXPECT_EQ(nimber_list(), (std::vector<int>{1, 0}));
    machine_kind = pushdown_machine;
    ASSERT_TRUE(load_map_text(". 0 0\n. 1 0\n. 2 0\n=> 0 1 0\n"));
    EXPECT_EQ(nimbers.count, 2);
    machine_kind = state_machine;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(load_map_text(". 0 0\n=> 0 0 45\n"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "failed to calculate nimbers!\n");
}

TEST_F(NimberTest, ExaminationsOfAChain) {
    // A chain 9 -> 8 -> ... -> 0 examined from state 9 down: nine waits, then every state is
    // valued once, then the nine valued copies left on the stack are taken off.
    add_states(10);
    for (int16_t s = 0; s < 9; s++) add_transition(static_cast<int16_t>(s + 1), s);
    EXPECT_EQ(compute_nimbers(), 9 + 1 + 8 + 1 + 9);
    EXPECT_EQ(nimber_list(), (std::vector<int>{0, 1, 0, 1, 0, 1, 0, 1, 0, 1}));
    // The other direction is valued top down in one examination each.
    transitions = {};
    for (int16_t s = 0; s < 9; s++) add_transition(s, static_cast<int16_t>(s + 1));
    EXPECT_EQ(compute_nimbers(), 10);
}

// On a map without cycles every state's value is the smallest one none of its successors has.
TEST_F(NimberTest, RandomAcyclicMapsKeepTheSmallestMissingValueRule) {
    for (int round = 0; round < 40; round++) {
        states = {};
        transitions = {};
        seed_random(static_cast<uint64_t>(round));
        int count = 1 + static_cast<int>(random_below(256));
        add_states(count);
        int edges = static_cast<int>(random_below(static_cast<uint64_t>(count) * 8));
        bool downwards = round % 2 == 0;
        for (int e = 0; e < edges && count > 1; e++) {
            int16_t a = static_cast<int16_t>(random_below(count)), b = static_cast<int16_t>(random_below(count));
            if (a == b) continue;
            int16_t low = a < b ? a : b, high = a < b ? b : a;
            add_transition(downwards ? high : low, downwards ? low : high);
        }
        compute_nimbers();
        std::vector<int> values = nimber_list();
        ASSERT_EQ(values.size(), static_cast<size_t>(count)) << round;
        for (int s = 0; s < count; s++) {
            std::vector<bool> taken(256, false);
            for (int64_t t = 0; t < transitions.count; t++) {
                if (transitions.data[t].from == s) taken[static_cast<size_t>(values[transitions.data[t].to])] = true;
            }
            EXPECT_FALSE(taken[static_cast<size_t>(values[s])]) << round << " state " << s;
            for (int below = 0; below < values[s]; below++) EXPECT_TRUE(taken[static_cast<size_t>(below)]) << round;
        }
    }
}

TEST_F(NimberTest, ComputerStrengths) {
    add_states(3);
    add_transition(0, 1);
    add_transition(1, 2);
    add_transition(0, 2);
    compute_nimbers();
    array_push(&stones, int16_t{0});
    Move move;
    for (int round = 0; round < 20; round++) {
        ASSERT_TRUE(choose_state_machine_move(hard, &move));
        EXPECT_EQ(move.stone, 0);
        EXPECT_EQ(move.target, 2);
        ASSERT_TRUE(choose_state_machine_move(easy, &move));
        EXPECT_EQ(move.target, 1);
    }
    int to_zero = 0;
    for (int round = 0; round < 1000; round++) {
        ASSERT_TRUE(choose_state_machine_move(normal, &move));
        to_zero += move.target == 2;
    }
    EXPECT_GT(to_zero, 420);
    EXPECT_LT(to_zero, 580);
    ASSERT_TRUE(choose_state_machine_move(7, &move));
    EXPECT_EQ(move.stone, 0);
    EXPECT_EQ(move.target, 0);

    stones.data[0] = 2;
    EXPECT_FALSE(choose_state_machine_move(hard, &move));
    EXPECT_EQ(frame_arena.used, 0);
}

TEST_F(NimberTest, OnlyTheLowestStoneOnAStateIsTried) {
    add_states(3);
    add_transition(0, 1);
    add_transition(0, 1);
    compute_nimbers();
    array_push(&stones, int16_t{2});
    array_push(&stones, int16_t{0});
    array_push(&stones, int16_t{0});
    Move move;
    for (int round = 0; round < 10; round++) {
        ASSERT_TRUE(choose_state_machine_move(normal, &move));
        EXPECT_EQ(move.stone, 1);
    }
}

}  // namespace
