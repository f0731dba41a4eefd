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

PixelRegion changed_region(const GrowableArray<QuadRecord>& now, const GrowableArray<QuadRecord>& before) {
    PixelRegion region{};
    int64_t common = now.count < before.count ? now.count : before.count;
    int64_t first_extra = common;
    for (int64_t i = 0; i < common; i++) {
        if (same_quad(now.data[i], before.data[i])) continue;
        // With different lengths a change shifts every later quad; from here on all of both lists count.
        if (now.count != before.count) {
            first_extra = i;
            break;
        }
        add_quad(&region, now.data[i]);
        add_quad(&region, before.data[i]);
    }
    for (int64_t i = first_extra; i < now.count; i++) add_quad(&region, now.data[i]);
    for (int64_t i = first_extra; i < before.count; i++) add_quad(&region, before.data[i]);
    region_simplify(&region);
    return region;
}
