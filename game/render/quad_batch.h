// Every quad of a frame, recorded by the primitives and drawn later: runs of quads with the same
// texture go to the graphics layer as one draw, and a frame can be compared with the
// one before it to find the only part of the window that needs drawing again.
#pragma once

#include "base/arena.h"
#include "base/color.h"
#include "render/matrix.h"
#include "render/texture_rect.h"

#include <cstdint>

// One unit quad as a primitive placed it.
struct QuadRecord {
    Matrix mvp;
    Color color;
    TextureRect rect;
    uint32_t texture;
    uint32_t unused;
};

// Window pixels, right and top edges outside; empty when right <= left or top <= bottom.
struct PixelRect {
    int32_t left, bottom, right, top;
};

// This frame's quads in drawing order, and those the scene holds from the frame before.
extern GrowableArray<QuadRecord> frame_quads;
extern GrowableArray<QuadRecord> shown_quads;

void record_quad(const Matrix& mvp, uint32_t texture, const Color& color, TextureRect rect);

bool rect_is_empty(PixelRect rect);
PixelRect whole_window_rect();

// The pixels the quad can touch, a pixel wider on every side, inside the window.
PixelRect quad_bounds(const QuadRecord& quad);

// Where this frame's quads can differ from the shown ones: every pixel outside it gets the same
// quads in the same order from both lists.
PixelRect changed_region(const GrowableArray<QuadRecord>& now, const GrowableArray<QuadRecord>& before);

// Quads first to end - 1 of this frame that reach the region, into the bound frame buffer.
void draw_recorded_quads(int64_t first, int64_t end, PixelRect region);
