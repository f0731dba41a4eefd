// One quad as a primitive placed it, and where it falls in the window.
#pragma once

#include "base/color.h"
#include "render/matrix.h"
#include "render/pixel_region.h"
#include "render/texture.h"
#include "render/texture_rect.h"

#include <cstdint>

// One quad as a primitive placed it: its corners in clip space, in the order (0, 0), (1, 0), (0, 1),
// (1, 1) of the unit quad, which texture coordinates follow.
struct QuadRecord {
    float corners[4][4];
    Color color;
    TextureRect rect;
    const Texture* texture;
};

// The unit quad through mvp, its corners placed as the sprite shader's mvp * (x, y, 0, 1) would.
QuadRecord quad_record(const Matrix& mvp, const Texture& texture, const Color& color, TextureRect rect);

// Window positions of an upright quad's edges: x of its corners (0, 0) and (1, 0), y of its corners
// (0, 0) and (0, 1).
struct WindowEdges {
    double x0, x1, y0, y1;
};
// False for a quad turned in the window, seen in perspective or of no area.
bool upright_edges(const QuadRecord& quad, WindowEdges* edges);

// The pixels the quad can touch, a pixel wider on every side, inside the window.
PixelRect quad_bounds(const QuadRecord& quad);

// The pixels the quad can draw, those whose centres may lie inside it: quads that touch along an
// edge share none.
PixelRect quad_drawn_pixels(const QuadRecord& quad);
