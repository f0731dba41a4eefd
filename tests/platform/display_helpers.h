// Starts the library with a real window once per test process.
#pragma once

#include "kestrune_system.h"

// system_init with every subsystem and a 1024 x 832 hardware display; later calls do nothing.
void open_test_display();
// Polls until the window system has delivered its own start-up events.
void drain_window_events();
