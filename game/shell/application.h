// The program's spine: start-up, one frame of the loop, shutdown.
#pragma once

#include <cstdint>

extern bool running;
extern bool main_menu_open;
extern bool player_setup_open;
extern bool map_list_open;
extern bool editor_mode;
extern uint8_t machine_kind;
extern bool help_visible;
extern bool memory_overlay_visible;
extern int32_t window_width;
extern int32_t window_height;
extern bool window_fullscreen;
extern const double frame_time;
extern double title_angle;

void application_start();
void application_frame();
void application_shutdown();
// Start-up, frames while running, shutdown.
void run_application();
