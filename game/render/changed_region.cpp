#include "render/changed_region.h"

#include "render/picture_cover.h"

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
