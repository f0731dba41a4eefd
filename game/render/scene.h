// The off-screen scene every frame is drawn into, in linear light, and the gamma pass to the window.
#pragma once

#include <cstdint>

constexpr float display_gamma = 2.2f;

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

// Binds the quad, the scene and the simple shader, with blending on, and clears to dark blue.
void begin_scene();

// Copies the scene to the window, raised to 1 / gamma.
void present_scene();
