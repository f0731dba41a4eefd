#include "base/arena.h"
#include "model/game_data.h"
#include "model/map_history.h"
#include "model/turn_state.h"
#include "screen/editor.h"
#include "screen/goal_builder.h"
#include "screen/screen_state.h"

#include <gtest/gtest.h>

namespace {

class EditorModel : public ::testing::Test {
protected:
    void SetUp() override {
        if (!persistent_arena.base) create_arenas(persistent_arena_capacity, frame_arena_capacity);
        arena_empty(PERSISTENT_ARENA);
        reset_model_and_screens();
        map_scale = 2;
    }
};

TEST_F(EditorModel, NewStatesSnapToTheGridInMapUnitsAndBecomeTheSource) {
    target_state = 4;
    add_state_at(47, -17);
    ASSERT_EQ(states.count, 1);
    EXPECT_EQ(states.data[0].x, 32 / 2.0);
    EXPECT_EQ(states.data[0].y, -32 / 2.0);
    EXPECT_EQ(source_state, 0);
    EXPECT_EQ(target_state, -1);
    add_stone_on_source();
    EXPECT_EQ(stones.count, 1);
    target_state = 0;
    add_stone_on_source();  // a target is chosen: no stone
    EXPECT_EQ(stones.count, 1);
    add_transition_between_selected();
    ASSERT_EQ(transitions.count, 1);
    EXPECT_EQ(transitions.data[0].from, 0);
    EXPECT_EQ(transitions.data[0].to, 0);
    EXPECT_EQ(transitions.data[0].label_dx, 112);  // a self-loop's label starts beside its loop
}

TEST_F(EditorModel, ThereIsNoRoomForAState257) {
    for (int i = 0; i < 300; i++) add_state_at(i * 32, 0);
    EXPECT_EQ(states.count, max_states);
}

// States 0..3; transitions 0->3, 3->1, 1->2, 2->0; stones on 0, 3, 0, 2.
TEST_F(EditorModel, RemovingAStateMovesTheLastIntoItsPlaceWithItsTransitionsAndStones) {
    for (int i = 0; i < 4; i++) array_push(&states, State{static_cast<double>(i), 0, 0, 0});
    const int16_t ends[4][2] = {{0, 3}, {3, 1}, {1, 2}, {2, 0}};
    for (const auto& e : ends) array_push(&transitions, Transition{e[0], e[1], 0, 0, 0, string{nullptr, 0}});
    for (int16_t s : {0, 3, 0, 2}) array_push(&stones, s);

    source_state = 0;
    remove_source_state(true);
    EXPECT_EQ(stones.count, 3);
    EXPECT_EQ(states.count, 4);

    remove_source_state(false);
    ASSERT_EQ(states.count, 3);
    EXPECT_EQ(states.data[0].x, 3);  // the last state took index 0
    EXPECT_EQ(source_state, -1);
    ASSERT_EQ(transitions.count, 2);
    // 3->1 became 0->1; 1->2 stayed.
    EXPECT_EQ(transitions.data[0].from, 1);
    EXPECT_EQ(transitions.data[0].to, 2);
    EXPECT_EQ(transitions.data[1].from, 0);
    EXPECT_EQ(transitions.data[1].to, 1);
    ASSERT_EQ(stones.count, 2);
    EXPECT_EQ(stones.data[0], 2);
    EXPECT_EQ(stones.data[1], 0);

    source_state = 2;
    remove_source_state(false);  // the last state: nothing to renumber
    EXPECT_EQ(states.count, 2);
    EXPECT_EQ(stones.count, 1);
    EXPECT_EQ(transitions.count, 1);
}

// One edit a step: the ring keeps the newest, and undo stops at the oldest kept.
TEST_F(EditorModel, TheUndoHistoryReachesBackAsFarAsItsRingHolds) {
    array_push(&states, State{0, 0, 1, 0});
    start_map_history();
    for (int64_t i = 1; i <= map_history_capacity + 100; i++) {
        states.data[0].x = static_cast<double>(i);
        EXPECT_TRUE(record_map_edit());
    }
    int64_t undone = 0;
    while (undo_map_edit()) undone++;
    EXPECT_EQ(undone, map_history_capacity - 1);
    EXPECT_EQ(states.data[0].x, 101);
    EXPECT_EQ(states.data[0].marked, 1);  // a flag the file format drops comes back too
}

TEST_F(EditorModel, GoalOperandsWrapThroughTheirRanges) {
    uint8_t color = 0, shape = 5, number = 1;
    step_goal_operand(&color, &shape, &number, -1);
    EXPECT_EQ(color, 5);
    EXPECT_EQ(shape, 4);
    EXPECT_EQ(number, 6);
    number = 200;
    step_goal_operand(&color, &shape, &number, -1);
    EXPECT_EQ(number, 6);
    step_goal_operand(&color, &shape, &number, +1);
    step_goal_operand(&color, &shape, &number, +1);
    EXPECT_EQ(color, 0);  // 4, 5, then round to 0
    EXPECT_EQ(shape, 5);
    EXPECT_EQ(number, 2);  // 6, then round to 1, then 2
}

}  // namespace
