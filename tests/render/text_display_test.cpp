#include "render_helpers.h"

#include "model/goals.h"
#include "render/font.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "shell/memory_overlay.h"

#include <kestrune_system.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr Color white{1, 1, 1, 1};
constexpr Color green{0, 1, 0, 1};

class Text : public ::testing::Test {
protected:
    void SetUp() override {
        start_renderer();
        begin_scene();
    }

    // Every glyph a solid 16 x 32 block at scale 256 that advances 16, "%" included; lines 32 apart.
    static void use_block_font() {
        std::string path = write_temporary_file("block_font.txt",
                                                "i resources/white.png\n"
                                                "g -1 0 0 0.0625 0 0 0.0625 0.125\n"
                                                "g 32 0 0 0.03125 0 0 0 0.125\n");
        font = Font{};
        ASSERT_EQ(captured_output([&] { load_font(view_of(path)); }), "");
        ASSERT_NE(font.texture.name, 0u);
    }

    static void use_shipped_font() {
        font = Font{};
        load_font(str("resources/font_info.txt"));
    }

    static bool is_background(Pixel p) { return p.r == 0 && p.g == 0 && p.b == 51; }
    static bool is_white(Pixel p) { return p.r > 240 && p.g > 240 && p.b > 240; }
    static bool is_green(Pixel p) { return p.g > 240 && p.r < 20 && p.b < 60; }
    static bool is_red(Pixel p) { return p.r > 240 && p.g < 20 && p.b < 60; }

    // Bounding box of the pixels that are not background, or false when there are none.
    static bool ink_box(int32_t x, int32_t y, int32_t width, int32_t height, int32_t box[4]) {
        std::vector<uint8_t> pixels = read_region(x, y, width, height);
        box[0] = box[1] = 1 << 30;
        box[2] = box[3] = -1;
        for (int32_t j = 0; j < height; j++) {
            for (int32_t i = 0; i < width; i++) {
                const uint8_t* p = &pixels[(static_cast<size_t>(j) * width + i) * 4];
                if (p[0] == 0 && p[1] == 0 && p[2] == 51) continue;
                box[0] = std::min(box[0], x + i);
                box[1] = std::min(box[1], y + j);
                box[2] = std::max(box[2], x + i);
                box[3] = std::max(box[3], y + j);
            }
        }
        return box[2] >= 0;
    }
};

TEST_F(Text, MeasuringSumsTheAdvancesOfEveryLine) {
    use_block_font();
    TextSize size = measure_text(str("Back"), 256, false);
    EXPECT_DOUBLE_EQ(size.width, 64);
    EXPECT_DOUBLE_EQ(size.height, 32);
    size = measure_text(str("ab c\nde"), 128, false);
    EXPECT_DOUBLE_EQ(size.width, 8 * 5 + 4);
    EXPECT_DOUBLE_EQ(size.height, 32);
    size = measure_text(str(""), 256, true);
    EXPECT_DOUBLE_EQ(size.width, 0);
    EXPECT_DOUBLE_EQ(size.height, 32);
}

TEST_F(Text, CentredTextStandsHalfALineBelowItsAnchor) {
    use_block_font();
    draw_text(str("Back"), 512, 400, 256, white, screen_projection, text_centered);
    int32_t box[4];
    ASSERT_TRUE(ink_box(400, 300, 224, 200, box));
    EXPECT_EQ(box[0], 480);
    EXPECT_EQ(box[2], 543);
    EXPECT_EQ(box[1], 384);
    EXPECT_EQ(box[3], 415);
}

TEST_F(Text, ASecondLineStartsAgainAtTheAnchorOneLineLower) {
    use_block_font();
    draw_text(str("AB\nC"), 100, 300, 256, white, screen_projection, text_plain);
    EXPECT_TRUE(is_white(read_scene_pixel(100, 300)));
    EXPECT_TRUE(is_white(read_scene_pixel(131, 331)));
    EXPECT_TRUE(is_white(read_scene_pixel(100, 268)));
    EXPECT_TRUE(is_white(read_scene_pixel(115, 299)));
    EXPECT_TRUE(is_background(read_scene_pixel(116, 280)));
    EXPECT_TRUE(is_background(read_scene_pixel(99, 280)));
    EXPECT_TRUE(is_background(read_scene_pixel(100, 267)));
}

TEST_F(Text, SymbolsReplaceLettersAndPercentEscapesThem) {
    use_block_font();
    // a: the circle in the text colour, a square of side 32 centred on the anchor.
    EXPECT_DOUBLE_EQ(measure_text(str("a"), 256, true).width, 32);
    draw_text(str("a"), 200, 400, 256, green, screen_projection, text_symbols);
    EXPECT_TRUE(is_green(read_scene_pixel(200, 400)));
    EXPECT_TRUE(is_background(read_scene_pixel(185, 385)));
    EXPECT_TRUE(is_background(read_scene_pixel(183, 400)));

    // A: a red disc whatever the text colour.
    draw_text(str("A"), 300, 400, 256, green, screen_projection, text_symbols);
    EXPECT_TRUE(is_red(read_scene_pixel(300, 400)));

    // %a: the font's letter, a solid block 16 wide in the text colour, corners included.
    EXPECT_DOUBLE_EQ(measure_text(str("%a"), 256, true).width, 16);
    draw_text(str("%a"), 400, 400, 256, green, screen_projection, text_symbols);
    EXPECT_TRUE(is_green(read_scene_pixel(392, 384)));
    EXPECT_TRUE(is_green(read_scene_pixel(407, 415)));
    EXPECT_TRUE(is_background(read_scene_pixel(408, 400)));

    // After a coloured symbol, plain letters are back in the text colour.
    draw_text(str("A%b"), 600, 400, 256, green, screen_projection, text_symbols);
    EXPECT_TRUE(is_red(read_scene_pixel(600 - 24 + 16, 400)));
    EXPECT_TRUE(is_green(read_scene_pixel(600 + 8 + 8, 400)));
}

TEST_F(Text, PercentSignsAreEscapesOnlyInSymbolMode) {
    use_block_font();
    EXPECT_DOUBLE_EQ(measure_text(str("%%a"), 256, true).width, 16);
    EXPECT_DOUBLE_EQ(measure_text(str("%%"), 256, true).width, 0);
    EXPECT_DOUBLE_EQ(measure_text(str("%a"), 256, false).width, 32);
    draw_text(str("%%"), 500, 500, 256, white, screen_projection, text_symbols);
    int32_t box[4];
    EXPECT_FALSE(ink_box(400, 400, 200, 200, box));
    draw_text(str("%"), 500, 500, 256, white, screen_projection, text_plain);
    EXPECT_TRUE(is_white(read_scene_pixel(500, 500)));
}

TEST_F(Text, AnEmptyFontOrAnEmptyTextDrawsNothing) {
    use_block_font();
    draw_text(str(""), 500, 500, 256, white, screen_projection, text_plain);
    font = Font{};
    draw_text(str("Varnholt"), 500, 500, 256, white, screen_projection, text_centered);
    int32_t box[4];
    EXPECT_FALSE(ink_box(300, 300, 400, 400, box));
    // Card symbols are pictures of their own and still show.
    draw_text(str("V%ar~"), 500, 500, 256, white, screen_projection, text_centered | text_symbols);
    EXPECT_TRUE(ink_box(300, 300, 400, 400, box));
    EXPECT_EQ(box[2] - box[0] + 1, 32);
    EXPECT_EQ(pipeline_get_error(), 0);
    use_shipped_font();
}

TEST_F(Text, TheShippedFontIsCrispAtFullScaleAndLegibleAtHalf) {
    use_shipped_font();
    draw_text(str("Game controls:\n<f1>: toggle help screen"), 8, 84, 128, white, screen_projection, text_plain);
    draw_text(str("Varnholt: gjpq {0123456789} ~%"), 8, 34, 256, white, screen_projection, text_plain);
    draw_text(str("num A or C %at l%e%ast 3 ~(A,b,3)"), 8, 2, 256, white, screen_projection, text_plain);
    present_scene();
    std::string report;
    EXPECT_TRUE(matches_golden("text", 0, 0, 400, 100, 12, &report)) << report;
    begin_scene();
}

TEST_F(Text, AtFullScaleEveryTexelIsOnePixel) {
    use_shipped_font();
    draw_text(str("H"), 300, 300, 256, white, screen_projection, text_plain);
    // Over a background without red, the scene's red is the texel's coverage.
    int64_t position = image_get_buffer_position();
    image atlas = image_load(str("resources/font.png"), IMAGE_RGBA);
    image_set_buffer_position(position);
    ASSERT_NE(atlas.pixels, nullptr);
    const Glyph& glyph = font.glyphs['H'];
    int32_t texel_x = static_cast<int32_t>(glyph.u * atlas.width), texel_y = static_cast<int32_t>(glyph.v * atlas.height);
    int32_t width = static_cast<int32_t>(glyph.width * atlas.width), height = static_cast<int32_t>(glyph.height * atlas.height);
    std::vector<uint8_t> drawn = read_region(300, 300, width, height);
    int worst = 0, covered = 0;
    for (int32_t y = 0; y < height; y++) {
        for (int32_t x = 0; x < width; x++) {
            int coverage = atlas.pixels[((static_cast<size_t>(texel_y) + y) * atlas.width + texel_x + x) * 4 + 3];
            covered += coverage > 0;
            worst = std::max(worst, std::abs(coverage - drawn[(static_cast<size_t>(y) * width + x) * 4]));
        }
    }
    EXPECT_GT(covered, 40);
    EXPECT_LE(worst, 1);
    // Caps stand on the baseline 8 pixels above the line.
    int32_t box[4];
    ASSERT_TRUE(ink_box(290, 290, 60, 60, box));
    EXPECT_EQ(box[1], 308);
}

TEST_F(Text, GoalTextsShowTheirColoursAsDiscs) {
    use_shipped_font();
    Goal goal{color_pair_count, at_least, 3, 0, 0, 1, 2, 0, 1};
    draw_text(goal_text(goal), 512, 400, 256, Color{1, 1, 1, 1}, screen_projection, text_centered | text_symbols);
    int reds = 0, greens = 0, whites = 0;
    std::vector<uint8_t> pixels = read_region(312, 370, 400, 60);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        Pixel p{pixels[i], pixels[i + 1], pixels[i + 2], pixels[i + 3]};
        reds += is_red(p);
        greens += is_green(p);
        whites += is_white(p);
    }
    // Two discs of side 32 and the words.
    EXPECT_GT(reds, 500);
    EXPECT_GT(greens, 500);
    EXPECT_GT(whites, 200);
    int32_t box[4];
    ASSERT_TRUE(ink_box(200, 350, 624, 100, box));
    EXPECT_NEAR((box[0] + box[2]) / 2.0, 512, 3);
    present_scene();
    std::string report;
    EXPECT_TRUE(matches_golden("goal", 312, 376, 400, 48, 12, &report)) << report;
    begin_scene();
}

TEST_F(Text, TheMemoryOverlayShowsInTheBottomLeftCorner) {
    use_shipped_font();
    draw_memory_overlay();
    int32_t box[4];
    ASSERT_TRUE(ink_box(0, 0, 400, 60, box));
    EXPECT_GE(box[0], 16);
    EXPECT_LE(box[0], 18);
    EXPECT_GE(box[1], 16);
    EXPECT_LE(box[3], 16 + 16);
    Pixel darkest_red{0, 0, 0, 0};
    for (int32_t x = box[0]; x <= box[2]; x++) {
        for (int32_t y = box[1]; y <= box[3]; y++) {
            Pixel p = read_scene_pixel(x, y);
            if (p.r > darkest_red.r) darkest_red = p;
        }
    }
    EXPECT_GT(darkest_red.r, 150);
    EXPECT_LT(darkest_red.g, 10);
}

}  // namespace
