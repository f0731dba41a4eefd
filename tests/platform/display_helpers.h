// Starts the library with a real window once per test process.
#pragma once

#include "kestrune_system.h"

// system_init with every subsystem and a 1024 x 832 hardware display; later calls do nothing.
void open_test_display();
// Polls until the window system has delivered its own start-up events.
void drain_window_events();

// Events queued for the next poll as the window system delivers them to the test window.
void push_key_event(int scancode, bool down, bool repeat = false);
void push_button_event(uint8_t sdl_button, bool down);
void push_window_event(uint8_t kind, int32_t data1 = 0, int32_t data2 = 0, uint32_t window = sdl_window_id);
