// Every quad of a frame, recorded by the primitives and drawn later: runs of quads with the same
// texture go to the graphics layer as one draw, and a frame can be compared with the
// one before it to find the only part of the window that needs drawing again.
#pragma once

#include "base/arena.h"
#include "base/color.h"
#include "render/matrix.h"
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

// Window pixels, right and top edges outside; empty when right <= left or top <= bottom.
struct PixelRect {
    int32_t left, bottom, right, top;
};

// This frame's quads in drawing order, and those the scene holds from the frame before.
extern GrowableArray<QuadRecord> frame_quads;
extern GrowableArray<QuadRecord> shown_quads;

// The unit quad through mvp, its corners placed as the sprite shader's mvp * (x, y, 0, 1) would.
QuadRecord quad_record(const Matrix& mvp, uint32_t texture, const Color& color, TextureRect rect);
void record_quad(const QuadRecord& quad);

bool rect_is_empty(PixelRect rect);
bool rect_is_whole_window(PixelRect rect);
PixelRect whole_window_rect();

// Window rectangles that together hold every pixel of a region; they may overlap.
constexpr int32_t region_rect_capacity = 32;
struct PixelRegion {
    int32_t count;
    PixelRect rects[region_rect_capacity];
};

PixelRegion whole_window_region();

// Drawing and clearing reach only the rectangle until the scissor is turned off.
void limit_to(PixelRect rect);

// Adds the rectangle, joined to one it overlaps when that costs no pixels beyond the two, and to
// the one it enlarges least when the region is full.
void region_add(PixelRegion* region, PixelRect rect);

// The pixels the quad can touch, a pixel wider on every side, inside the window.
PixelRect quad_bounds(const QuadRecord& quad);

// Where this frame's quads can differ from the shown ones: every pixel outside it gets the same
// quads in the same order from both lists.
PixelRegion changed_region(const GrowableArray<QuadRecord>& now, const GrowableArray<QuadRecord>& before);

// Quads first to end - 1 of this frame that reach the region, into the bound frame buffer; over
// the scene's clear colour filling the region when `clear_under` is set.
void draw_recorded_quads(int64_t first, int64_t end, PixelRect region, bool clear_under);

// Each rectangle of the region cleared to the scene's colour and given this frame's quads, within
// its own scissor; one upload for all.
void draw_changed_region(const PixelRegion& region);

// The region's rectangles in one draw through the bound program, each with texture coordinates
// that are its window position in units of the window's size.
void draw_region_rects(const PixelRegion& region);
