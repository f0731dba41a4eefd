// Rectangles of window pixels, and regions made of a few of them: what a frame must draw again.
#pragma once

#include <cstdint>

// Window pixels, right and top edges outside; empty when right <= left or top <= bottom.
struct PixelRect {
    int32_t left, bottom, right, top;
};

// A move of the whole window's pixels by whole pixels.
struct PixelShift {
    int32_t x, y;
};

bool rect_is_empty(PixelRect rect);
bool rect_is_whole_window(PixelRect rect);
PixelRect whole_window_rect();
PixelRect rect_union(PixelRect a, PixelRect b);
// The pixels of both; empty when they do not meet.
PixelRect rect_intersection(PixelRect a, PixelRect b);
int64_t rect_area(PixelRect rect);
bool rects_meet(PixelRect a, PixelRect b);

// Window rectangles that together hold every pixel of a region; they may overlap.
constexpr int32_t region_rect_capacity = 64;
struct PixelRegion {
    int32_t count;
    PixelRect rects[region_rect_capacity];
};

PixelRegion whole_window_region();
// The rectangles' pixels, overlaps counted again.
int64_t region_area(const PixelRegion& region);

// Adds the rectangle, joined to one it overlaps when that costs no pixels beyond the two, and to
// the one it enlarges least when the region is full.
void region_add(PixelRegion* region, PixelRect rect);

// One rectangle instead of several when they hold most of their bounds: each rectangle is drawn
// on its own, and then one pass costs less.
void region_simplify(PixelRegion* region);
