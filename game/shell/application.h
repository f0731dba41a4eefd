// The program's spine: start-up, one frame of the loop, shutdown.
#pragma once

#include "render/scene.h"

#include <cstdint>

extern bool running;
extern bool main_menu_open;
extern bool player_setup_open;
extern bool map_list_open;
// Before a game with remote seats starts: its port and hand-over delay.
extern bool host_screen_open;
extern bool join_screen_open;
extern bool editor_mode;
// A saved game log is being stepped through on the game screen.
extern bool replay_open;
extern uint8_t machine_kind;
extern bool help_visible;
extern bool legend_visible;
extern bool memory_overlay_visible;
extern bool window_fullscreen;
extern double title_angle;

// The shell's own variables back to their start values.
void reset_shell_state();
// Every program-wide variable of every layer back to its start value, as at start-up.
void reset_program_state();

void application_start();
// Everything of a frame up to the graphics error check; then the pause and the present.
void application_frame_work();
void application_frame();
void application_shutdown();
// Start-up, frames while running, shutdown.
void run_application();
