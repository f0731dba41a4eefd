#include "display_helpers.h"

#include <SDL.h>
#include <gtest/gtest.h>

void open_test_display() {
    static bool opened = false;
    if (opened) return;
    opened = true;
    system_init(SYSTEM_ALL);
    display_open(1024, 832, string{"test", 4}, DISPLAY_VSYNC, 1);
}

void drain_window_events() {
    for (int i = 0; i < 5; i++) {
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        SDL_Delay(10);
    }
    input_poll();
}

void push_key_event(int scancode, bool down, bool repeat) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = sdl_window_id;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = static_cast<SDL_Scancode>(scancode);
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void push_button_event(uint8_t sdl_button, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = sdl_window_id;
    event.button.button = sdl_button;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void push_window_event(uint8_t kind, int32_t data1, int32_t data2, uint32_t window) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = window;
    event.window.event = kind;
    event.window.data1 = data1;
    event.window.data2 = data2;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}
