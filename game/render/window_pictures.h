// Rectangles of the changed region that hold only flat colours covering them and one picture on
// top, like the title picture over its panel: drawn straight to the window in one pass, the
// picture blended in the shader over the bytes the driver gives those flat colours and shown
// through the gamma table, so the scene under them is skipped.
#pragma once

#include "render/pixel_region.h"

#include <cstdint>

struct WindowPicture {
    PixelRect rect;
    // The scene's bytes under the picture: the clear colour with the flat colours over it, as the
    // driver blends them.
    int32_t background[4];
    int64_t picture;
    bool picture_covers_rect;
};

struct WindowPictures {
    int32_t count;
    WindowPicture rects[region_rect_capacity];
};

// Moves the rectangles that can go straight to the window out of the changed region.
WindowPictures take_window_pictures(PixelRegion* changed);

// Into the bound window frame buffer, after the gamma pass.
void draw_window_pictures(const WindowPictures& pictures);

