// The game screen in the running frame loop: clicks on states, the deck and the next-turn
// button, the hand's scrolling, the overlays and the restart, on maps shipped with the game.
#include "base/random.h"
#include "model/computer_players.h"
#include "model/map_list.h"
#include "model/referee.h"
#include "model/turn_state.h"
#include "screen/camera.h"
#include "screen/frame_input.h"
#include "screen/game_screen.h"
#include "screen/hand.h"
#include "screen/heads_up.h"
#include "screen/hint.h"
#include "screen/layout.h"
#include "screen/machine_view.h"
#include "screen/stone_animation.h"
#include "screen/stone_counts.h"
#include "shell/application.h"
#include "ui_driver.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class GameScreen : public ::testing::Test {
protected:
    void SetUp() override {
        restart_at_main_menu();
        seed_random(11);
    }
    // The first map of the kind's list ("first_steps", "colour_square") for two humans.
    // computer_seat: the one seat played by "hard", -1 for none.
    static void play(uint8_t kind, GrowableArray<MapListEntry>* list, int64_t computer_seat = -1) {
        machine_kind = kind;
        current_map_list = list;
        current_map_index = 0;
        array_clear(&players);
        for (int64_t seat = 0; seat < 2; seat++) array_push(&players, new_player(seat));
        for (int64_t seat = 0; seat < 2; seat++) {
            players.data[seat].is_computer = seat == computer_seat;
            players.data[seat].difficulty = hard;
        }
        player_count = 2;
        ASSERT_TRUE(start_game());
        main_menu_open = false;
        run_frame();
        // Two people at the screen: the first, too, shows its turn before playing.
        if (computer_seat < 0) {
            EXPECT_FALSE(hand_revealed);
            press_key(SDL_SCANCODE_SPACE);
        }
    }
    // The camera starts centred on the world's origin at zoom 1.
    static void click_state(int16_t state, uint8_t button = SDL_BUTTON_LEFT) {
        float x, y;
        state_center(state, &x, &y);
        click_at(window_width / 2.0 + x, window_height / 2.0 + y, button);
    }
    static void move(int16_t source, int16_t target) {
        click_state(source);
        click_state(target);
        run_frames(40);
    }
    static void click_deck() { click_at(deck_slot().x + 64, deck_slot().y + 64); }
    static void click_next_turn() { click_at(window_width - 80, window_height - 80); }
    // The dark box of the turn and end overlays, left of the machine.
    static bool overlay_shown() {
        ScenePixel pixel = scene_pixel(window_width / 2 - 380, window_height / 2 + 200);
        return pixel.r + pixel.g + pixel.b < 8;
    }
};

TEST_F(GameScreen, ClicksChooseSourceAndTargetAndRightClicksTakeThemBack) {
    play(state_machine, &state_map_list);
    auto notice = [] { return std::string(notice_text.data, static_cast<size_t>(notice_text.length)); };
    click_state(1);  // no stone stands there: refused, and nothing stays chosen
    run_frame();
    EXPECT_EQ(source_state, -1);
    EXPECT_EQ(notice(), "No stone stands on that state");
    click_state(0);
    EXPECT_EQ(source_state, 0);
    click_state(0);  // the source again: a self-loop, which this map lacks
    run_frame();
    EXPECT_EQ(target_state, -1);
    EXPECT_EQ(notice(), "No transition leads from that state to that one");
    click_state(3);
    run_frame();
    EXPECT_EQ(target_state, -1);
    EXPECT_EQ(source_state, 0);
    click_state(0, SDL_BUTTON_RIGHT);
    EXPECT_EQ(source_state, -1);
    click_state(0);
    click_state(0, SDL_BUTTON_RIGHT);
    EXPECT_EQ(source_state, -1);
}

// Two stones on a state show their count; the stone still moving there is counted once it arrives.
TEST_F(GameScreen, AStateWithTwoStonesShowsTheirCount) {
    play(state_machine, &state_map_list);
    array_push(&stones, int16_t{0});
    run_frame();
    float x, y;
    state_center(0, &x, &y);
    ScenePixel badge = scene_pixel(static_cast<int32_t>(window_width / 2 + x + 8), static_cast<int32_t>(window_height / 2 + y - 18));
    EXPECT_TRUE(badge.r > 200 && badge.g > 150 && badge.b < 100);
    moving_stone = 1;
    EXPECT_EQ(stones_shown_on(0, true), 1);
    EXPECT_EQ(stones_shown_on(0, false), 2);
}

TEST_F(GameScreen, AfterAnAnimatedMoveTheNextHumanSeesTheTurnOverlayUntilSpace) {
    play(state_machine, &state_map_list);
    EXPECT_FALSE(overlay_shown());
    click_state(0);
    click_state(1);
    run_frame();
    EXPECT_EQ(moving_stone, 0);
    run_frames(120);
    EXPECT_EQ(moving_stone, -1);
    float x, y;
    state_center(1, &x, &y);
    EXPECT_EQ(moving_stone_position[0], x);
    EXPECT_EQ(current_player, 1);
    EXPECT_TRUE(overlay_shown());
    press_key(SDL_SCANCODE_SPACE);
    run_frame();
    EXPECT_EQ(hand_revealed, 1);
    EXPECT_FALSE(overlay_shown());
}

// first_steps: from state 1 the arrow to the accepting state 3 wins; the one to 2 does not.
TEST_F(GameScreen, ClicksOutsideAHumansOwnShownTurnChooseNothing) {
    play(state_machine, &state_map_list, 1);
    click_state(0);
    click_state(1);
    for (int frame = 0; frame < 60 && current_player == 0; frame++) run_frame();  // the move's pause
    ASSERT_EQ(current_player, 1);
    ASSERT_GT(computer_delay, 0);
    click_state(1);
    click_state(2);
    EXPECT_EQ(source_state, -1);
    run_frames(60);
    EXPECT_EQ(stones.data[0], 3);  // the computer's own choice
    EXPECT_EQ(winner, 1);

    play(state_machine, &state_map_list);
    move(0, 1);
    ASSERT_TRUE(current_player == 1 && !hand_revealed);
    click_state(1);  // before Blue has shown the turn
    click_state(2);
    run_frames(40);
    EXPECT_EQ(stones.data[0], 1);
    EXPECT_EQ(source_state, -1);
    press_key(SDL_SCANCODE_SPACE);
    move(1, 3);
    EXPECT_EQ(winner, 1);

    // On a pushdown map no refusal tells the clicker about the hand of the seat to move.
    play(pushdown_machine, &pushdown_map_list, 1);
    click_deck();
    click_next_turn();
    ASSERT_GT(computer_delay, 0);
    int64_t deck_cards = deck.count;
    click_state(0);
    click_state(1);
    click_deck();
    run_frames(2);
    EXPECT_LE(notice_time_left, 0);
    EXPECT_EQ(deck.count, deck_cards);
    EXPECT_EQ(source_state, -1);
}

TEST_F(GameScreen, APushdownPlayerDrawsOnceAndThenMayEndTheTurnWithTheButton) {
    play(pushdown_machine, &pushdown_map_list);
    int64_t deck_cards = deck.count;
    click_next_turn();  // no button before a draw
    click_deck();
    click_deck();
    EXPECT_EQ(deck.count, deck_cards - 1);
    EXPECT_EQ(players.data[0].hand.count, hand_size + 1);
    EXPECT_EQ(current_player, 0);
    click_next_turn();
    EXPECT_EQ(current_player, 1);
    EXPECT_EQ(card_drawn, 0);
}

TEST_F(GameScreen, AnOverflowingHandScrollsWithinItsLimitsAndResetsOnceItFits) {
    play(pushdown_machine, &pushdown_map_list);
    while (players.data[0].hand.count < 12) array_push(&players.data[0].hand, Card{1, 1, 1});
    double limit = 1 - (window_width - 32.0) / (144 * 12 - 16);
    move_mouse(window_width / 2.0, 100);
    turn_wheel(-40);
    run_frame();
    EXPECT_DOUBLE_EQ(hand_scroll, limit);
    turn_wheel(3);
    run_frame();
    EXPECT_DOUBLE_EQ(hand_scroll, limit - 3 * 0.03125);
    players.data[0].hand.count = 7;
    run_frame();
    EXPECT_EQ(hand_scroll, 0);
}

TEST_F(GameScreen, TheWinnerIsShownAndSpaceRestartsTheSameMap) {
    play(state_machine, &state_map_list);
    move(0, 1);
    press_key(SDL_SCANCODE_SPACE);
    move(1, 3);  // onto the only accepting state
    EXPECT_EQ(winner, 1);
    EXPECT_TRUE(overlay_shown());
    click_state(0);
    press_key(SDL_SCANCODE_SPACE);
    EXPECT_EQ(winner, no_winner);
    EXPECT_EQ(stones.data[0], 0);
    EXPECT_EQ(current_player, 0);
    EXPECT_EQ(source_state, -1);
    run_frame();
    EXPECT_TRUE(overlay_shown());  // the new game's first turn, too, is shown by its player
    press_key(SDL_SCANCODE_SPACE);
    EXPECT_FALSE(overlay_shown());
}

TEST_F(GameScreen, AGameNobodyCanMoveInEndsBlockedAndSpaceRestartsIt) {
    play(pushdown_machine, &pushdown_map_list);
    array_clear(&deck);
    for (int64_t seat = 0; seat < 2; seat++) {
        array_clear(&players.data[seat].hand);
        array_push(&players.data[seat].hand, Card{5, 5, 6});  // no rule of the map takes it
    }
    run_frames(80);
    EXPECT_TRUE(game_blocked);
    EXPECT_TRUE(overlay_shown());
    press_key(SDL_SCANCODE_SPACE);
    EXPECT_FALSE(game_blocked);
    EXPECT_EQ(players.data[0].hand.count, hand_size);
}

TEST_F(GameScreen, ADrawnGameShowsTheEndOverlayAndSpaceRestartsIt) {
    play(state_machine, &state_map_list);
    move(0, 1);
    press_key(SDL_SCANCODE_SPACE);  // past the next seat's turn overlay
    run_frame();
    ASSERT_FALSE(overlay_shown());
    game_drawn = 1;  // as when a position comes round the third time
    run_frame();
    EXPECT_TRUE(overlay_shown());
    click_state(1);
    run_frames(40);
    EXPECT_EQ(stones.data[0], 1);  // nothing moves in a drawn game
    press_key(SDL_SCANCODE_SPACE);
    run_frame();
    EXPECT_FALSE(game_drawn);
    EXPECT_EQ(stones.data[0], 0);
    EXPECT_FALSE(hand_revealed);
}

TEST_F(GameScreen, HShowsTheExpertsMoveWithoutMakingItUntilTheTurnMoves) {
    play(state_machine, &state_map_list);
    float x, y;
    state_center(0, &x, &y);
    auto ring_pixel = [&] { return scene_pixel(static_cast<int32_t>(window_width / 2.0 + x + 53), static_cast<int32_t>(window_height / 2.0 + y)); };
    ScenePixel before = ring_pixel();
    press_key(SDL_SCANCODE_H);
    run_frame();
    ASSERT_TRUE(hint.shown);
    // From 0 both moves lose (the other seat then reaches the accepting state 3); the first is shown.
    EXPECT_EQ(hint.from_state, 0);
    EXPECT_EQ(hint.target, 1);
    EXPECT_EQ(hint.transition, 0);  // first_steps lists 0 -> 1 first
    EXPECT_EQ(stones.data[0], 0);
    EXPECT_EQ(current_player, 0);
    EXPECT_GT(ring_pixel().g, before.g);  // the green ring round the stone's state
    move(0, 2);
    EXPECT_FALSE(hint.shown);
}

// The world point under the pointer stays under it: while the wheel zooms, and while a press on
// empty ground drags the view; a press on a state selects it and drags nothing.
TEST_F(GameScreen, TheWheelZoomsAboutThePointerAndADragOnEmptyGroundMovesTheView) {
    play(state_machine, &state_map_list);
    double x = window_width / 2.0 + 150, height = window_height / 2.0 + 120;  // between first_steps' states
    move_mouse(x, height);
    run_frame();
    double world_x = frame_input.world_x, world_y = frame_input.world_y;
    turn_wheel(2);
    run_frame();
    run_frame();
    EXPECT_DOUBLE_EQ(camera_zoom, 1.5);
    EXPECT_NEAR(frame_input.world_x, world_x, 1e-3);
    EXPECT_NEAR(frame_input.world_y, world_y, 1e-3);
    for (uint8_t button : {SDL_BUTTON_LEFT, SDL_BUTTON_MIDDLE}) {
        double camera_before = camera_x;
        push_mouse_button(button, true);
        run_frame();
        move_mouse(x - 60, height + 40);
        run_frame();
        push_mouse_button(button, false);
        run_frames(2);  // the pointer's world point is seen through the camera drawn last
        EXPECT_NEAR(camera_x, camera_before + 40, 1e-3);  // 60 pixels at zoom 1.5
        EXPECT_NEAR(frame_input.world_x, world_x, 1e-3);
        EXPECT_NEAR(frame_input.world_y, world_y, 1e-3);
        move_mouse(x, height);
        run_frame();
        world_x = frame_input.world_x, world_y = frame_input.world_y;
    }
    EXPECT_EQ(source_state, -1);
    double camera_before = camera_x;
    float state_x, state_y;
    state_center(0, &state_x, &state_y);
    double state_window_x = window_width / 2.0 + (state_x - camera_x) * camera_zoom;
    double state_window_y = window_height / 2.0 + (state_y - camera_y) * camera_zoom;
    move_mouse(state_window_x, state_window_y);
    push_mouse_button(SDL_BUTTON_LEFT, true);
    run_frame();
    move_mouse(state_window_x + 80, state_window_y);
    run_frame();
    push_mouse_button(SDL_BUTTON_LEFT, false);
    run_frame();
    EXPECT_EQ(source_state, 0);
    EXPECT_EQ(camera_x, camera_before);
}

// What the other seats do stays on the board: every seat in the band under the top panel, and the
// last arrow lit in its mover's colour with the card it played framed, until the next move.
TEST_F(GameScreen, EverySeatIsInViewAndTheLastMoveStaysShownInItsMoversColour) {
    play(pushdown_machine, &pushdown_map_list, 1);
    EXPECT_TRUE(drew_text("human, 5 cards"));
    EXPECT_TRUE(drew_text("hard, 5 cards"));
    click_deck();
    click_next_turn();
    for (int frame = 0; frame < 200 && current_player == 1; frame++) run_frame();
    ASSERT_EQ(current_player, 0);
    ASSERT_EQ(last_move.seat, 1);  // hard on colour_square always has a card to play after a draw or not
    ASSERT_GE(last_move.transition, 0);
    const Transition& taken = transitions.data[last_move.transition];
    EXPECT_EQ(stones.data[0], taken.to);
    EXPECT_TRUE(drew_text("hard, 4 cards"));
    float from_x, from_y, to_x, to_y;
    state_center(taken.from, &from_x, &from_y);
    state_center(taken.to, &to_x, &to_y);
    double middle_x = (from_x + to_x) / 2 + 0.25 * (to_x - from_x), middle_y = (from_y + to_y) / 2 + 0.25 * (to_y - from_y);
    ScenePixel arrow = scene_pixel(static_cast<int32_t>(window_width / 2.0 + middle_x), static_cast<int32_t>(window_height / 2.0 + middle_y));
    EXPECT_GT(arrow.b, arrow.r + 40);  // blue, the second seat's colour, not the plain arrows' white
    ScenePixel frame = scene_pixel(static_cast<int32_t>(stack_slot().x + 64), static_cast<int32_t>(stack_slot().y - 2));
    EXPECT_GT(frame.b, 100);
}

// A Turing game's end shows why it ended and every seat's goal, met or not; near the turn limit the
// count shows.
TEST_F(GameScreen, EndsSayWhyAndATuringEndShowsEverySeatsGoal) {
    play(turing_machine, &turing_map_list);
    turns_played = 499;
    run_frame();
    EXPECT_TRUE(drew_text("turn 500 of 600"));
    turns_played = 0;
    for (int64_t seat = 0; seat < 2; seat++) players.data[seat].goal = Goal{sum, at_least, 0, 0, 0, 1, 0, 0, 1};
    players.data[1].goal.amount = 1000;
    winner = 0;
    run_frame();
    EXPECT_TRUE(drew_text("Red's goal is met"));
    int64_t sum_now = 0;
    for (int64_t k = 0; k < tape.count; k++) sum_now += tape.data[k].number;
    std::string value = std::to_string(sum_now);
    EXPECT_TRUE(drew_text("sum " + value + ", %at l%e%ast 0: met"));
    EXPECT_TRUE(drew_text("sum " + value + ", %at l%e%ast 1000: not met"));
    winner = no_winner;
    game_drawn = 1;
    run_frame();
    EXPECT_TRUE(drew_text("600 turns without a winner"));
}

TEST_F(GameScreen, ShiftNTogglesStateNumbersAndNAloneDoesNot) {
    play(state_machine, &state_map_list);
    press_key_with(SDL_SCANCODE_LSHIFT, SDL_SCANCODE_N);
    EXPECT_EQ(show_state_numbers, 1);
    press_key(SDL_SCANCODE_N);
    EXPECT_EQ(show_state_numbers, 1);
    press_key_with(SDL_SCANCODE_RSHIFT, SDL_SCANCODE_N);
    EXPECT_EQ(show_state_numbers, 0);
}

}  // namespace
