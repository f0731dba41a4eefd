// Move values in the running frame loop: V held on a human seat's turn labels every move and
// marks the best as the hint does; letting go, or a computer seat's turn, shows nothing.
#include "base/random.h"
#include "model/map_list.h"
#include "model/referee.h"
#include "model/turn_state.h"
#include "screen/camera.h"
#include "screen/hand.h"
#include "screen/hint.h"
#include "screen/machine_view.h"
#include "screen/move_values.h"
#include "shell/application.h"
#include "ui_driver.h"

#include <gtest/gtest.h>

namespace {

class MoveValues : public ::testing::Test {
protected:
    void SetUp() override {
        restart_at_main_menu();
        seed_random(11);
    }
    void TearDown() override { release_key(SDL_SCANCODE_V); }
    // The first map of the kind's list ("first_steps", "colour_square"); seat 0 human or not,
    // seat 1 human.
    static void play(uint8_t kind, GrowableArray<MapListEntry>* list, bool first_seat_computer) {
        machine_kind = kind;
        current_map_list = list;
        current_map_index = 0;
        array_clear(&players);
        for (int64_t seat = 0; seat < 2; seat++) array_push(&players, new_player(seat));
        players.data[0].is_computer = first_seat_computer;
        players.data[0].difficulty = hard;
        player_count = 2;
        ASSERT_TRUE(start_game());
        main_menu_open = false;
        run_frame();
    }
    // Where a transition's value is drawn, through the camera.
    static ScenePixel value_pixel(int16_t transition) {
        double x, y;
        value_place(transitions.data[transition], &x, &y);
        return scene_pixel(static_cast<int32_t>(window_width / 2.0 + (x - camera_x) * camera_zoom),
                           static_cast<int32_t>(window_height / 2.0 + (y - camera_y) * camera_zoom));
    }
};

TEST_F(MoveValues, HeldVLabelsEveryStateMachineMoveAndLettingGoHidesThem) {
    play(state_machine, &state_map_list, false);
    press_key(SDL_SCANCODE_SPACE);  // two humans: past the turn panel
    run_frame();
    ScenePixel before = value_pixel(0);
    hold_key(SDL_SCANCODE_V);
    run_frames(2);
    ASSERT_TRUE(move_values.shown);
    ASSERT_EQ(move_values.rated.count, 2);  // 0 -> 1 and 0 -> 2
    EXPECT_EQ(move_values.rated.data[0].outcome, position_lost);
    EXPECT_TRUE(hint.shown);  // the best move, marked as the hint marks it
    EXPECT_EQ(hint.from_state, 0);
    EXPECT_EQ(hint.target, 1);
    ScenePixel shown = value_pixel(0);
    EXPECT_NE(shown.r + 2 * shown.g + 3 * shown.b, before.r + 2 * before.g + 3 * before.b);
    EXPECT_EQ(stones.data[0], 0);  // nothing moved
    release_key(SDL_SCANCODE_V);
    run_frame();
    EXPECT_FALSE(move_values.shown);
    EXPECT_FALSE(hint.shown);
    ScenePixel after = value_pixel(0);
    EXPECT_EQ(after.r + 2 * after.g + 3 * after.b, before.r + 2 * before.g + 3 * before.b);
}

TEST_F(MoveValues, NothingIsShownOnAComputerSeatsTurn) {
    play(state_machine, &state_map_list, true);
    hold_key(SDL_SCANCODE_V);
    run_frame();
    EXPECT_FALSE(move_values.shown);
    EXPECT_FALSE(hint.shown);
}

TEST_F(MoveValues, PushdownSharesStandOverTheHandCards) {
    play(pushdown_machine, &pushdown_map_list, false);
    press_key(SDL_SCANCODE_SPACE);  // two humans: past the turn panel
    run_frame();
    hold_key(SDL_SCANCODE_V);
    run_frame();
    ASSERT_TRUE(move_values.shown);
    ASSERT_GT(move_values.rated.count, 0);
    int64_t card = move_values.rated.data[0].move.card;
    const GrowableArray<Card>& hand = players.data[current_player].hand;
    double x = hand_card_x(card, hand.count, window_width, 0) + 64;
    ScenePixel label = scene_pixel(static_cast<int32_t>(x), static_cast<int32_t>(hand_card_top + 12));
    release_key(SDL_SCANCODE_V);
    run_frame();
    ScenePixel plain = scene_pixel(static_cast<int32_t>(x), static_cast<int32_t>(hand_card_top + 12));
    EXPECT_NE(label.r + 2 * label.g + 3 * label.b, plain.r + 2 * plain.g + 3 * plain.b);
}

}  // namespace
