// The off-screen scene every frame is drawn into, in linear light: its size (the window's), its
// clear colour, the display gamma it is shown with, and its frame buffer.
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
// The scene's stencil, which keeps a frame's drawing to the cells it changed; 0 until a frame first
// needs it.
extern uint32_t scene_stencil;
// A second target of the scene's size, where a move puts what it moves on the way back; 0 until a
// frame first moves something.
extern uint32_t spare_frame_buffer;
extern uint32_t spare_texture;
// The layer of what moves, as a panning view moves the map: the frame's first quads, those that
// moved, over the clear colour; 0 until a frame first draws one.
extern uint32_t moving_frame_buffer;
extern uint32_t moving_texture;
// One texel of the scene's format, where the driver shows what the scene would hold under a few
// flat colours.
extern uint32_t probe_frame_buffer;
extern uint32_t probe_texture;
// Counts the scene's creations: a new scene holds nothing yet.
extern int64_t scene_generation;

// At the window's size, with its probe; replaces an earlier scene. Reports an incomplete frame buffer.
void create_scene_frame_buffer();
// Gives the scene its stencil the first time a frame needs one: the driver clears all its memory
// when it is made, which start-up and screens that never draw by cells need not wait for. Leaves
// the scene's frame buffer bound.
void attach_scene_stencil();
// A target of the window's size, as the spare and the moving layer are, made the first time a
// frame needs it.
void create_window_target(uint32_t* frame_buffer, uint32_t* texture);
void destroy_scene_frame_buffer();
