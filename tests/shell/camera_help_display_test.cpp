// The camera, the help overlay and the heads-up texts, driven through whole frames.
#include "render/scene.h"
#include "screen/camera.h"
#include "screen/frame_input.h"
#include "screen/layout.h"
#include "screen/help_overlay.h"
#include "screen/text_entry.h"
#include "shell/application.h"
#include "ui_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <string>

namespace {

class CameraAndHelp : public ::testing::Test {
protected:
    void SetUp() override { restart_at_main_menu(); }
    void TearDown() override { entry_open = 0; }
};

TEST_F(CameraAndHelp, HoldingEForOneSecondZoomsInByHalfAndQZoomsOutAgain) {
    hold_key(SDL_SCANCODE_E);
    run_frames(60);
    release_key(SDL_SCANCODE_E);
    run_frame();
    EXPECT_NEAR(camera_zoom, 1.5, 1e-9);
    hold_key(SDL_SCANCODE_Q);
    run_frames(60);
    release_key(SDL_SCANCODE_Q);
    run_frame();
    EXPECT_NEAR(camera_zoom, 1.0, 1e-9);
}

TEST_F(CameraAndHelp, PanningCoversTheSameScreenDistanceAtAnyZoom) {
    hold_key(SDL_SCANCODE_D);
    run_frames(30);
    release_key(SDL_SCANCODE_D);
    run_frame();
    EXPECT_NEAR(camera_x, 128, 1e-9);
    camera_x = 0;
    camera_zoom = 2;
    hold_key(SDL_SCANCODE_S);
    run_frames(30);
    release_key(SDL_SCANCODE_S);
    run_frame();
    EXPECT_NEAR(camera_y, -64, 1e-9);
}

TEST_F(CameraAndHelp, TheWheelZoomsAboveTheBottomPanelOnlyAndTheZoomStaysInItsRange) {
    move_mouse(window_width / 2.0, window_height / 2.0);
    turn_wheel(1);
    run_frame();
    EXPECT_DOUBLE_EQ(camera_zoom, 1.25);
    move_mouse(window_width / 2.0, bottom_panel_height / 2);
    turn_wheel(1);
    run_frame();
    EXPECT_DOUBLE_EQ(camera_zoom, 1.25);
    move_mouse(window_width / 2.0, window_height / 2.0);
    turn_wheel(40);
    run_frame();
    EXPECT_DOUBLE_EQ(camera_zoom, max_camera_zoom);
    turn_wheel(-80);
    run_frame();
    EXPECT_DOUBLE_EQ(camera_zoom, min_camera_zoom);
}

TEST_F(CameraAndHelp, TypingSwitchesTheCameraKeysOffUntilTheEntryCloses) {
    camera_x = 50;
    camera_zoom = 3;
    entry_open = 1;
    press_key(SDL_SCANCODE_R);
    hold_key(SDL_SCANCODE_A);
    run_frames(10);
    release_key(SDL_SCANCODE_A);
    run_frame();
    EXPECT_EQ(camera_x, 50);
    EXPECT_EQ(camera_zoom, 3);
    entry_open = 0;
    press_key(SDL_SCANCODE_R);
    EXPECT_EQ(camera_x, 0);
    EXPECT_EQ(camera_y, 0);
    EXPECT_EQ(camera_zoom, 1);
}

// The record's world point is where the pointer is on the picture the player saw: the camera of the
// frame drawn before, not one moved since.
TEST_F(CameraAndHelp, TheMouseWorldPointIsSeenThroughTheCameraDrawnLastFrame) {
    camera_x = 100;
    camera_y = -40;
    camera_zoom = 2;
    move_mouse(window_width / 2.0 + 64, window_height / 2.0 - 32);
    run_frame();
    EXPECT_NEAR(frame_input.world_x, 64, 1e-3);
    EXPECT_NEAR(frame_input.world_y, -32, 1e-3);
    run_frame();
    EXPECT_NEAR(frame_input.world_x, 132, 1e-3);
    EXPECT_NEAR(frame_input.world_y, -56, 1e-3);
}

TEST_F(CameraAndHelp, TheHelpStartsWithTheTwentyOneStandardLinesAndThenListsTheScreensOwnControls) {
    string standard = standard_help_text();
    std::string lines(standard.data, static_cast<size_t>(standard.length));
    EXPECT_EQ(lines.size(), 473u);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 21);
    EXPECT_EQ(lines.substr(0, 15), "Game controls:\n");
    EXPECT_NE(lines.find("\n\nEditor controls:\n<1>: add state\n"), std::string::npos);
    EXPECT_NE(lines.find("\n         or rule from transition\n"), std::string::npos);
    const struct {
        HelpScreen screen;
        std::vector<const char*> controls;
    } screens[] = {
        {help_for_menus, {"left click: press a button"}},
        {help_for_play, {"space:", "shift+n:", "h: hint", "v (held): every move's value", "mouse wheel:", "drag: move camera", "+/-:"}},
        {help_for_editor, {"ctrl+z: undo", "y/n:", "mouse wheel:", "drag on empty ground"}},
    };
    for (const auto& each : screens) {
        string text = help_text(each.screen);
        std::string help(text.data, static_cast<size_t>(text.length));
        EXPECT_EQ(help.substr(0, lines.size()), lines);
        for (const char* control : each.controls) EXPECT_NE(help.find(control), std::string::npos) << control;
    }
}

TEST_F(CameraAndHelp, HelpDarkensEveryScreenAndF1HidesItAgain) {
    int32_t x = window_width / 2 + 300, y = window_height / 2 - 350;
    ScenePixel menu = scene_pixel(x, y);
    press_key(SDL_SCANCODE_F1);
    ASSERT_TRUE(help_visible);
    ScenePixel covered = scene_pixel(x, y);
    EXPECT_LT(covered.r + covered.g + covered.b, menu.r + menu.g + menu.b);
    EXPECT_LE(covered.b, 3);
    press_key(SDL_SCANCODE_F1);
    EXPECT_FALSE(help_visible);

    main_menu_open = false;
    run_frame();
    ScenePixel game = scene_pixel(x, y);
    press_key(SDL_SCANCODE_F1);
    ScenePixel game_covered = scene_pixel(x, y);
    EXPECT_LE(game_covered.b, 3);
    EXPECT_GT(game.b, game_covered.b);
}

}  // namespace
