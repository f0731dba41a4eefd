#include "ui_driver.h"

#include "model/kept_game.h"
#include "model/turn_state.h"
#include "render/primitives.h"
#include "screen/ui.h"
#include "render/resources.h"
#include "render/scene.h"
#include "screen/camera.h"
#include "screen/editor.h"
#include "screen/game_screen.h"
#include "screen/screen_state.h"
#include "screen/stone_animation.h"
#include "screen/text_entry.h"
#include "shell/application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include <unistd.h>

#include <kestrune_system.h>

namespace {

void push_key(SDL_Scancode key, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = sdl_window_id;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = key;
    SDL_PushEvent(&event);
}

}  // namespace

void push_mouse_button(uint8_t sdl_button, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = sdl_window_id;
    event.button.button = sdl_button;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&event);
}

void restart_at_main_menu() {
    static bool started = false;
    if (!started) {
        application_start();
        // Let the window system deliver its start-up events before the tests push their own.
        for (int i = 0; i < 5; i++) {
            SDL_PumpEvents();
            SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
            SDL_Delay(10);
        }
        started = true;
    }
    reset_screens();
    // Each test process keeps its games apart from the checkout's and starts with none kept.
    static std::string kept = testing::TempDir() + "varnholt_kept_game_" + std::to_string(getpid()) + ".txt";
    set_kept_game_path(str(kept.c_str()));
    forget_kept_game();
    uint8_t kind = 1;
    bool was_fullscreen = window_fullscreen;
    reset_shell_state();
    window_fullscreen = was_fullscreen;
    machine_kind = kind;
    running = true;
    move_mouse(0, 0);
    run_frame();
}

// Without the frame's pause and the present (tests read the scene, not the window), so a test
// can run hundreds of frames.
void run_frame() { application_frame_work(); }

void run_frames(int count) {
    for (int i = 0; i < count; i++) run_frame();
}

void press_key(SDL_Scancode key) {
    push_key(key, true);
    push_key(key, false);
    run_frame();
}

void press_key_with(SDL_Scancode modifier, SDL_Scancode key) {
    push_key(modifier, true);
    push_key(key, true);
    run_frame();
    push_key(key, false);
    push_key(modifier, false);
    run_frame();
}

void hold_key(SDL_Scancode key) { push_key(key, true); }
void release_key(SDL_Scancode key) { push_key(key, false); }

void move_mouse(double x, double height) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = sdl_window_id;
    event.motion.x = static_cast<int32_t>(x);
    event.motion.y = static_cast<int32_t>(window_height - height);
    SDL_PushEvent(&event);
}

void click_at(double x, double height, uint8_t sdl_button) {
    move_mouse(x, height);
    push_mouse_button(sdl_button, true);
    run_frame();
    push_mouse_button(sdl_button, false);
}

void turn_wheel(int32_t notches) {
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = sdl_window_id;
    event.wheel.y = notches;
    SDL_PushEvent(&event);
}

std::vector<std::string> button_labels() {
    std::vector<std::string> labels;
    for (int32_t i = 0; i < drawn_button_count; i++) {
        const string& label = drawn_buttons[i].label;
        labels.emplace_back(label.data ? std::string(label.data, static_cast<size_t>(label.length)) : std::string());
    }
    return labels;
}

bool click_button(const std::string& label, int occurrence) {
    std::vector<std::string> labels = button_labels();
    for (size_t i = 0; i < labels.size(); i++) {
        if (labels[i] != label || occurrence-- > 0) continue;
        click_at(drawn_buttons[i].center_x, drawn_buttons[i].center_y);
        return true;
    }
    return false;
}

bool drew_text(const std::string& text) {
    auto same = [&](const DrawnBox& b) { return text == std::string(b.label.data, static_cast<size_t>(b.label.length)); };
    return std::any_of(drawn_texts, drawn_texts + drawn_text_count, same);
}

ScenePixel scene_pixel(int32_t x, int32_t y) {
    uint8_t rgba[4] = {};
    frame_buffer_bind(FRAME_BUFFER_BOTH, scene_frame_buffer);
    pipeline_read_pixels(x, y, 1, 1, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, rgba);
    frame_buffer_unbind(FRAME_BUFFER_BOTH);
    return ScenePixel{rgba[0], rgba[1], rgba[2], rgba[3]};
}

std::string output_of(void (*function)()) {
    testing::internal::CaptureStdout();
    function();
    return testing::internal::GetCapturedStdout();
}
