#include "render/changed_cells.h"
#include "render/changed_region.h"
#include "render/scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

QuadRecord square_at(float x, float y, float side) {
    Matrix view = build_screen_projection(1024, 832);
    Matrix model = matrix_multiply(matrix_translation(x, y), matrix_scale(side, side));
    return quad_record(matrix_multiply(view, model), no_texture, Color{1, 1, 1, 1}, whole_texture);
}

GrowableArray<QuadRecord> list_of(std::vector<QuadRecord>& quads) {
    return GrowableArray<QuadRecord>{quads.data(), static_cast<int64_t>(quads.size()),
                                     static_cast<int64_t>(quads.size()), 0};
}

// The pixels a pixel past the quads' edges; rounding through the projection may add one more.
void expect_rect(PixelRect rect, int32_t left, int32_t bottom, int32_t right, int32_t top) {
    EXPECT_TRUE(rect.left <= left && rect.left >= left - 1) << rect.left;
    EXPECT_TRUE(rect.bottom <= bottom && rect.bottom >= bottom - 1) << rect.bottom;
    EXPECT_TRUE(rect.right >= right && rect.right <= right + 1) << rect.right;
    EXPECT_TRUE(rect.top >= top && rect.top <= top + 1) << rect.top;
}

class ChangedRegion : public ::testing::Test {
protected:
    void SetUp() override {
        window_width = 1024;
        window_height = 832;
        // The cells grow in the persistent arena.
        if (!persistent_arena.base) create_arenas(int64_t{1} << 20, int64_t{1} << 20);
    }
};

TEST_F(ChangedRegion, AQuadsBoundsReachAPixelPastItsEdgesAndStopAtTheWindow) {
    expect_rect(quad_bounds(square_at(100, 100, 10)), 99, 99, 111, 111);
    expect_rect(quad_bounds(square_at(1000, -20, 64)), 999, 0, 1023, 45);
    EXPECT_EQ(quad_bounds(square_at(1000, -20, 64)).right, 1024);
    EXPECT_EQ(quad_bounds(square_at(1000, -20, 64)).bottom, 0);
}

// The region's rectangles, sorted by their left edges.
std::vector<std::vector<int32_t>> rects_of(const PixelRegion& region) {
    std::vector<std::vector<int32_t>> rects;
    for (int32_t i = 0; i < region.count; i++) {
        const PixelRect& r = region.rects[i];
        rects.push_back({r.left, r.bottom, r.right, r.top});
    }
    std::sort(rects.begin(), rects.end());
    return rects;
}

using Rects = std::vector<std::vector<int32_t>>;

// Only an upright quad may take its texture coordinates from window positions.
TEST_F(ChangedRegion, UprightEdgesAreThoseOfAQuadNotTurnedNorSeenInPerspective) {
    WindowEdges edges;
    ASSERT_TRUE(upright_edges(square_at(100, 200, 64), &edges));
    EXPECT_NEAR(edges.x0, 100, 1e-3);
    EXPECT_NEAR(edges.x1, 164, 1e-3);
    EXPECT_NEAR(edges.y0, 200, 1e-3);
    EXPECT_NEAR(edges.y1, 264, 1e-3);
    Matrix view = build_screen_projection(1024, 832);
    Matrix mirrored = matrix_multiply(matrix_translation(300, 100), matrix_scale(-50, 40));
    ASSERT_TRUE(upright_edges(quad_record(matrix_multiply(view, mirrored), no_texture, Color{}, whole_texture), &edges));
    EXPECT_NEAR(edges.x0 - edges.x1, 50, 1e-3);
    Matrix turned = matrix_multiply(matrix_translation(300, 100), matrix_rotation(0.01f));
    EXPECT_FALSE(upright_edges(quad_record(matrix_multiply(view, turned), no_texture, Color{}, whole_texture), &edges));
    EXPECT_FALSE(upright_edges(square_at(100, 200, 0), &edges));
    QuadRecord in_perspective = square_at(100, 200, 64);
    for (float* corner : in_perspective.corners) corner[3] = 2;
    EXPECT_FALSE(upright_edges(in_perspective, &edges));
}

TEST_F(ChangedRegion, OnlyTheQuadsThatDifferCount) {
    std::vector<QuadRecord> before{square_at(0, 0, 1024), square_at(100, 100, 10), square_at(600, 600, 50)};
    std::vector<QuadRecord> now = before;
    EXPECT_EQ(changed_region(list_of(now), list_of(before)).count, 0);
    // Moved: where it was and where it is now, but not the panel under it nor the square after it.
    now[1] = square_at(200, 100, 10);
    EXPECT_EQ(rects_of(changed_region(list_of(now), list_of(before))),
              (Rects{{99, 99, 111, 111}, {199, 99, 211, 111}}));
    // Moved a little: the two places overlap and make one rectangle.
    now[1] = square_at(104, 100, 10);
    EXPECT_EQ(rects_of(changed_region(list_of(now), list_of(before))), (Rects{{99, 99, 115, 111}}));
    now[1] = before[1];
    now[1].color.a = 0.5f;
    EXPECT_EQ(rects_of(changed_region(list_of(now), list_of(before))), (Rects{{99, 99, 111, 111}}));
}

TEST_F(ChangedRegion, RectanglesThatFillMostOfTheirBoundsBecomeOne) {
    std::vector<QuadRecord> before{square_at(0, 0, 100), square_at(110, 0, 100)};
    std::vector<QuadRecord> now{square_at(0, 0, 99), square_at(110, 0, 99)};
    EXPECT_EQ(rects_of(changed_region(list_of(now), list_of(before))), (Rects{{0, 0, 211, 101}}));
}

TEST_F(ChangedRegion, AFullRegionGrowsTheRectangleThatGrowsLeast) {
    PixelRegion region{};
    for (int32_t i = 0; i < region_rect_capacity; i++) region_add(&region, PixelRect{i * 30, 0, i * 30 + 10, 10});
    region_add(&region, PixelRect{92, 0, 98, 10});
    ASSERT_EQ(region.count, region_rect_capacity);
    EXPECT_EQ(rects_of(region)[3], (std::vector<int32_t>{90, 0, 100, 10}));
    region_add(&region, PixelRect{0, 0, 12, 10});
    EXPECT_EQ(rects_of(region)[0], (std::vector<int32_t>{0, 0, 12, 10}));
}

TEST_F(ChangedRegion, AnInsertedQuadMakesEveryLaterQuadCount) {
    std::vector<QuadRecord> before{square_at(100, 100, 10), square_at(600, 600, 50)};
    std::vector<QuadRecord> added = before;
    added.push_back(square_at(300, 300, 20));
    EXPECT_EQ(rects_of(changed_region(list_of(added), list_of(before))), (Rects{{299, 299, 321, 321}}));
    // Removing the first quad shifts the second into its place: both lists count from there on.
    std::vector<QuadRecord> removed{square_at(600, 600, 50)};
    EXPECT_EQ(rects_of(changed_region(list_of(removed), list_of(before))),
              (Rects{{99, 99, 111, 111}, {599, 599, 651, 651}}));
}

// A long thin line from corner to corner, moved: its cells follow the line, a small part of its
// bounds, and hold every pixel it covers before and after.
TEST_F(ChangedRegion, ASlantedLineMarksOnlyTheCellsAlongIt) {
    auto line_at = [](float x) {
        Matrix view = build_screen_projection(1024, 832);
        Matrix model = matrix_multiply(matrix_translation(x, 50),
                                       matrix_multiply(matrix_rotation(0.6), matrix_scale(900, 3)));
        return quad_record(matrix_multiply(view, model), no_texture, Color{1, 1, 1, 1}, whole_texture);
    };
    std::vector<QuadRecord> before{square_at(900, 700, 10), line_at(40)};
    std::vector<QuadRecord> now{square_at(900, 700, 10), line_at(41)};
    ChangedCells cells{};
    ASSERT_TRUE(find_changed_cells(list_of(now), list_of(before), &cells));
    PixelRect bounds = quad_bounds(line_at(40));
    EXPECT_LT(cells.area * 5, rect_area(bounds));
    EXPECT_FALSE(quad_meets_cells(square_at(900, 700, 10), cells));
    // Points along the line, either version.
    for (double t = 0; t <= 1; t += 0.05) {
        for (double x0 : {40.0, 41.0}) {
            int32_t x = static_cast<int32_t>(x0 + 900 * t * 0.825336), y = static_cast<int32_t>(50 + 900 * t * 0.564642);
            if (x >= 1024 || y >= 832) continue;
            EXPECT_TRUE(cells.marked.data[(y / changed_cell_size) * cells.columns + x / changed_cell_size]) << x << ", " << y;
        }
    }
    // Nothing changed, nothing marked.
    ASSERT_TRUE(find_changed_cells(list_of(before), list_of(before), &cells));
    EXPECT_EQ(cells.area, 0);
    EXPECT_EQ(cells.rects.count, 0);
}

// A map moved three pixels right under a see-through flat panel and a label: the panel counts
// only along its edges, the label where it was moved to and where it is, the map not at all, and
// the columns that come in from the left edge.
TEST_F(ChangedRegion, AMoveByWholePixelsCountsWhatStayedPutAndWhatCameInButNotWhatMoved) {
    Texture flat{};
    flat.shading = shading_flat;
    auto panel = [&] {
        Matrix view = build_screen_projection(1024, 832);
        return quad_record(matrix_multiply(view, matrix_scale(1024, 176)), flat, Color{0, 0, 0, 0.75f}, whole_texture);
    };
    std::vector<QuadRecord> before{square_at(100, 300, 40), square_at(500, 100, 40), panel(), square_at(800, 60, 20)};
    std::vector<QuadRecord> now{square_at(103, 300, 40), square_at(503, 100, 40), panel(), square_at(800, 60, 20)};
    ChangedCells cells{};
    PixelShift shift{};
    ASSERT_TRUE(find_moved_cells(list_of(now), list_of(before), &shift, &cells));
    EXPECT_EQ(shift.x, 3);
    EXPECT_EQ(shift.y, 0);
    auto marked = [&](int32_t x, int32_t y) { return cells.marked.data[(y / changed_cell_size) * cells.columns + x / changed_cell_size] != 0; };
    EXPECT_TRUE(marked(1, 500));
    EXPECT_FALSE(marked(120, 320));
    EXPECT_FALSE(marked(520, 120));
    EXPECT_FALSE(marked(300, 100));
    EXPECT_TRUE(marked(300, 180));
    EXPECT_TRUE(marked(805, 65));
    // Moved by half a pixel, or with a quad more: no move by whole pixels.
    now[0] = square_at(100.5, 300, 40);
    now[1] = square_at(500.5, 100, 40);
    EXPECT_FALSE(find_moved_cells(list_of(now), list_of(before), &shift, &cells));
    now.pop_back();
    EXPECT_FALSE(find_moved_cells(list_of(now), list_of(before), &shift, &cells));
}

}  // namespace
