// The smaller levels of a picture, for drawing it minified, made here rather than by the graphics
// driver: a driver makes them by drawing, which first compiles a shader, and that compile was the
// largest part of start-up.
#pragma once

#include <cstdint>

int32_t next_level_size(int32_t size);

// The level below one of width x height RGBA texels: every texel the bilinear sample of the level
// above at the texel's centre, with weights of 8 bits, which keeps the levels within a step of
// those a driver makes by drawing. `below` holds next_level_size(width) x next_level_size(height)
// texels.
void make_next_level(const uint8_t* above, int32_t width, int32_t height, uint8_t* below);
