// Where a frame differs from the one the scene holds.
#pragma once

#include "base/arena.h"
#include "render/pixel_region.h"
#include "render/quad_record.h"

// Every pixel outside the region gets the same quads in the same order from both lists. A big
// picture counts only where it holds something.
PixelRegion changed_region(const GrowableArray<QuadRecord>& now, const GrowableArray<QuadRecord>& before);
