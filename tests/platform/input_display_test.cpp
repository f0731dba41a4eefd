#include "display_helpers.h"
#include "kestrune_system.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class Input : public ::testing::Test {
protected:
    void SetUp() override {
        open_test_display();
        drain_window_events();
    }
};

TEST_F(Input, KeyTableCoversTheLibraryCodes) {
    EXPECT_EQ(to_key_code[SDL_SCANCODE_A], KEY_A);
    EXPECT_EQ(to_key_code[SDL_SCANCODE_Z], KEY_Z);
    EXPECT_EQ(to_key_code[SDL_SCANCODE_0], KEY_0);
    EXPECT_EQ(to_key_code[SDL_SCANCODE_9], KEY_9);
    EXPECT_EQ(to_key_code[SDL_SCANCODE_ESCAPE], KEY_ESCAPE);
    EXPECT_EQ(to_key_code[SDL_SCANCODE_F1], KEY_F1);
    EXPECT_EQ(to_key_code[SDL_SCANCODE_F12], KEY_F12);
    EXPECT_EQ(to_key_code[SDL_SCANCODE_KP_9], KEY_KEYPAD_9);
    EXPECT_EQ(to_key_code[SDL_SCANCODE_KP_ENTER], KEY_KEYPAD_ENTER);
    EXPECT_EQ(to_key_code[SDL_SCANCODE_RGUI], KEY_RIGHT_GUI);
    EXPECT_EQ(to_key_code[SDL_SCANCODE_F13], KEY_NONE);
    EXPECT_EQ(to_key_code[SCANCODE_COUNT - 1], KEY_NONE);
    int mapped = 0;
    for (uint8_t code : to_key_code) mapped += code != KEY_NONE;
    EXPECT_EQ(mapped, KEY_CODE_COUNT - KEY_A - 4);  // every code from KEY_A on except the four summaries
}

TEST_F(Input, PressHoldReleaseAndRepeats) {
    push_key_event(SDL_SCANCODE_S, true);
    push_key_event(SDL_SCANCODE_S, true, true);
    input_poll();
    EXPECT_EQ(input_key_is_pressed(KEY_S), 1);
    EXPECT_EQ(input_key_is_held(KEY_S), 1);
    EXPECT_EQ(input_key_is_held(KEY_ANY), 1);  // the repeat did not count again
    EXPECT_EQ(input_last_pressed_key(), KEY_S);

    push_key_event(SDL_SCANCODE_S, true, true);
    input_poll();
    EXPECT_EQ(input_key_is_pressed(KEY_S), 0);
    EXPECT_EQ(input_key_is_held(KEY_S), 1);

    push_key_event(SDL_SCANCODE_S, false);
    input_poll();
    EXPECT_EQ(input_key_is_released(KEY_S), 1);
    EXPECT_EQ(input_key_is_held(KEY_S), 0);
    EXPECT_EQ(input_key_is_held(KEY_ANY), 0);
    EXPECT_EQ(input_last_released_key(), KEY_S);

    input_poll();
    EXPECT_EQ(input_key_is_released(KEY_S), 0);
    EXPECT_EQ(input_last_pressed_key(), KEY_S);

    push_key_event(SDL_SCANCODE_Q, true);
    push_key_event(SDL_SCANCODE_Q, false);
    input_poll();
    EXPECT_EQ(input_key_is_pressed(KEY_Q), 1);
    EXPECT_EQ(input_key_is_released(KEY_Q), 1);
    EXPECT_EQ(input_key_is_held(KEY_Q), 0);
}

TEST_F(Input, TypedKeysKeepTheirOrderRepeatsAndModifiers) {
    push_key_event(SDL_SCANCODE_N, true);
    push_key_event(SDL_SCANCODE_N, false);
    push_key_event(SDL_SCANCODE_LSHIFT, true);
    push_key_event(SDL_SCANCODE_G, true);
    push_key_event(SDL_SCANCODE_G, true, true);
    push_key_event(SDL_SCANCODE_LSHIFT, false);
    push_key_event(SDL_SCANCODE_A, true);
    input_poll();
    byte_view keys = input_typed_keys(), modifiers = input_typed_key_modifiers();
    const uint8_t expected[] = {KEY_N, KEY_LEFT_SHIFT, KEY_G, KEY_G, KEY_A};
    ASSERT_EQ(keys.count, 5);
    ASSERT_EQ(modifiers.count, 5);
    for (int i = 0; i < 5; i++) EXPECT_EQ(keys.data[i], expected[i]) << i;
    EXPECT_EQ(modifiers.data[0] & MODIFIER_SHIFT, 0);
    EXPECT_EQ(modifiers.data[2] & MODIFIER_SHIFT, MODIFIER_SHIFT);
    EXPECT_EQ(modifiers.data[3] & MODIFIER_SHIFT, MODIFIER_SHIFT);
    EXPECT_EQ(modifiers.data[4] & MODIFIER_SHIFT, 0);
    push_key_event(SDL_SCANCODE_A, false);
    push_key_event(SDL_SCANCODE_G, false);
    input_poll();
    EXPECT_EQ(input_typed_keys().count, 0);

    for (int i = 0; i < TYPED_KEY_CAPACITY + 10; i++) push_key_event(SDL_SCANCODE_B, true, i > 0);
    input_poll();
    EXPECT_EQ(input_typed_keys().count, TYPED_KEY_CAPACITY);
    push_key_event(SDL_SCANCODE_B, false);
    input_poll();
}

TEST_F(Input, BothShiftsCountInTheSummary) {
    push_key_event(SDL_SCANCODE_LSHIFT, true);
    push_key_event(SDL_SCANCODE_RSHIFT, true);
    input_poll();
    EXPECT_EQ(input_key_is_pressed(KEY_SHIFT), 1);
    EXPECT_EQ(input_key_is_held(KEY_SHIFT), 2);
    push_key_event(SDL_SCANCODE_LSHIFT, false);
    input_poll();
    EXPECT_EQ(input_key_is_released(KEY_SHIFT), 1);
    EXPECT_NE(input_key_is_held(KEY_SHIFT), 0);
    EXPECT_EQ(input_key_is_held(KEY_LEFT_SHIFT), 0);
    push_key_event(SDL_SCANCODE_RSHIFT, false);
    input_poll();
    EXPECT_EQ(input_key_is_held(KEY_SHIFT), 0);
    EXPECT_EQ(input_key_is_held(KEY_ANY), 0);
}

TEST_F(Input, KeyUpWithoutKeyDownWrapsTheCounters) {
    push_key_event(SDL_SCANCODE_RCTRL, false);
    input_poll();
    EXPECT_EQ(input_key_is_held(KEY_CTRL), 255);
    EXPECT_EQ(input_key_is_held(KEY_ANY), 255);
    push_key_event(SDL_SCANCODE_RCTRL, true);
    input_poll();
    EXPECT_EQ(input_key_is_held(KEY_CTRL), 0);
    EXPECT_EQ(input_key_is_held(KEY_RIGHT_CTRL), 1);
}

TEST_F(Input, UnmappedScancodesAreIgnored) {
    push_key_event(SDL_SCANCODE_F13, true);
    input_poll();
    EXPECT_EQ(input_key_is_pressed(KEY_ANY), 0);
    EXPECT_EQ(input_key_is_held(KEY_ANY), 0);
}

TEST_F(Input, MouseButtonsMotionAndWheel) {
    push_button_event(SDL_BUTTON_LEFT, true);
    push_button_event(SDL_BUTTON_RIGHT, true);
    push_button_event(SDL_BUTTON_X1, true);
    input_poll();
    EXPECT_EQ(input_mouse_is_pressed(MOUSE_LEFT), 1);
    EXPECT_EQ(input_mouse_is_pressed(MOUSE_RIGHT), 1);
    EXPECT_EQ(input_mouse_is_held(MOUSE_ANY), 2);
    EXPECT_EQ(input_last_pressed_mouse_button(), MOUSE_RIGHT);
    push_button_event(SDL_BUTTON_LEFT, false);
    input_poll();
    EXPECT_EQ(input_mouse_is_released(MOUSE_LEFT), 1);
    EXPECT_EQ(input_mouse_is_held(MOUSE_LEFT), 0);
    EXPECT_EQ(input_mouse_is_held(MOUSE_ANY), 1);

    for (int step = 0; step < 2; step++) {
        SDL_Event motion{};
        motion.type = SDL_MOUSEMOTION;
        motion.motion.windowID = sdl_window_id;
        motion.motion.x = 100 + step * 10;
        motion.motion.y = 200 + step * 20;
        motion.motion.xrel = 3;
        motion.motion.yrel = -4;
        ASSERT_EQ(SDL_PushEvent(&motion), 1);
    }
    for (int amount : {2, -5}) {
        SDL_Event wheel{};
        wheel.type = SDL_MOUSEWHEEL;
        wheel.wheel.windowID = sdl_window_id;
        wheel.wheel.y = amount;
        wheel.wheel.x = 7;
        ASSERT_EQ(SDL_PushEvent(&wheel), 1);
    }
    input_poll();
    int32_t x = 0, y = 0, dx = 0, dy = 0;
    input_mouse_position(&x, &y);
    input_mouse_moved(&dx, &dy);
    EXPECT_EQ(x, 110);
    EXPECT_EQ(y, 220);
    EXPECT_EQ(dx, 6);
    EXPECT_EQ(dy, -8);
    EXPECT_EQ(input_mouse_wheel(), -3);
    input_poll();
    input_mouse_moved(&dx, &dy);
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(input_mouse_wheel(), 0);
    input_mouse_position(&x, &y);
    EXPECT_EQ(x, 110);
}

TEST_F(Input, ResizeIsReportedOnceAndOtherWindowsAreIgnored) {
    push_window_event(SDL_WINDOWEVENT_RESIZED, 800, 600);
    push_window_event(SDL_WINDOWEVENT_MINIMIZED, 0, 0, sdl_window_id + 100);
    input_poll();
    int32_t width = -1, height = -1;
    EXPECT_TRUE(display_is_resized(&width, &height));
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    EXPECT_FALSE(display_is_minimized());
    input_poll();
    width = -1;
    height = -1;
    EXPECT_FALSE(display_is_resized(&width, &height));
    EXPECT_EQ(width, -1);
    EXPECT_EQ(height, -1);

    push_window_event(SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480);
    push_window_event(SDL_WINDOWEVENT_CLOSE);
    input_poll();
    EXPECT_FALSE(display_is_resized(&width, &height));
    EXPECT_TRUE(display_is_closed());
    input_poll();
    EXPECT_FALSE(display_is_closed());
}

TEST_F(Input, DroppedPathIsCutTo256Bytes) {
    std::string path(300, 'p');
    path[255] = 'E';
    SDL_Event drop{};
    drop.type = SDL_DROPFILE;
    drop.drop.file = SDL_strdup(path.c_str());
    drop.drop.windowID = sdl_window_id;
    ASSERT_EQ(SDL_PushEvent(&drop), 1);
    input_poll();
    string dropped = display_file_dropped();
    ASSERT_EQ(dropped.length, 256);
    EXPECT_EQ(std::string(dropped.data, 256), path.substr(0, 256));
    input_poll();
    EXPECT_EQ(display_file_dropped().length, 0);
}

TEST_F(Input, CodesOutsideTheContractReadAsZero) {
    push_key_event(SDL_SCANCODE_A, true);
    input_poll();
    for (int code = KEY_CODE_COUNT; code < 256; code++) EXPECT_EQ(input_key_is_held(static_cast<uint8_t>(code)), 0);
    for (int code = MOUSE_BUTTON_COUNT; code < 256; code++) {
        EXPECT_EQ(input_mouse_is_pressed(static_cast<uint8_t>(code)), 0);
    }
    input_mouse_set_cursor(SYSTEM_CURSOR_COUNT);
    input_mouse_set_cursor(255);
    input_mouse_set_cursor(CURSOR_HAND);
    EXPECT_EQ(input_key_held_state().count, KEY_CODE_COUNT);
    EXPECT_EQ(input_mouse_held_state().count, MOUSE_BUTTON_COUNT);
    push_key_event(SDL_SCANCODE_A, false);
    input_poll();
}

TEST(InputWithoutEvents, KeyTableIsNotBuilt) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            system_init(SYSTEM_VIDEO);
            bool untouched = true;
            for (uint8_t code : to_key_code) untouched = untouched && code == 0;
            exit(untouched ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
