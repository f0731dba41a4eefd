#include "render/changed_region.h"

#include "render/picture_cover.h"
#include "render/scene_target.h"

#include <cmath>
#include <cstring>

namespace {

bool same_quad(const QuadRecord& a, const QuadRecord& b) { return memcmp(&a, &b, sizeof(QuadRecord)) == 0; }

void add_quad(PixelRegion* region, const QuadRecord& quad) {
    PixelRect parts[picture_part_capacity];
    int32_t count = covered_parts(quad, parts);
    if (count < 0) {
        region_add(region, quad_bounds(quad));
        return;
    }
    for (int32_t i = 0; i < count; i++) region_add(region, parts[i]);
}

// Corners placed by the same matrices but for a view moved by whole pixels land that far apart
// within rounding; far less than this.
constexpr double shift_tolerance = 1.0 / 1024;

bool same_but_placed(const QuadRecord& a, const QuadRecord& b) {
    return memcmp(&a.color, &b.color, sizeof a.color) == 0 && memcmp(&a.rect, &b.rect, sizeof a.rect) == 0 &&
           a.texture == b.texture;
}

// How far a corner's x and y lie from the other quad's in window pixels; false in perspective.
bool corner_offset(const float from[4], const float to[4], double* x, double* y) {
    if (from[2] != to[2] || from[3] != to[3] || from[3] != 1) return false;
    *x = (double{to[0]} - from[0]) * window_width / 2;
    *y = (double{to[1]} - from[1]) * window_height / 2;
    return true;
}

bool moved_by(const QuadRecord& before, const QuadRecord& now, PixelShift shift) {
    if (!same_but_placed(before, now)) return false;
    for (int corner = 0; corner < 4; corner++) {
        double x, y;
        if (!corner_offset(before.corners[corner], now.corners[corner], &x, &y)) return false;
        if (std::fabs(x - shift.x) > shift_tolerance || std::fabs(y - shift.y) > shift_tolerance) return false;
    }
    return true;
}

// The whole pixels the quad moved by, when it moved by whole pixels.
bool whole_pixel_move(const QuadRecord& before, const QuadRecord& now, PixelShift* shift) {
    double x, y;
    if (!same_but_placed(before, now) || !corner_offset(before.corners[0], now.corners[0], &x, &y)) return false;
    PixelShift rounded{static_cast<int32_t>(std::lround(x)), static_cast<int32_t>(std::lround(y))};
    if ((rounded.x == 0 && rounded.y == 0) || !moved_by(before, now, rounded)) return false;
    *shift = rounded;
    return true;
}

PixelRect within_window(PixelRect rect) { return rect_intersection(rect, whole_window_rect()); }

PixelRect shifted(PixelRect rect, PixelShift shift) {
    return within_window(PixelRect{rect.left + shift.x, rect.bottom + shift.y, rect.right + shift.x, rect.top + shift.y});
}

// The pixels an upright quad surely draws, those whose centres lie well inside it.
PixelRect surely_drawn_pixels(const WindowEdges& edges) {
    constexpr double margin = 1.0 / 64;
    double left = edges.x0 < edges.x1 ? edges.x0 : edges.x1, right = edges.x0 < edges.x1 ? edges.x1 : edges.x0;
    double bottom = edges.y0 < edges.y1 ? edges.y0 : edges.y1, top = edges.y0 < edges.y1 ? edges.y1 : edges.y0;
    return within_window(PixelRect{static_cast<int32_t>(std::ceil(left - 0.5 + margin)),
                                   static_cast<int32_t>(std::ceil(bottom - 0.5 + margin)),
                                   static_cast<int32_t>(std::floor(right - 0.5 - margin)) + 1,
                                   static_cast<int32_t>(std::floor(top - 0.5 - margin)) + 1});
}

struct RectNote {
    void (*note)(PixelRect rect, void* context);
    void* context;
    void operator()(PixelRect rect) const {
        if (!rect_is_empty(rect)) note(rect, context);
    }
};

// Where a quad that stayed put differs from the scene moved by the shift: where it is and where
// it was, moved. A flat colour blends the same on every pixel it covers, so an upright one leaves
// alone the pixels it covers both now and, moved, before: only its edges count.
void note_unmoved_quad(const RectNote& note, const QuadRecord& quad, PixelShift shift) {
    PixelRect bounds = quad_bounds(quad);
    PixelRect around = rect_union(bounds, shifted(bounds, shift));
    WindowEdges edges;
    if (quad.texture->shading != shading_flat || !upright_edges(quad, &edges)) {
        note(bounds);
        note(shifted(bounds, shift));
        return;
    }
    PixelRect drawn = surely_drawn_pixels(edges);
    PixelRect inside = rect_intersection(drawn, shifted(drawn, shift));
    if (rect_is_empty(inside)) {
        note(around);
        return;
    }
    note(PixelRect{around.left, around.bottom, inside.left, around.top});
    note(PixelRect{inside.right, around.bottom, around.right, around.top});
    note(PixelRect{inside.left, around.bottom, inside.right, inside.bottom});
    note(PixelRect{inside.left, inside.top, inside.right, around.top});
}

}  // namespace

void each_changed_quad(const GrowableArray<QuadRecord>& now, const GrowableArray<QuadRecord>& before,
                       void (*note)(const QuadRecord& quad, void* context), void* context) {
    int64_t common = now.count < before.count ? now.count : before.count;
    int64_t first_extra = common;
    for (int64_t i = 0; i < common; i++) {
        if (same_quad(now.data[i], before.data[i])) continue;
        // With different lengths a change shifts every later quad; from here on all of both lists count.
        if (now.count != before.count) {
            first_extra = i;
            break;
        }
        note(now.data[i], context);
        note(before.data[i], context);
    }
    for (int64_t i = first_extra; i < now.count; i++) note(now.data[i], context);
    for (int64_t i = first_extra; i < before.count; i++) note(before.data[i], context);
}

PixelRegion changed_region(const GrowableArray<QuadRecord>& now, const GrowableArray<QuadRecord>& before) {
    PixelRegion region{};
    each_changed_quad(now, before, [](const QuadRecord& quad, void* context) {
        add_quad(static_cast<PixelRegion*>(context), quad);
    }, &region);
    region_simplify(&region);
    return region;
}

PixelRegion brought_in_region(PixelShift shift) {
    PixelRegion region{};
    if (shift.x > 0) region_add(&region, within_window(PixelRect{0, 0, shift.x, window_height}));
    if (shift.x < 0) region_add(&region, within_window(PixelRect{window_width + shift.x, 0, window_width, window_height}));
    if (shift.y > 0) region_add(&region, within_window(PixelRect{0, 0, window_width, shift.y}));
    if (shift.y < 0) region_add(&region, within_window(PixelRect{0, window_height + shift.y, window_width, window_height}));
    return region;
}

bool find_whole_pixel_shift(const GrowableArray<QuadRecord>& now, const GrowableArray<QuadRecord>& before,
                            PixelShift* shift) {
    int64_t first = 0;
    while (first < now.count && first < before.count && !whole_pixel_move(before.data[first], now.data[first], shift)) first++;
    return first < now.count && first < before.count;
}

namespace {

// How far past a quad that did not move the lists are searched for the next pair that did: a
// hovered state's ring comes or goes, or an arrow is lit, a few quads at a time.
constexpr int64_t follow_reach = 4;

// The fewest quads of now from now_at and of before from before_at to pass over before a pair
// that moved by the shift; false beyond follow_reach.
bool next_moved_pair(const GrowableArray<QuadRecord>& now, int64_t now_at, const GrowableArray<QuadRecord>& before,
                     int64_t before_at, int64_t before_end, PixelShift shift, int64_t* now_skip, int64_t* before_skip) {
    for (int64_t passed = 1; passed <= follow_reach; passed++) {
        for (int64_t from_now = 0; from_now <= passed; from_now++) {
            int64_t i = now_at + from_now, j = before_at + passed - from_now;
            if (i >= now.count || j >= before_end) continue;
            if (!moved_by(before.data[j], now.data[i], shift)) continue;
            *now_skip = from_now;
            *before_skip = passed - from_now;
            return true;
        }
    }
    return false;
}

}  // namespace

FollowedQuads follow_moved_quads(const GrowableArray<QuadRecord>& now, const GrowableArray<QuadRecord>& before,
                                 int64_t before_end, PixelShift shift, PixelRegion* changed) {
    FollowedQuads followed{0, 0};
    if (before_end > before.count) before_end = before.count;
    while (followed.now < now.count && followed.before < before_end) {
        if (moved_by(before.data[followed.before], now.data[followed.now], shift)) {
            followed.now++;
            followed.before++;
            continue;
        }
        int64_t now_skip, before_skip;
        if (!next_moved_pair(now, followed.now, before, followed.before, before_end, shift, &now_skip, &before_skip)) break;
        for (; now_skip > 0; now_skip--) region_add(changed, quad_bounds(now.data[followed.now++]));
        for (; before_skip > 0; before_skip--) region_add(changed, shifted(quad_bounds(before.data[followed.before++]), shift));
    }
    return followed;
}

bool each_moved_rect(const GrowableArray<QuadRecord>& now, const GrowableArray<QuadRecord>& before, PixelShift* shift,
                     void (*note)(PixelRect rect, void* context), void* context) {
    if (now.count != before.count || !find_whole_pixel_shift(now, before, shift)) return false;
    RectNote noted{note, context};
    PixelRegion brought_in = brought_in_region(*shift);
    for (int32_t i = 0; i < brought_in.count; i++) noted(brought_in.rects[i]);
    for (int64_t i = 0; i < now.count; i++) {
        if (moved_by(before.data[i], now.data[i], *shift)) continue;
        if (same_quad(before.data[i], now.data[i])) {
            note_unmoved_quad(noted, now.data[i], *shift);
            continue;
        }
        noted(shifted(quad_bounds(before.data[i]), *shift));
        noted(quad_bounds(now.data[i]));
    }
    return true;
}
