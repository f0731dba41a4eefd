// A texture the renderer loaded, with what its texels allow: the sprite shader that gives its exact
// colours with the least work, and for a big picture the parts of it that hold anything.
#pragma once

#include <cstdint>

enum : uint8_t {
    // Any picture, raised to gamma.
    shading_picture = 0,
    // White with any alpha: raising it to a power leaves it as it is.
    shading_tint = 1,
    // Opaque white: every sample is one.
    shading_flat = 2
};

// Texel rectangles, left and bottom inside, right and top outside.
struct CoverRect {
    int16_t left, bottom, right, top;
};

constexpr int32_t picture_part_capacity = 96;

struct Texture {
    // The graphics layer's name; 0 for none.
    uint32_t name;
    int32_t width, height;
    uint8_t shading;
    // Outside these rectangles every texel is transparent; none when that does not pay (see
    // picture_cover.h).
    int32_t cover_count;
    CoverRect cover[picture_part_capacity];
};

// What a quad without a texture draws with.
extern const Texture no_texture;
