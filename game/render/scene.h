// Each frame recorded, planned once, drawn into the scene and shown on the window through the gamma pass.
#pragma once

#include "render/scene_target.h"

// Binds the quad, the scene and the simple shader, with blending on, and starts recording the frame's
// quads over a dark blue clear.
void begin_scene();

// The dark blue clear and every quad recorded so far drawn into the scene now, for a reader of its
// pixels; present_scene then draws the whole scene and the window. Nothing outside a frame.
void draw_scene_so_far();

// Plans the frame once, from its quads, the last frame's and what the scene and the window hold:
// the scene drawn again where the frames differ (or whole, or not at all, or moved by whole pixels
// as a panning view moves it and drawn where that is not enough), and the window given the scene
// raised to 1 / gamma there (or whole, where its back buffer may not hold the last frame).
void present_scene();

// Shows the frame present_scene drew: only the rectangles it changed, where the window system
// copies parts to the window and keeps the back buffer, and otherwise the whole back buffer.
void show_scene();

// The next present draws the whole scene and the whole window.
void forget_scene_contents();

// Window pixels given the gamma pass, and frames drawn by moving what the scene or its moving
// layer held, since start-up, for measuring frames.
extern int64_t gamma_pass_pixels;
extern int64_t scene_moves;
