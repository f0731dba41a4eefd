#include "render/picture_cover.h"
#include "render/scene.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int32_t side = 256;

// A picture of side x side texels, its cover noted from the texels given.
Texture picture_of(const std::vector<uint8_t>& pixels) {
    Texture picture{};
    picture.width = picture.height = side;
    note_picture_cover(&picture, pixels.data());
    return picture;
}

// A transparent picture with two opaque texels, far apart.
std::vector<uint8_t> two_dots() {
    std::vector<uint8_t> pixels(side * side * 4, 0);
    for (int32_t texel : {10 * side + 20, 200 * side + 230}) pixels[texel * 4 + 3] = 255;
    return pixels;
}

// The picture drawn upright with its bottom-left corner at (100, 100), `size` pixels a side: the
// window rectangles that hold what it shows.
std::vector<PixelRect> parts_at(const Texture& picture, double size) {
    Matrix view = build_screen_projection(window_width, window_height);
    Matrix model = matrix_multiply(matrix_translation(100, 100), matrix_scale(static_cast<float>(size), static_cast<float>(size)));
    PixelRect parts[picture_part_capacity];
    int32_t count = covered_parts(quad_record(matrix_multiply(view, model), picture, Color{1, 1, 1, 1}, whole_texture), parts);
    return count < 0 ? std::vector<PixelRect>{} : std::vector<PixelRect>(parts, parts + count);
}

bool holds_pixel(const PixelRect& part, int32_t x, int32_t y) {
    return x >= part.left && x < part.right && y >= part.bottom && y < part.top;
}

TEST(PictureCover, AMostlyEmptyPictureIsCoveredByTheCellsAroundWhatItHolds) {
    Texture picture = picture_of(two_dots());
    std::vector<PixelRect> parts = parts_at(picture, side);
    ASSERT_EQ(parts.size(), 2u);
    // At a pixel per texel, texel (x, y) is pixel (100 + x, 100 + y).
    EXPECT_TRUE(holds_pixel(parts[0], 120, 110) || holds_pixel(parts[1], 120, 110));
    EXPECT_TRUE(holds_pixel(parts[0], 330, 300) || holds_pixel(parts[1], 330, 300));
    // One cell and the pixel of margin around it, or two cells where the texel lies within the
    // filter's reach of the next.
    for (const PixelRect& part : parts) EXPECT_LE(rect_area(part), 34 * 34);
}

TEST(PictureCover, SmallOrFullPicturesAreNotCut) {
    Texture picture = picture_of(two_dots());
    // Below half size the smaller levels reach farther than the cells allow for.
    EXPECT_TRUE(parts_at(picture, side / 2 - 1).empty());
    EXPECT_EQ(parts_at(picture, side / 2).size(), 2u);
    Texture opaque = picture_of(std::vector<uint8_t>(side * side * 4, 255));
    EXPECT_TRUE(parts_at(opaque, side).empty());
}

}  // namespace
