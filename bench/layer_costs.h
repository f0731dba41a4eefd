// What a pixel costs the driver when every pixel of the window is drawn the same way, in the
// game's own window and context: the least any frame pays for each pixel it changes.
#pragma once

#include "render/texture.h"

// A bare clear and swap of the window.
void bare_clear_and_swap();
// The scene cleared, the gamma pass over the whole window, the swap.
void empty_scene_drawn_whole();
// That with one layer stretched over the window, so only its base level is sampled.
void one_layer_drawn_whole(const Texture* texture);
void one_flat_layer_drawn_whole();
// A pixel of a map's symbol or text: sampled for its alpha, blended in linear light.
void one_shape_layer_drawn_whole();
// A pixel of a map's picture: sampled, raised to gamma, blended in linear light.
void one_picture_layer_drawn_whole();

// CPU time of the whole process, every thread counted.
double process_seconds();

// Nanoseconds of process CPU per window pixel of each way of drawing it whole.
struct LayerCosts {
    double empty_scene, flat, shape, picture;
};
LayerCosts measure_layer_costs(int frames_each);
