#include "render/matrix.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Point {
    float x, y;
};

Point apply(const Matrix& m, float x, float y) {
    return Point{m.m[0] * x + m.m[4] * y + m.m[12], m.m[1] * x + m.m[5] * y + m.m[13]};
}

TEST(Matrix, ProductAppliesTheRightFactorFirst) {
    Point moved_after = apply(matrix_multiply(matrix_translation(3, 4), matrix_scale(2, 2)), 1, 1);
    EXPECT_FLOAT_EQ(moved_after.x, 5);
    EXPECT_FLOAT_EQ(moved_after.y, 6);
    Point scaled_after = apply(matrix_multiply(matrix_scale(2, 2), matrix_translation(3, 4)), 1, 1);
    EXPECT_FLOAT_EQ(scaled_after.x, 8);
    EXPECT_FLOAT_EQ(scaled_after.y, 10);
}

TEST(Matrix, RotationIsCounterClockwise) {
    Point p = apply(matrix_rotation(static_cast<float>(M_PI / 2)), 1, 0);
    EXPECT_NEAR(p.x, 0, 1e-6);
    EXPECT_NEAR(p.y, 1, 1e-6);
    EXPECT_FLOAT_EQ(matrix_scale(3, 5).m[10], 1);
}

TEST(Matrix, ScreenProjectionMapsTheWindowOntoClipSpace) {
    Matrix projection = build_screen_projection(1024, 832);
    Point centre = apply(projection, 512, 416);
    EXPECT_FLOAT_EQ(centre.x, 0);
    EXPECT_FLOAT_EQ(centre.y, 0);
    Point corner = apply(projection, 1024, 832);
    EXPECT_FLOAT_EQ(corner.x, 1);
    EXPECT_FLOAT_EQ(corner.y, 1);
    EXPECT_FLOAT_EQ(projection.m[10], -1);
    EXPECT_FLOAT_EQ(projection.m[15], 1);
}

}  // namespace
