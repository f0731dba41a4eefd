#include "render/changed_cells.h"

#include "render/changed_region.h"
#include "render/picture_cover.h"
#include "render/scene_target.h"

#include <cmath>

namespace {

// As quad_bounds: a pixel of margin, far more than corners' rounding back from clip space.
constexpr double pixel_margin = 1;

void mark_rect(ChangedCells* cells, PixelRect rect) {
    if (rect_is_empty(rect)) return;
    int32_t left = rect.left / changed_cell_size, right = (rect.right + changed_cell_size - 1) / changed_cell_size;
    int32_t bottom = rect.bottom / changed_cell_size, top = (rect.top + changed_cell_size - 1) / changed_cell_size;
    if (right > cells->columns) right = cells->columns;
    if (top > cells->rows) top = cells->rows;
    for (int32_t row = bottom; row < top; row++) {
        for (int32_t column = left; column < right; column++) cells->marked.data[int64_t{row} * cells->columns + column] = 1;
    }
}

// The quad's corners in window pixels around its edge, (0, 0), (1, 0), (1, 1), (0, 1); false when
// one lies behind the eye.
bool outline(const QuadRecord& quad, double x[4], double y[4]) {
    const int order[4] = {0, 1, 3, 2};
    for (int i = 0; i < 4; i++) {
        const float* corner = quad.corners[order[i]];
        double w = corner[3];
        if (w <= 0) return false;
        x[i] = (corner[0] / w + 1) * 0.5 * window_width;
        y[i] = (corner[1] / w + 1) * 0.5 * window_height;
    }
    return true;
}

// Row by row of cells, the columns the quad's outline crosses within the row's band, a margin
// wider on every side: a slanted line marks only the cells along it.
void mark_outline(ChangedCells* cells, const double x[4], const double y[4]) {
    double low_y = fmin(fmin(y[0], y[1]), fmin(y[2], y[3])), high_y = fmax(fmax(y[0], y[1]), fmax(y[2], y[3]));
    int32_t first_row = static_cast<int32_t>(floor((low_y - pixel_margin) / changed_cell_size));
    int32_t last_row = static_cast<int32_t>(floor((high_y + pixel_margin) / changed_cell_size));
    if (first_row < 0) first_row = 0;
    if (last_row >= cells->rows) last_row = cells->rows - 1;
    for (int32_t row = first_row; row <= last_row; row++) {
        double band_low = row * changed_cell_size - pixel_margin, band_high = (row + 1) * changed_cell_size + pixel_margin;
        double low_x = INFINITY, high_x = -INFINITY;
        // A convex outline meets the band widest on its edges, each cut to the band.
        for (int i = 0; i < 4; i++) {
            double x0 = x[i], y0 = y[i], x1 = x[(i + 1) % 4], y1 = y[(i + 1) % 4];
            if ((y0 < band_low && y1 < band_low) || (y0 > band_high && y1 > band_high)) continue;
            double ends[2] = {x0, x1};
            if (y0 != y1) {
                double slope = (x1 - x0) / (y1 - y0);
                double from = fmax(fmin(y0, y1), band_low), to = fmin(fmax(y0, y1), band_high);
                ends[0] = x0 + (from - y0) * slope;
                ends[1] = x0 + (to - y0) * slope;
            }
            low_x = fmin(low_x, fmin(ends[0], ends[1]));
            high_x = fmax(high_x, fmax(ends[0], ends[1]));
        }
        if (low_x > high_x) continue;
        double left = fmax(0.0, floor(low_x - pixel_margin)), right = fmin(double(window_width), ceil(high_x + pixel_margin));
        PixelRect band{static_cast<int32_t>(left), row * changed_cell_size, static_cast<int32_t>(right),
                       (row + 1) * changed_cell_size};
        mark_rect(cells, band);
    }
}

void mark_quad(const QuadRecord& quad, void* context) {
    auto* cells = static_cast<ChangedCells*>(context);
    PixelRect parts[picture_part_capacity];
    int32_t count = covered_parts(quad, parts);
    if (count >= 0) {
        for (int32_t i = 0; i < count; i++) mark_rect(cells, parts[i]);
        return;
    }
    double x[4], y[4];
    if (!outline(quad, x, y)) {
        mark_rect(cells, whole_window_rect());
        return;
    }
    mark_outline(cells, x, y);
}

void collect_runs(ChangedCells* cells) {
    array_clear(&cells->rects);
    cells->area = 0;
    cells->bounds = PixelRect{0, 0, 0, 0};
    for (int32_t row = 0; row < cells->rows; row++) {
        const uint8_t* marks = cells->marked.data + int64_t{row} * cells->columns;
        for (int32_t column = 0; column < cells->columns;) {
            if (!marks[column]) {
                column++;
                continue;
            }
            int32_t end = column + 1;
            while (end < cells->columns && marks[end]) end++;
            PixelRect run{column * changed_cell_size, row * changed_cell_size, end * changed_cell_size,
                          (row + 1) * changed_cell_size};
            if (run.right > window_width) run.right = window_width;
            if (run.top > window_height) run.top = window_height;
            array_push(&cells->rects, run);
            cells->area += rect_area(run);
            cells->bounds = rect_union(cells->bounds, run);
            column = end;
        }
    }
}

// Cells for the window, none marked; false, with none at all, without room for them.
bool start_cells(ChangedCells* cells) {
    cells->columns = (window_width + changed_cell_size - 1) / changed_cell_size;
    cells->rows = (window_height + changed_cell_size - 1) / changed_cell_size;
    int64_t count = int64_t{cells->columns} * cells->rows;
    array_reserve(&cells->marked, count);
    array_clear(&cells->rects);
    cells->area = 0;
    cells->bounds = PixelRect{0, 0, 0, 0};
    if (!cells->marked.data || cells->marked.capacity < count) {
        cells->columns = cells->rows = 0;
        return false;
    }
    cells->marked.count = count;
    for (int64_t i = 0; i < count; i++) cells->marked.data[i] = 0;
    return true;
}

}  // namespace

bool find_changed_cells(const GrowableArray<QuadRecord>& now, const GrowableArray<QuadRecord>& before,
                        ChangedCells* cells) {
    if (!start_cells(cells)) return false;
    each_changed_quad(now, before, mark_quad, cells);
    collect_runs(cells);
    return true;
}

bool find_moved_cells(const GrowableArray<QuadRecord>& now, const GrowableArray<QuadRecord>& before,
                      PixelShift* shift, ChangedCells* cells) {
    if (!start_cells(cells)) return false;
    auto mark = [](PixelRect rect, void* context) { mark_rect(static_cast<ChangedCells*>(context), rect); };
    if (!each_moved_rect(now, before, shift, mark, cells)) {
        start_cells(cells);
        return false;
    }
    collect_runs(cells);
    return true;
}

int64_t first_run_reaching(const ChangedCells& cells, int32_t y) {
    int64_t low = 0, high = cells.rects.count;
    while (low < high) {
        int64_t middle = (low + high) / 2;
        if (cells.rects.data[middle].top <= y) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

bool quad_meets_cells(const QuadRecord& quad, const ChangedCells& cells) {
    PixelRect bounds = quad_bounds(quad);
    if (!rects_meet(bounds, cells.bounds)) return false;
    int32_t left = bounds.left / changed_cell_size, right = (bounds.right + changed_cell_size - 1) / changed_cell_size;
    int32_t bottom = bounds.bottom / changed_cell_size, top = (bounds.top + changed_cell_size - 1) / changed_cell_size;
    if (right > cells.columns) right = cells.columns;
    if (top > cells.rows) top = cells.rows;
    for (int32_t row = bottom; row < top; row++) {
        for (int32_t column = left; column < right; column++) {
            if (cells.marked.data[int64_t{row} * cells.columns + column]) return true;
        }
    }
    return false;
}
