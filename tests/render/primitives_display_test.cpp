#include "render_helpers.h"

#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"

#include <kestrune_system.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr Color red{1, 0, 0, 1};

class Primitives : public ::testing::Test {
protected:
    void SetUp() override {
        start_renderer();
        begin_scene();
    }

    static bool is_background(Pixel p) { return p.r == 0 && p.g == 0 && p.b == 51; }
    static bool is_red(Pixel p) { return p.r > 200 && p.g < 30 && p.b < 30; }

    // Connected groups of pixels in the region for which the test holds.
    template <typename Test>
    static int count_blobs(int32_t x, int32_t y, int32_t width, int32_t height, Test test) {
        std::vector<uint8_t> pixels = read_region(x, y, width, height);
        std::vector<bool> seen(static_cast<size_t>(width) * height, false);
        auto lit = [&](int32_t i) {
            return test(Pixel{pixels[i * 4], pixels[i * 4 + 1], pixels[i * 4 + 2], pixels[i * 4 + 3]});
        };
        int blobs = 0;
        for (int32_t start = 0; start < width * height; start++) {
            if (seen[start] || !lit(start)) continue;
            blobs++;
            std::vector<int32_t> stack{start};
            seen[start] = true;
            while (!stack.empty()) {
                int32_t i = stack.back();
                stack.pop_back();
                int32_t px = i % width, py = i / width;
                const int32_t neighbours[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
                for (const auto& d : neighbours) {
                    int32_t nx = px + d[0], ny = py + d[1];
                    if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
                    int32_t j = ny * width + nx;
                    if (!seen[j] && lit(j)) {
                        seen[j] = true;
                        stack.push_back(j);
                    }
                }
            }
        }
        return blobs;
    }
};

TEST_F(Primitives, PlayerColoursFollowTheSeatOrder) {
    Color purple = player_color(4), orange = player_color(5), other = player_color(6);
    EXPECT_FLOAT_EQ(player_color(0).r, 1);
    EXPECT_FLOAT_EQ(player_color(1).b, 1);
    EXPECT_FLOAT_EQ(player_color(2).g, 1);
    EXPECT_FLOAT_EQ(player_color(3).g, 1);
    EXPECT_FLOAT_EQ(purple.r, 0.3f);
    EXPECT_FLOAT_EQ(orange.g, 0.3f);
    EXPECT_FLOAT_EQ(other.r + other.g + other.b, 0);
    EXPECT_FLOAT_EQ(other.a, 1);
}

TEST_F(Primitives, AScreenQuadCoversExactlyItsPixels) {
    draw_quad(white_texture, 100, 50, 20, 10, red, screen_projection);
    EXPECT_TRUE(is_red(read_scene_pixel(100, 50)));
    EXPECT_TRUE(is_red(read_scene_pixel(119, 59)));
    EXPECT_TRUE(is_background(read_scene_pixel(99, 55)));
    EXPECT_TRUE(is_background(read_scene_pixel(120, 55)));
    EXPECT_TRUE(is_background(read_scene_pixel(110, 49)));
    EXPECT_TRUE(is_background(read_scene_pixel(110, 60)));
    EXPECT_EQ(count_blobs(80, 30, 60, 50, is_red), 1);
}

TEST_F(Primitives, AWorldQuadGoesThroughTheCamera) {
    camera_matrix = matrix_multiply(
        matrix_multiply(matrix_multiply(screen_projection, matrix_translation(512, 416)), matrix_scale(2, 2)),
        matrix_translation(-10, -20));
    draw_quad(white_texture, 10, 20, 5, 5, red, camera_matrix);
    EXPECT_TRUE(is_red(read_scene_pixel(512, 416)));
    EXPECT_TRUE(is_red(read_scene_pixel(521, 425)));
    EXPECT_TRUE(is_background(read_scene_pixel(511, 420)));
    EXPECT_TRUE(is_background(read_scene_pixel(522, 420)));
    EXPECT_TRUE(is_background(read_scene_pixel(515, 426)));
}

TEST_F(Primitives, CardsShowAsManyShapesAsTheirNumberUpToSix) {
    // Only well inside a shape: the six of the largest number almost touch.
    auto blue_shape = [](Pixel p) { return p.b > 230 && p.r < 30; };
    struct Case {
        int8_t number;
        int shapes;
    };
    for (Case c : {Case{0, 1}, Case{1, 1}, Case{2, 2}, Case{5, 5}, Case{6, 6}, Case{7, 6}, Case{-3, 1}}) {
        begin_scene();
        draw_card(Card{1, 0, c.number}, 200, 200, 128);
        EXPECT_EQ(count_blobs(196, 196, 136, 136, blue_shape), c.shapes) << int(c.number);
    }
    // The background is the card's colour at a seventh; a single shape fills most of the card.
    begin_scene();
    draw_card(Card{1, 2, 1}, 200, 200, 128);
    EXPECT_NEAR(read_scene_pixel(201, 201).b, 36, 2);
    EXPECT_TRUE(blue_shape(read_scene_pixel(225, 225)));
    EXPECT_TRUE(is_background(read_scene_pixel(199, 250)));
    EXPECT_TRUE(is_background(read_scene_pixel(328, 250)));
}

TEST_F(Primitives, AnArrowRunsFromItsStartToJustBeforeItsEnd) {
    draw_arrow(100, 100, 400, 100, 4, 0, red, screen_projection);
    // The shaft is 4 pixels thick, centred on the line.
    EXPECT_TRUE(is_red(read_scene_pixel(150, 98)));
    EXPECT_TRUE(is_red(read_scene_pixel(150, 101)));
    EXPECT_TRUE(is_background(read_scene_pixel(150, 96)));
    EXPECT_TRUE(is_background(read_scene_pixel(150, 103)));
    EXPECT_TRUE(is_background(read_scene_pixel(98, 100)));
    // The head's square spans 11 to 5 widths before the end; the end itself is free.
    EXPECT_TRUE(is_red(read_scene_pixel(370, 100)));
    EXPECT_TRUE(is_background(read_scene_pixel(385, 100)));
}

TEST_F(Primitives, ShortArrowsLoseTheirShaftToBackFaceCulling) {
    // 20 pixels apart with width 4: the shaft would be 20 - 32 long.
    draw_arrow(100, 100, 120, 100, 4, 0, red, screen_projection);
    EXPECT_TRUE(is_background(read_scene_pixel(102, 100)));
    EXPECT_TRUE(is_background(read_scene_pixel(110, 100)));
    EXPECT_TRUE(is_red(read_scene_pixel(88, 100)));
}

TEST_F(Primitives, AnOffsetMovesTheArrowToTheLeftOfItsDirection) {
    draw_arrow(100, 300, 100, 600, 4, 20, red, screen_projection);
    // Travelling upwards, left is towards smaller x.
    EXPECT_TRUE(is_red(read_scene_pixel(80, 400)));
    EXPECT_TRUE(is_background(read_scene_pixel(100, 400)));
}

TEST_F(Primitives, ASelfArrowTurnsAboutItsPivot) {
    draw_self_arrow(white_texture, 300, 300, 40, 20, 0, 20, 0, red, screen_projection);
    EXPECT_TRUE(is_red(read_scene_pixel(280, 300)));
    EXPECT_TRUE(is_red(read_scene_pixel(319, 319)));
    EXPECT_TRUE(is_background(read_scene_pixel(300, 299)));
    begin_scene();
    draw_self_arrow(white_texture, 300, 300, 40, 20, 90, 20, 0, red, screen_projection);
    EXPECT_TRUE(is_red(read_scene_pixel(285, 285)));
    EXPECT_TRUE(is_red(read_scene_pixel(285, 315)));
    EXPECT_TRUE(is_background(read_scene_pixel(305, 300)));
    EXPECT_TRUE(is_background(read_scene_pixel(285, 325)));
}

TEST_F(Primitives, TheShippedPicturesLookAsExpected) {
    draw_quad(shape_textures[5], 0, 0, 64, 64, Color{1, 1, 0, 1}, screen_projection);
    draw_card(Card{0, 1, 3}, 64, 0, 64);
    draw_card(Card{2, 4, 6}, 128, 0, 64);
    draw_arrow(200, 32, 300, 32, 3, 0, Color{0.9f, 0.8f, 0.8f, 1}, screen_projection);
    draw_self_arrow(self_arrow_texture, 340, 10, 50, 45, 0, 25, -0.75, Color{0.9f, 0.8f, 0.8f, 1}, screen_projection);
    draw_quad(shape_textures[0], 324, 0, 32, 32, Color{0.4f, 0.7f, 1, 1}, screen_projection);
    draw_quad(player_texture, 370, 0, 40, 40, player_color(4), screen_projection);
    draw_quad(machine_textures[2], 416, 0, 64, 64, Color{1, 1, 1, 1}, screen_projection);
    present_scene();
    std::string report;
    EXPECT_TRUE(matches_golden("pictures", 0, 0, 480, 64, 12, &report)) << report;
}

}  // namespace
