// Where a frame differs from the one the scene holds.
#pragma once

#include "base/arena.h"
#include "render/pixel_region.h"
#include "render/quad_record.h"

// Calls note for every quad of either list that may give some pixel something else: quads that
// differ at the same place in lists of one length, and after a first difference in lists of two
// lengths every later quad of both.
void each_changed_quad(const GrowableArray<QuadRecord>& now, const GrowableArray<QuadRecord>& before,
                       void (*note)(const QuadRecord& quad, void* context), void* context);

// Every pixel outside the region gets the same quads in the same order from both lists. A big
// picture counts only where it holds something.
PixelRegion changed_region(const GrowableArray<QuadRecord>& now, const GrowableArray<QuadRecord>& before);
