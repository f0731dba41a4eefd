// The parts of a picture that hold anything: where a big picture changes, only the rectangles
// around them need drawing again, since its transparent rest leaves the scene as it was.
#pragma once

#include "render/pixel_region.h"
#include "render/quad_record.h"
#include "render/texture.h"

#include <cstdint>

// Fills the texture's cover from its texels as uploaded, once as it is loaded.
void note_picture_cover(Texture* texture, const uint8_t* pixels);

// The window rectangles outside which the quad's picture only ever reads transparent texels, or -1
// when that is not known: the picture is not shown whole, upright, without perspective and at
// least half its size (smaller, the filter reads farther than the parts allow for).
int32_t covered_parts(const QuadRecord& quad, PixelRect parts[picture_part_capacity]);
