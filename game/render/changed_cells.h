// Where a frame differs from the one the scene holds, in cells of the window: much tighter than a
// few rectangles when many scattered or slanted quads change, as when the whole map moves.
#pragma once

#include "base/arena.h"
#include "render/pixel_region.h"
#include "render/quad_record.h"

#include <cstdint>

constexpr int32_t changed_cell_size = 16;

struct ChangedCells {
    int32_t columns, rows;
    // Row after row, 1 where a changed quad may reach the cell.
    GrowableArray<uint8_t> marked;
    // Runs of marked cells along each row as window rectangles, their pixels and their bounds.
    GrowableArray<PixelRect> rects;
    int64_t area;
    PixelRect bounds;
};

// Every pixel outside the marked cells gets the same quads in the same order from both lists. A
// big picture counts only where it holds something. False, with nothing marked, without room for
// the cells.
bool find_changed_cells(const GrowableArray<QuadRecord>& now, const GrowableArray<QuadRecord>& before,
                        ChangedCells* cells);

// The shift of a frame whose quads moved by whole pixels, and the cells where it differs from the
// scene moved by that shift; false, with nothing marked, when it did not move so or without room
// for the cells.
bool find_moved_cells(const GrowableArray<QuadRecord>& now, const GrowableArray<QuadRecord>& before,
                      PixelShift* shift, ChangedCells* cells);

// The first run that reaches above window row y; runs come row after row.
int64_t first_run_reaching(const ChangedCells& cells, int32_t y);

// Whether the quad may reach a marked cell.
bool quad_meets_cells(const QuadRecord& quad, const ChangedCells& cells);
