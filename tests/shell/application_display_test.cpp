// Runs the frame loop one frame at a time with injected SDL events.
#include "base/arena.h"
#include "model/game_data.h"
#include "model/kept_game.h"
#include "model/map_list.h"
#include "model/turn_state.h"
#include "render/resources.h"
#include "shell/application.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <kestrune_system.h>

#include <string>
#include <vector>

#include <unistd.h>

namespace {

class FrameLoop : public ::testing::Test {
protected:
    void SetUp() override {
        static bool started = false;
        if (!started) {
            application_start();
            started = true;
            static std::string kept = testing::TempDir() + "varnholt_frame_loop_game_" + std::to_string(getpid()) + ".txt";
            set_kept_game_path(str(kept.c_str()));
        }
        forget_kept_game();
        running = true;
        main_menu_open = true;
        player_setup_open = map_list_open = editor_mode = false;
        help_visible = memory_overlay_visible = false;
        application_frame();
    }

    static void press(SDL_Scancode scancode) {
        for (bool down : {true, false}) {
            SDL_Event event{};
            event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
            event.key.windowID = sdl_window_id;
            event.key.keysym.scancode = scancode;
            SDL_PushEvent(&event);
        }
    }

    static void frame_with_key(SDL_Scancode scancode) {
        press(scancode);
        application_frame();
    }
};

TEST_F(FrameLoop, StartUpLeavesTheMainMenuUpAndTheFrameArenaEmptied) {
    EXPECT_TRUE(running);
    EXPECT_TRUE(main_menu_open);
    EXPECT_EQ(machine_kind, 1);
    EXPECT_EQ(window_width, 1024);
    EXPECT_EQ(window_height, 832);
    EXPECT_DOUBLE_EQ(frame_time, 1.0 / 60.0);
    EXPECT_GT(states.count, 0);  // the demonstration map is current
    EXPECT_GE(state_map_list.count, 5);
    EXPECT_GE(pushdown_map_list.count, 5);
    EXPECT_GE(turing_map_list.count, 5);
    arena_allocate(FRAME_ARENA, 4096);
    application_frame();
    EXPECT_EQ(frame_arena.used, 0);
}

// Start-up gives the decoding block back to the persistent arena; a later decode must not
// write into what the arena holds now.
TEST_F(FrameLoop, AfterStartUpNoPictureDecodesIntoThePersistentArena) {
    std::vector<uint8_t> before(persistent_arena.base, persistent_arena.base + persistent_arena.used);
    testing::internal::CaptureStdout();
    image picture = image_load(str("resources/white.png"), IMAGE_RGBA);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(picture.pixels, nullptr);
    std::vector<uint8_t> after(persistent_arena.base, persistent_arena.base + persistent_arena.used);
    EXPECT_TRUE(before == after);
}

// After the title's first frame its animation keeps its pace: the pictures it does not show come
// one a frame, and any other screen takes all that are left before it draws.
TEST_F(FrameLoop, TheTitleLoadsOnePictureAFrameAndAnotherScreenTheRest) {
    ArenaMark before = arena_mark(PERSISTENT_ARENA);
    destroy_render_resources();
    load_title_resources();
    release_image_memory();
    arena_reset_to(before);
    ASSERT_EQ(machine_kind, pushdown_machine);
    application_frame();
    EXPECT_TRUE(machine_picture_loaded(state_machine));
    EXPECT_FALSE(machine_picture_loaded(turing_machine));
    application_frame();
    EXPECT_TRUE(machine_picture_loaded(turing_machine));
    EXPECT_EQ(player_texture.name, 0u);
    main_menu_open = false;
    player_setup_open = true;
    application_frame();
    EXPECT_FALSE(later_pictures_pending);
    EXPECT_NE(player_texture.name, 0u);
}

TEST_F(FrameLoop, EscapeStepsBackFromPlayModeToQuitting) {
    main_menu_open = false;
    help_visible = true;
    frame_with_key(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(help_visible);
    EXPECT_FALSE(player_setup_open);  // closing the help is all it did
    frame_with_key(SDL_SCANCODE_ESCAPE);
    EXPECT_TRUE(player_setup_open);
    EXPECT_TRUE(running);
    frame_with_key(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(player_setup_open);
    EXPECT_TRUE(main_menu_open);
    EXPECT_TRUE(running);
    frame_with_key(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(running);
}

TEST_F(FrameLoop, EscapeOnTheMapListReturnsToWhereItWasOpened) {
    main_menu_open = false;
    map_list_open = true;
    editor_mode = true;
    frame_with_key(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(map_list_open);
    EXPECT_FALSE(player_setup_open);
    EXPECT_TRUE(editor_mode);
    frame_with_key(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(editor_mode);
    EXPECT_TRUE(main_menu_open);

    main_menu_open = false;
    map_list_open = true;
    frame_with_key(SDL_SCANCODE_ESCAPE);
    EXPECT_TRUE(player_setup_open);
}

TEST_F(FrameLoop, EscapeWithAnOverlayShownOnlyClosesIt) {
    help_visible = true;
    frame_with_key(SDL_SCANCODE_ESCAPE);
    EXPECT_TRUE(running);
    EXPECT_FALSE(help_visible);
    legend_visible = true;
    frame_with_key(SDL_SCANCODE_ESCAPE);
    EXPECT_TRUE(running);
    EXPECT_FALSE(legend_visible);
    frame_with_key(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(running);
}

TEST_F(FrameLoop, FunctionKeysToggleOverlays) {
    frame_with_key(SDL_SCANCODE_F1);
    EXPECT_TRUE(help_visible);
    frame_with_key(SDL_SCANCODE_F3);
    EXPECT_TRUE(memory_overlay_visible);
    frame_with_key(SDL_SCANCODE_F2);
    EXPECT_TRUE(legend_visible);
    EXPECT_FALSE(help_visible);  // one page at a time
    frame_with_key(SDL_SCANCODE_F1);
    EXPECT_TRUE(help_visible);
    EXPECT_FALSE(legend_visible);
    frame_with_key(SDL_SCANCODE_F1);
    EXPECT_FALSE(help_visible);
    EXPECT_TRUE(memory_overlay_visible);
}

TEST_F(FrameLoop, FullscreenTwiceReturnsToTheWindowSize) {
    SDL_DisplayMode desktop{};
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    frame_with_key(SDL_SCANCODE_F11);
    EXPECT_TRUE(window_fullscreen);
    EXPECT_EQ(window_width, desktop.w);
    EXPECT_EQ(window_height, desktop.h);
    frame_with_key(SDL_SCANCODE_F11);
    EXPECT_FALSE(window_fullscreen);
    EXPECT_EQ(window_width, 1024);
    EXPECT_EQ(window_height, 832);
}

TEST_F(FrameLoop, CloseButtonEndsTheLoopAfterTheFrame) {
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
    application_frame();
    EXPECT_FALSE(running);
    EXPECT_EQ(pipeline_get_error(), 0);
}

}  // namespace
