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

// The whole pixels the first quad that moved by whole pixels moved by, of those both lists hold;
// false when none did.
bool find_whole_pixel_shift(const GrowableArray<QuadRecord>& now, const GrowableArray<QuadRecord>& before,
                            PixelShift* shift);

// The columns and rows a move by the shift brings in from outside the window.
PixelRegion brought_in_region(PixelShift shift);

// The first quads of both lists that follow one another, each moved by the shift, the same but for
// where it lies, from the first on; a few quads of either may come between, as when a hovered
// state's ring comes, goes or moves to the next state. Adds to changed where those lie: in this
// frame, or in the last moved by the shift. Stops at before_end of the last frame's quads, or where
// the next pair lies too far on.
struct FollowedQuads {
    int64_t now, before;
};
FollowedQuads follow_moved_quads(const GrowableArray<QuadRecord>& now, const GrowableArray<QuadRecord>& before,
                                 int64_t before_end, PixelShift shift, PixelRegion* changed);

// For a frame whose quads are the last frame's, the first of them that moved having moved by whole
// pixels: that shift, and note called for rectangles that hold every pixel where the frame differs
// from the scene moved by it. They are the pixels that come in from outside the window, and every
// quad that did not move by the shift both where it was, moved, and where it is. False for lists
// of two lengths or when no quad moved by whole pixels.
bool each_moved_rect(const GrowableArray<QuadRecord>& now, const GrowableArray<QuadRecord>& before, PixelShift* shift,
                     void (*note)(PixelRect rect, void* context), void* context);
