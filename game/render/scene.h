// The off-screen scene every frame is drawn into, in linear light, and the gamma pass to the window.
#pragma once

#include "base/color.h"

#include <cstdint>

constexpr float display_gamma = 2.2f;
constexpr Color scene_clear_color{0, 0, 0.2f, 1};

// The window's size in pixels, used for viewports, projections and layout; the shell keeps it current.
constexpr int32_t default_window_width = 1024;
constexpr int32_t default_window_height = 832;
extern int32_t window_width;
extern int32_t window_height;

extern uint32_t scene_frame_buffer;
extern uint32_t scene_texture;

// At the window's size; replaces an earlier scene. Reports an incomplete frame buffer.
void create_scene_frame_buffer();
void destroy_scene_frame_buffer();

// Binds the quad, the scene and the simple shader, with blending on, and starts recording the frame's
// quads over a dark blue clear.
void begin_scene();

// The dark blue clear and every quad recorded so far drawn into the scene now, for a reader of its
// pixels; present_scene then draws the rest and the whole window. Nothing outside a frame.
void draw_scene_so_far();

// Draws the recorded quads into the scene where they differ from the last frame's and copies the
// scene to the window, raised to 1 / gamma.
void present_scene();

// The next present draws the whole scene and the whole window.
void reset_scene_progress();
