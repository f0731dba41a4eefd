#include "render/pixel_region.h"

#include "render/scene_target.h"

bool rect_is_empty(PixelRect rect) { return rect.right <= rect.left || rect.top <= rect.bottom; }

bool rect_is_whole_window(PixelRect rect) {
    return rect.left <= 0 && rect.bottom <= 0 && rect.right >= window_width && rect.top >= window_height;
}

PixelRect whole_window_rect() { return PixelRect{0, 0, window_width, window_height}; }

PixelRect rect_union(PixelRect a, PixelRect b) {
    if (rect_is_empty(a)) return b;
    if (rect_is_empty(b)) return a;
    return PixelRect{a.left < b.left ? a.left : b.left, a.bottom < b.bottom ? a.bottom : b.bottom,
                     a.right > b.right ? a.right : b.right, a.top > b.top ? a.top : b.top};
}

PixelRect rect_intersection(PixelRect a, PixelRect b) {
    return PixelRect{a.left > b.left ? a.left : b.left, a.bottom > b.bottom ? a.bottom : b.bottom,
                     a.right < b.right ? a.right : b.right, a.top < b.top ? a.top : b.top};
}

int64_t rect_area(PixelRect rect) {
    return rect_is_empty(rect) ? 0 : int64_t{rect.right - rect.left} * (rect.top - rect.bottom);
}

bool rects_meet(PixelRect a, PixelRect b) {
    return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}

PixelRegion whole_window_region() {
    PixelRegion region{};
    region.count = 1;
    region.rects[0] = whole_window_rect();
    return region;
}

int64_t region_area(const PixelRegion& region) {
    int64_t area = 0;
    for (int32_t i = 0; i < region.count; i++) area += rect_area(region.rects[i]);
    return area;
}

void region_add(PixelRegion* region, PixelRect rect) {
    if (rect_is_empty(rect)) return;
    for (int32_t i = 0; i < region->count; i++) {
        PixelRect joined = rect_union(region->rects[i], rect);
        if (rects_meet(region->rects[i], rect) && rect_area(joined) <= rect_area(region->rects[i]) + rect_area(rect)) {
            // The joined rectangle may now overlap another: take it out and add it again.
            region->rects[i] = region->rects[--region->count];
            region_add(region, joined);
            return;
        }
    }
    if (region->count < region_rect_capacity) {
        region->rects[region->count++] = rect;
        return;
    }
    int32_t least = 0;
    for (int32_t i = 1; i < region->count; i++) {
        int64_t growth = rect_area(rect_union(region->rects[i], rect)) - rect_area(region->rects[i]);
        if (growth < rect_area(rect_union(region->rects[least], rect)) - rect_area(region->rects[least])) least = i;
    }
    PixelRect joined = rect_union(region->rects[least], rect);
    region->rects[least] = region->rects[--region->count];
    region_add(region, joined);
}

void region_simplify(PixelRegion* region) {
    PixelRect bounds{0, 0, 0, 0};
    int64_t area = 0;
    for (int32_t i = 0; i < region->count; i++) {
        bounds = rect_union(bounds, region->rects[i]);
        area += rect_area(region->rects[i]);
    }
    if (region->count > 1 && area * 4 >= rect_area(bounds) * 3) {
        region->count = 1;
        region->rects[0] = bounds;
    }
}
