#include "render/quad_batch.h"
#include "render/scene.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

QuadRecord square_at(float x, float y, float side) {
    Matrix view = build_screen_projection(1024, 832);
    Matrix model = matrix_multiply(matrix_translation(x, y), matrix_scale(side, side));
    return QuadRecord{matrix_multiply(view, model), Color{1, 1, 1, 1}, whole_texture, 1, 0};
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
    }
};

TEST_F(ChangedRegion, AQuadsBoundsReachAPixelPastItsEdgesAndStopAtTheWindow) {
    expect_rect(quad_bounds(square_at(100, 100, 10)), 99, 99, 111, 111);
    expect_rect(quad_bounds(square_at(1000, -20, 64)), 999, 0, 1023, 45);
    EXPECT_EQ(quad_bounds(square_at(1000, -20, 64)).right, 1024);
    EXPECT_EQ(quad_bounds(square_at(1000, -20, 64)).bottom, 0);
}

TEST_F(ChangedRegion, OnlyTheQuadsThatDifferCount) {
    std::vector<QuadRecord> before{square_at(0, 0, 1024), square_at(100, 100, 10), square_at(600, 600, 50)};
    std::vector<QuadRecord> now = before;
    EXPECT_TRUE(rect_is_empty(changed_region(list_of(now), list_of(before))));
    // Moved: where it was and where it is now, but not the panel under it nor the square after it.
    now[1] = square_at(200, 100, 10);
    expect_rect(changed_region(list_of(now), list_of(before)), 99, 99, 211, 111);
    now[1].color.a = 0.5f;
    expect_rect(changed_region(list_of(now), list_of(before)), 99, 99, 211, 111);
}

TEST_F(ChangedRegion, AnInsertedQuadMakesEveryLaterQuadCount) {
    std::vector<QuadRecord> before{square_at(100, 100, 10), square_at(600, 600, 50)};
    std::vector<QuadRecord> added = before;
    added.push_back(square_at(300, 300, 20));
    expect_rect(changed_region(list_of(added), list_of(before)), 299, 299, 321, 321);
    // Removing the first quad shifts the second into its place: both lists count from there on.
    std::vector<QuadRecord> removed{square_at(600, 600, 50)};
    expect_rect(changed_region(list_of(removed), list_of(before)), 99, 99, 651, 651);
}

}  // namespace
