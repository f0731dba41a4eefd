#include "base/arena.h"
#include "model/game_data.h"
#include "model/referee.h"
#include "model/turn_state.h"
#include "screen/screen_state.h"
#include "screen/stone_animation.h"

#include <gtest/gtest.h>

namespace {

class StoneAnimation : public ::testing::Test {
protected:
    void SetUp() override {
        if (!persistent_arena.base) create_arenas(persistent_arena_capacity, frame_arena_capacity);
        arena_empty(PERSISTENT_ARENA);
        reset_model_and_screens();
        machine_kind = state_machine;
        map_scale = 1;
        array_push(&states, State{0, 0, 0, 0});
        array_push(&states, State{100, 0, 0, 0});
        array_push(&stones, int16_t{0});
    }
};

TEST_F(StoneAnimation, StonesPileUpEightUnitsApartOnTheirState) {
    map_x = 10;
    map_y = -5;
    map_scale = 2;
    states.data[0] = State{1, 2, 0, 0};
    state_lift[0] = 3;
    float x = 0, y = 0;
    stone_position(0, &x, &y);
    EXPECT_EQ(x, 12.0f);
    EXPECT_EQ(y, -1.0f + 24.0f);
}

TEST_F(StoneAnimation, AMoveStartsFromWhereTheStoneWasLastDrawnAndOnlyOnce) {
    state_lift[0] = 3;
    apply_move(0, 1, string{nullptr, 0}, default_card, -1);
    start_stone_animation();
    EXPECT_EQ(moving_stone, 0);
    EXPECT_EQ(moving_stone_position[0], 0.0f);
    EXPECT_EQ(moving_stone_position[1], 24.0f);
    EXPECT_EQ(animated_move_number, last_move.number);

    moving_stone_position[1] = 5;
    start_stone_animation();
    EXPECT_EQ(moving_stone_position[1], 5.0f);
}

TEST_F(StoneAnimation, TheSpringSettlesOnTheTargetCentreAndThenStops) {
    apply_move(0, 1, string{nullptr, 0}, default_card, -1);
    start_stone_animation();
    int frames = 0;
    while (moving_stone >= 0 && frames < 600) {
        animate_moving_stone(1.0 / 60.0);
        frames++;
    }
    EXPECT_EQ(moving_stone, -1);
    EXPECT_GT(frames, 5);
    EXPECT_EQ(moving_stone_position[0], 100.0f);
    EXPECT_EQ(moving_stone_position[1], 0.0f);
}

TEST_F(StoneAnimation, TheFirstStepFollowsTheSpringFormula) {
    apply_move(0, 1, string{nullptr, 0}, default_card, -1);
    start_stone_animation();
    moving_stone_velocity[0] = 60;
    animate_moving_stone(1.0 / 60.0);
    // v = 60 + (100 - 0) * 1.5 - 60 * 24 / 60 = 186; p = 186 / 60.
    EXPECT_FLOAT_EQ(moving_stone_velocity[0], 186.0f);
    EXPECT_FLOAT_EQ(moving_stone_position[0], 3.1f);
}

}  // namespace
