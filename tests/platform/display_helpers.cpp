#include "display_helpers.h"

#include <SDL.h>

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
