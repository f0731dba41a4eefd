// The input snapshot is exported as data: the queries answer from exactly these arrays and values.
#include "display_helpers.h"
#include "kestrune_system.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

void push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1); }

TEST(InputState, TheQueriesViewTheExportedArrays) {
    open_test_display();
    EXPECT_EQ(input_key_pressed_state().data, keys_pressed);
    EXPECT_EQ(input_key_released_state().data, keys_released);
    EXPECT_EQ(input_key_held_state().data, keys_held);
    EXPECT_EQ(input_mouse_pressed_state().data, mouse_buttons_pressed);
    EXPECT_EQ(input_mouse_released_state().data, mouse_buttons_released);
    EXPECT_EQ(input_mouse_held_state().data, mouse_buttons_held);
    EXPECT_EQ(sizeof keys_held, static_cast<size_t>(KEY_CODE_COUNT));
    EXPECT_EQ(sizeof mouse_buttons_held, static_cast<size_t>(MOUSE_BUTTON_COUNT));
}

TEST(InputState, OnePollFillsTheSingleValues) {
    open_test_display();
    drain_window_events();
    push_key_event(SDL_SCANCODE_W, true);
    push_button_event(SDL_BUTTON_RIGHT, true);
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = sdl_window_id;
    motion.motion.x = 31;
    motion.motion.y = 47;
    motion.motion.xrel = 5;
    motion.motion.yrel = -6;
    push(motion);
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.windowID = sdl_window_id;
    wheel.wheel.y = 3;
    push(wheel);
    push_window_event(SDL_WINDOWEVENT_RESIZED, 300, 200);
    const std::string path = "/tmp/dropped.map";
    SDL_Event drop{};
    drop.type = SDL_DROPFILE;
    drop.drop.file = SDL_strdup(path.c_str());
    drop.drop.windowID = sdl_window_id;
    push(drop);
    input_poll();

    EXPECT_EQ(keys_pressed[KEY_W], 1);
    EXPECT_EQ(keys_held[KEY_W], 1);
    EXPECT_EQ(key_last_pressed, KEY_W);
    EXPECT_EQ(mouse_buttons_pressed[MOUSE_RIGHT], 1);
    EXPECT_EQ(mouse_button_last_pressed, MOUSE_RIGHT);
    EXPECT_EQ(mouse_x, 31);
    EXPECT_EQ(mouse_y, 47);
    EXPECT_EQ(mouse_moved_x, 5);
    EXPECT_EQ(mouse_moved_y, -6);
    EXPECT_EQ(mouse_wheel, 3);
    EXPECT_TRUE(window_resized);
    EXPECT_EQ(window_new_width, 300);
    EXPECT_EQ(window_new_height, 200);
    ASSERT_EQ(dropped_file_length, static_cast<int32_t>(path.size()));
    EXPECT_EQ(memcmp(dropped_file_data, path.data(), path.size()), 0);

    push_key_event(SDL_SCANCODE_W, false);
    push_button_event(SDL_BUTTON_RIGHT, false);
    input_poll();
    EXPECT_EQ(keys_pressed[KEY_W], 0);
    EXPECT_EQ(keys_released[KEY_W], 1);
    EXPECT_EQ(keys_held[KEY_W], 0);
    EXPECT_EQ(key_last_released, KEY_W);
    EXPECT_EQ(mouse_buttons_released[MOUSE_RIGHT], 1);
    EXPECT_EQ(mouse_button_last_released, MOUSE_RIGHT);
    EXPECT_EQ(mouse_moved_x, 0);
    EXPECT_EQ(mouse_wheel, 0);
    EXPECT_FALSE(window_resized);
    EXPECT_EQ(dropped_file_length, 0);
}

// The queries read the data a program sees, so a value written there is what they answer.
TEST(InputState, WritesToTheDataShowInTheQueries) {
    open_test_display();
    window_closed = true;
    window_focus_lost = true;
    controller_device_added = true;
    controller_device_added_index = 7;
    EXPECT_TRUE(display_is_closed());
    EXPECT_TRUE(display_is_focus_lost());
    int32_t index = -1;
    EXPECT_TRUE(controller_is_added(&index));
    EXPECT_EQ(index, 7);
    input_poll();
    EXPECT_FALSE(window_closed);
    EXPECT_FALSE(controller_device_added);
}

}  // namespace
