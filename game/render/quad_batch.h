// Every quad of a frame, recorded by the primitives and drawn later: runs of quads with the same
// texture go to the graphics layer as one draw, over the whole window or only where the frame
// changed.
#pragma once

#include "base/arena.h"
#include "base/color.h"
#include "render/matrix.h"
#include "render/pixel_region.h"
#include "render/texture_rect.h"

#include <cstdint>

// One quad as a primitive placed it: its corners in clip space, in the order (0, 0), (1, 0), (0, 1),
// (1, 1) of the unit quad, which texture coordinates follow.
struct QuadRecord {
    float corners[4][4];
    Color color;
    TextureRect rect;
    uint32_t texture;
    uint32_t unused;
};

// This frame's quads in drawing order, and those the scene holds from the frame before.
extern GrowableArray<QuadRecord> frame_quads;
extern GrowableArray<QuadRecord> shown_quads;

// The unit quad through mvp, its corners placed as the sprite shader's mvp * (x, y, 0, 1) would.
QuadRecord quad_record(const Matrix& mvp, uint32_t texture, const Color& color, TextureRect rect);
void record_quad(const QuadRecord& quad);

// The rectangle as a quad of the scene's clear colour through the white texture.
QuadRecord region_quad(PixelRect region);

// Quads sent in one upload and drawn by index: started, added, uploaded, drawn, finished.
void start_batch();
int64_t batch_quad(const QuadRecord& quad);
// Only the rectangle's part of an upright picture, for a shader that reads texture coordinates
// from window positions.
int64_t batch_quad_within(const QuadRecord& quad, PixelRect part);
void upload_batch();
void draw_batch_quads(int64_t first, int64_t count);
void finish_batch();

// Drawing and clearing reach only the rectangle until the scissor is turned off.
void limit_to(PixelRect rect);

// Window positions of an upright quad's edges: x of its corners (0, 0) and (1, 0), y of its corners
// (0, 0) and (0, 1).
struct WindowEdges {
    double x0, x1, y0, y1;
};
// False for a quad turned in the window, seen in perspective or of no area.
bool upright_edges(const QuadRecord& quad, WindowEdges* edges);

// The pixels the quad can touch, a pixel wider on every side, inside the window.
PixelRect quad_bounds(const QuadRecord& quad);

// Quads first to end - 1 of this frame that reach the region, into the bound frame buffer.
void draw_recorded_quads(int64_t first, int64_t end, PixelRect region);

// Each rectangle of the region cleared to the scene's colour and given this frame's quads, within
// its own scissor; one upload for all.
void draw_changed_region(const PixelRegion& region);

// The region's rectangles in one draw through the bound program, each with texture coordinates
// that are its window position in units of the window's size.
void draw_region_rects(const PixelRegion& region);
