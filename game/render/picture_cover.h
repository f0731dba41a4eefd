// The parts of a picture that hold anything: a picture drawn near its own size is drawn as a few
// rectangles around them, so the transparent rest costs no shading and, as it never changes, is
// never drawn again.
#pragma once

#include "base/color.h"
#include "render/matrix.h"
#include "render/texture_rect.h"

#include <cstdint>

// Called once per picture as it is loaded, with its texels as uploaded.
void note_picture_cover(uint32_t texture, const uint8_t* pixels, int32_t width, int32_t height);
void forget_picture_covers();

// Records the quad through mvp, or only its covered rectangles when the texture is shown whole,
// upright and at least half its size, where every texel the filter can read for a skipped
// rectangle is transparent.
void record_picture_quad(const Matrix& mvp, uint32_t texture, const Color& color, TextureRect rect);
