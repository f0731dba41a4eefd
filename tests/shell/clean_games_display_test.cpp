// What a new player met: games that inherited the last one's turn, dialogs left open, moves out of
// reach, clicks through the help. Each is played here through the menus and real frames.
#include "model/goals.h"
#include "model/map_list.h"
#include "model/turn_state.h"
#include "render/scene.h"
#include "screen/camera.h"
#include "screen/layout.h"
#include "screen/machine_view.h"
#include "screen/stone_animation.h"
#include "screen/text_entry.h"
#include "shell/application.h"
#include "ui_driver.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string text_of(string text) { return std::string(text.data ? text.data : "", static_cast<size_t>(text.length)); }

class CleanGames : public ::testing::Test {
protected:
    void SetUp() override {
        restart_at_main_menu();
        array_clear(&players);
        player_count = 1;
    }
    // Main menu to a running game of the kind's first map, two human seats.
    static void play_first_map(uint8_t kind, bool show_turn = true) {
        machine_kind = kind;
        run_frame();
        ASSERT_TRUE(click_button("Play Game"));
        run_frame();
        ASSERT_TRUE(click_button(">"));  // two seats
        run_frame();
        ASSERT_TRUE(click_button("OK"));
        run_frame();
        ASSERT_TRUE(click_button("Play"));
        run_frame();
        ASSERT_FALSE(map_list_open);
        if (show_turn) press_key(SDL_SCANCODE_SPACE);  // the first human shows the turn
    }
    static void click_world(double x, double y) {
        click_at((x - camera_x) * camera_zoom + window_width / 2.0, (y - camera_y) * camera_zoom + window_height / 2.0);
    }
    static void click_state(int16_t state) {
        float x, y;
        state_center(state, &x, &y);
        click_world(x, y);
    }
};

TEST_F(CleanGames, LeavingAGameAndPlayingAgainStartsWithAFreshTurnAndAFramedMap) {
    play_first_map(pushdown_machine);
    click_at(deck_slot().x + 64, deck_slot().y + 64);
    ASSERT_EQ(card_drawn, 1);
    click_state(0);
    ASSERT_EQ(source_state, 0);
    press_key(SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(player_setup_open);
    ASSERT_TRUE(click_button("OK"));
    run_frame();
    camera_x = 500;
    ASSERT_TRUE(click_button("Play"));
    EXPECT_EQ(card_drawn, 0);
    EXPECT_EQ(source_state, -1);
    EXPECT_EQ(selected_card, -1);
    EXPECT_EQ(moving_stone, -1);
    double x = camera_x, y = camera_y, zoom = camera_zoom;
    frame_whole_map();
    EXPECT_EQ(camera_x, x);
    EXPECT_EQ(camera_y, y);
    EXPECT_EQ(camera_zoom, zoom);
}

// The first of two people must not show their cards or goal to the other before their turn.
TEST_F(CleanGames, WithTwoHumansAGameOpensOnTheTurnPanelWithTheHandAndTheGoalHidden) {
    for (uint8_t kind : {pushdown_machine, turing_machine}) {
        play_first_map(kind, false);
        EXPECT_EQ(hand_revealed, 0) << int(kind);
        ScenePixel panel = scene_pixel(window_width / 2 - 380, window_height / 2 + 200);
        EXPECT_LT(panel.r + panel.g + panel.b, 8) << int(kind);  // the turn panel's dark box
        // A hidden pushdown hand shows only its count; a hidden goal nothing at all.
        std::string goal = text_of(goal_progress_text(players.data[0].goal));
        bool counts = drew_text(std::to_string(hand_size) + " cards");
        EXPECT_EQ(counts, kind == pushdown_machine);
        EXPECT_FALSE(drew_text(goal));
        press_key(SDL_SCANCODE_SPACE);
        EXPECT_EQ(hand_revealed, 1) << int(kind);
        EXPECT_FALSE(drew_text(std::to_string(hand_size) + " cards"));
        EXPECT_EQ(drew_text(goal), kind == turing_machine);
        press_key(SDL_SCANCODE_ESCAPE);
        press_key(SDL_SCANCODE_ESCAPE);
        run_frame();
    }
}

TEST_F(CleanGames, EscapeOutOfTheEditorClosesItsDialogForTheNextGame) {
    run_frame();
    ASSERT_TRUE(click_button("Editor"));
    run_frame();
    press_key_with(SDL_SCANCODE_LCTRL, SDL_SCANCODE_S);
    ASSERT_TRUE(entry_open);
    press_key(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(entry_open);
    play_first_map(state_machine);
    click_state(0);
    EXPECT_EQ(source_state, 0);
}

TEST_F(CleanGames, ClickingALabelPicksItsTransitionAmongFourSelfLoops) {
    current_map_index = 0;
    play_first_map(turing_machine);  // paint_the_tape: four loops on one state, "CL" the third
    ASSERT_EQ(transitions.count, 4);
    double x, y;
    label_center(transitions.data[2], &x, &y);
    int64_t cells = tape.count;
    click_world(x, y);
    EXPECT_EQ(selected_transition, 2);
    EXPECT_EQ(source_state, 0);
    EXPECT_EQ(target_state, 0);
    run_frame();
    EXPECT_EQ(tape.data[0].color, 2);
    EXPECT_EQ(tape_head, cells - 1);
}

TEST_F(CleanGames, TheHelpTakesTheClicksAndEscapeOnlyClosesIt) {
    run_frame();
    press_key(SDL_SCANCODE_F1);
    ASSERT_TRUE(click_button("Play Game"));
    run_frame();
    EXPECT_TRUE(main_menu_open);
    press_key(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(help_visible);
    EXPECT_TRUE(running);
    EXPECT_TRUE(main_menu_open);
}

}  // namespace
