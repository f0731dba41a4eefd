// The parts of a picture that hold anything: where a big picture changes, only the rectangles
// around them need drawing again, since its transparent rest leaves the scene as it was.
#pragma once

#include "render/pixel_region.h"
#include "render/quad_batch.h"

#include <cstdint>

constexpr int32_t picture_part_capacity = 96;

// Called once per picture as it is loaded, with its texels as uploaded.
void note_picture_cover(uint32_t texture, const uint8_t* pixels, int32_t width, int32_t height);
void forget_picture_covers();

// The window rectangles outside which the quad's picture only ever reads transparent texels, or -1
// when that is not known: the picture is not shown whole, upright, without perspective and at
// least half its size (smaller, the filter reads farther than the parts allow for).
int32_t covered_parts(const QuadRecord& quad, PixelRect parts[picture_part_capacity]);
