#include "render_helpers.h"

#include "render/changed_cells.h"
#include "render/changed_region.h"
#include "render/matrix.h"
#include "render/quad_batch.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/scene_target.h"
#include "render/text.h"
#include "render/window_pictures.h"

#include <kestrune_system.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class Scene : public ::testing::Test {
protected:
    void SetUp() override { start_renderer(); }
};

TEST_F(Scene, TheSceneIsClearedToDarkBlueAndShownThroughTheGammaPass) {
    begin_scene();
    Pixel scene = read_scene_pixel(10, 10);
    EXPECT_EQ(scene.r, 0);
    EXPECT_EQ(scene.b, 51);
    present_scene();
    Pixel window = read_scene_pixel(10, 10);
    EXPECT_EQ(window.r, 0);
    EXPECT_EQ(window.g, 0);
    // 0.2 ^ (1 / 2.2) is about 0.48.
    EXPECT_NEAR(window.b, 123, 2);
    EXPECT_EQ(pipeline_get_error(), 0);
}

TEST_F(Scene, LinearHalfShowsAsAboutPointSevenThree) {
    begin_scene();
    draw_quad(white_texture, 0, 0, window_width, window_height, Color{0.5f, 0.5f, 0.5f, 1}, screen_projection);
    EXPECT_NEAR(read_scene_pixel(500, 400).g, 128, 1);
    present_scene();
    Pixel window = read_scene_pixel(500, 400);
    EXPECT_NEAR(window.r, 186, 2);
    EXPECT_NEAR(window.g, 186, 2);
    EXPECT_NEAR(window.b, 186, 2);
    // Every corner of the window is covered: no magenta anywhere.
    for (int32_t x : {0, 1023}) {
        for (int32_t y : {0, 831}) EXPECT_NEAR(read_scene_pixel(x, y).g, 186, 2);
    }
}

TEST_F(Scene, EveryByteOfTheSceneIsShownRaisedToOneOverGamma) {
    // Scene bytes and their shown values, worked out by hand: 255 x (byte / 255) ^ (1 / 2.2), rounded.
    const int scene_bytes[] = {0, 1, 10, 64, 128, 200, 254, 255};
    const int shown_bytes[] = {0, 21, 59, 136, 186, 228, 255, 255};
    begin_scene();
    for (int i = 0; i < 8; i++) {
        float linear = static_cast<float>(scene_bytes[i]) / 255;
        draw_quad(white_texture, 10 + 20 * i, 10, 10, 10, Color{linear, linear, linear, 1}, screen_projection);
    }
    for (int i = 0; i < 8; i++) EXPECT_EQ(read_scene_pixel(15 + 20 * i, 15).g, scene_bytes[i]);
    present_scene();
    for (int i = 0; i < 8; i++) {
        Pixel shown = read_scene_pixel(15 + 20 * i, 15);
        EXPECT_NEAR(shown.r, shown_bytes[i], 1) << scene_bytes[i];
        EXPECT_NEAR(shown.b, shown_bytes[i], 1) << scene_bytes[i];
    }
}

// The pass works the power out in float arithmetic; every byte must still come out as the
// exactly rounded power does.
TEST_F(Scene, EveryOneOfTheTwoHundredFiftySixBytesIsShownExactlyAsRounded) {
    begin_scene();
    for (int byte = 0; byte < 256; byte++) {
        float linear = static_cast<float>(byte) / 255;
        draw_quad(white_texture, 4 * (byte % 64), 4 * (byte / 64), 4, 4, Color{linear, linear, linear, 1},
                  screen_projection);
    }
    present_scene();
    int wrong = 0;
    for (int byte = 0; byte < 256; byte++) {
        Pixel shown = read_scene_pixel(4 * (byte % 64) + 2, 4 * (byte / 64) + 2);
        if (shown.r != shown_byte(byte) || shown.g != shown_byte(byte) || shown.b != shown_byte(byte)) {
            ADD_FAILURE() << "byte " << byte << " shows as " << int(shown.g) << ", not " << int(shown_byte(byte));
            wrong++;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(Scene, TheScenesAlphaNeverMixesWithTheMagentaClear) {
    begin_scene();
    pipeline_blend_enable(false);
    draw_quad(white_texture, 0, 0, window_width, window_height, Color{0.5f, 0.5f, 0.5f, 0.25f}, screen_projection);
    present_scene();
    Pixel window = read_scene_pixel(300, 300);
    EXPECT_NEAR(window.r, 186, 2);
    EXPECT_NEAR(window.g, 186, 2);
}

// A panel, a picture, a shape that moves and text, drawn the way a screen draws them.
void draw_frame_with_shape_at(double shape_x) {
    begin_scene();
    draw_quad(white_texture, 100, 100, 800, 600, Color{0, 0, 0, 0.8f}, screen_projection);
    draw_quad(machine_textures[1], 200, 150, 500, 500, Color{1, 1, 1, 1}, screen_projection);
    draw_quad(shape_textures[0], shape_x, 300, 64, 64, player_color(2), screen_projection);
    draw_text(str("Game Mode"), 512, 700, 256, Color{1, 1, 1, 1}, screen_projection, text_centered);
}

std::vector<uint8_t> whole_scene() {
    frame_buffer_bind(FRAME_BUFFER_BOTH, scene_frame_buffer);
    std::vector<uint8_t> pixels = read_region(0, 0, window_width, window_height);
    frame_buffer_unbind(FRAME_BUFFER_BOTH);
    return pixels;
}

std::vector<uint8_t> whole_window() { return read_region(0, 0, window_width, window_height); }

// The frame as the frame loop ends it: planned, drawn and shown, the window read in between.
std::vector<uint8_t> present_and_show() {
    present_scene();
    std::vector<uint8_t> window = whole_window();
    show_scene();
    return window;
}

// The same frame drawn whole, from nothing.
template <typename DrawFrame>
std::vector<uint8_t> drawn_whole(DrawFrame draw_frame) {
    forget_scene_contents();
    draw_frame();
    return present_and_show();
}

TEST_F(Scene, AFrameDrawnOnlyWhereItChangedLooksLikeOneDrawnWhole) {
    // The first frames settle how the window is shown; the last of these is drawn whole.
    for (int frame = 0; frame < 3; frame++) {
        draw_frame_with_shape_at(300);
        present_and_show();
    }
    draw_frame_with_shape_at(340);
    std::vector<uint8_t> window_after_move = present_and_show();
    std::vector<uint8_t> scene_after_move = whole_scene();
    // The same frame again changes nothing.
    draw_frame_with_shape_at(340);
    EXPECT_TRUE(present_and_show() == window_after_move);
    std::string report;
    EXPECT_TRUE(within_one_step(drawn_whole([] { draw_frame_with_shape_at(340); }), window_after_move, &report)) << report;
    std::vector<uint8_t> scene_drawn_whole = whole_scene();
    for (size_t i = 0; i < scene_drawn_whole.size(); i++) {
        ASSERT_LE(std::abs(scene_drawn_whole[i] - scene_after_move[i]), 1) << "scene byte " << i;
    }
    EXPECT_EQ(pipeline_get_error(), 0);
}

// A map of slanted arrows, circles and labels over the whole window, as panning moves it a little
// each frame: drawn again only in the cells it changed, and shown as when drawn whole.
void draw_map_at(double offset) {
    begin_scene();
    for (int i = 0; i < 12; i++) {
        double x = 40 + 80 * i + offset, y = 60 + 55 * i;
        draw_arrow(x, y, x + 300, y + 170, 3, 0, Color{0.9f, 0.8f, 0.2f, 1}, screen_projection);
        draw_quad(shape_textures[0], x - 20, y - 20, 40, 40, player_color(i % 4), screen_projection);
        draw_text(str("q0"), x + 150, y + 100, 64, Color{1, 1, 1, 1}, screen_projection, text_centered);
    }
}

TEST_F(Scene, AMapMovedALittleIsDrawnAgainInTheCellsItChangedAndLooksAsWhenDrawnWhole) {
    // A new scene, as a resize makes, is given its stencil only when a frame first draws by cells.
    create_scene_frame_buffer();
    EXPECT_EQ(scene_stencil, 0u);
    for (int frame = 0; frame < 3; frame++) {
        draw_map_at(0);
        present_and_show();
    }
    for (double offset : {0.4, 1.7, 5.0}) {
        draw_map_at(offset);
        std::vector<uint8_t> window = present_and_show();
        std::vector<uint8_t> scene = whole_scene();
        std::string report;
        EXPECT_TRUE(within_one_step(drawn_whole([offset] { draw_map_at(offset); }), window, &report)) << offset << ": " << report;
        std::vector<uint8_t> scene_drawn_whole = whole_scene();
        for (size_t i = 0; i < scene.size(); i++) ASSERT_LE(std::abs(scene_drawn_whole[i] - scene[i]), 1) << "scene byte " << i;
    }
    EXPECT_NE(scene_stencil, 0u);
    EXPECT_EQ(pipeline_get_error(), 0);
}

// Under a see-through panel reaching past the window's edge and an upright picture, both much bigger
// than the cells that change beneath them, a few of them side by side, and drawn only in those:
// each of their pixels is drawn once, where the whole frame has it.
TEST_F(Scene, PanelsAndPicturesOverAFewChangedCellsLookAsWhenDrawnWhole) {
    auto draw_frame = [](double offset) {
        draw_map_at(offset);
        for (int i = 0; i < 5; i++) draw_quad(shape_textures[0], 100 + 200 * i + offset, 200, 30, 30, player_color(i % 4), screen_projection);
        draw_quad(white_texture, -10.3, 20.6, 1100, 400.2, Color{0.1f, 0.2f, 0.3f, 0.75f}, screen_projection);
        draw_quad(machine_textures[1], 480.7, 60.3, 500.2, 380.4, Color{1, 1, 1, 0.9f}, screen_projection);
    };
    for (int frame = 0; frame < 3; frame++) {
        draw_frame(0);
        present_and_show();
    }
    for (double offset : {0.4, 1.7}) {
        draw_frame(offset);
        ChangedCells cells{};
        ASSERT_TRUE(find_changed_cells(frame_quads, shown_quads, &cells));
        ASSERT_LT(cells.area * 2, region_area(changed_region(frame_quads, shown_quads)));
        std::vector<uint8_t> window = present_and_show();
        std::vector<uint8_t> scene = whole_scene();
        std::string report;
        EXPECT_TRUE(within_one_step(drawn_whole([&] { draw_frame(offset); }), window, &report)) << offset << ": " << report;
        std::vector<uint8_t> scene_drawn_whole = whole_scene();
        for (size_t i = 0; i < scene.size(); i++) ASSERT_LE(std::abs(scene_drawn_whole[i] - scene[i]), 1) << "scene byte " << i;
    }
    EXPECT_EQ(pipeline_get_error(), 0);
}

// A map over the whole window under two see-through panels with a label and a card on them, as a
// view panning by whole pixels moves it: with a title drawn first, the map's quads are not the
// frame's first; an arrow in its middle may be lit in the third frame panned; a hovered shape's ring
// may pass from shape to shape, as the map moves under a pointer standing still.
enum PannedMap { map_first, title_first, arrow_lit, ring_passes, few_shapes, ring_comes };

void draw_panned_map(double offset_x, double offset_y, PannedMap kind, int frame = -1) {
    bool lit = kind == arrow_lit && frame == 2;
    int ring_column = kind == ring_passes ? 4 + frame : -1;
    begin_scene();
    if (kind == title_first) draw_text(str("Map"), 512, 420, 256, Color{1, 1, 1, 0.5f}, screen_projection, text_centered);
    if (kind == ring_comes) draw_quad(white_texture, 162 + offset_x, 180 + offset_y, 700, 480, Color{0.1f, 0.2f, 0.3f, 1}, screen_projection);
    if (kind == ring_comes && frame > 0) {
        draw_quad(shape_textures[0], 40 + offset_x, 40 + offset_y, 48, 48, Color{1, 1, 1, 0.3f}, screen_projection);
    }
    bool few = kind == few_shapes || kind == ring_comes;
    int rows = few ? 1 : 14, columns = few ? 3 : 12;
    for (int row = 0; row < rows; row++) {
        for (int column = 0; column < columns; column++) {
            double x = -30 + 90 * column + offset_x, y = -10 + 60 * row + offset_y;
            Color arrow = lit && row == 6 && column == 5 ? Color{1, 0.2f, 0.2f, 1} : Color{0.9f, 0.8f, 0.2f, 1};
            draw_arrow(x, y, x + 80, y + 50, 3, 0, arrow, screen_projection);
            draw_quad(shape_textures[0], x - 20, y - 20, 40, 40, player_color((row + column) % 4), screen_projection);
            if (row == 6 && column == ring_column) {
                draw_quad(shape_textures[0], x - 24, y - 24, 48, 48, Color{1, 1, 1, 0.3f}, screen_projection);
            }
            draw_text(str("q0"), x + 40, y + 10, 64, Color{1, 1, 1, 1}, screen_projection, text_centered);
        }
    }
    draw_quad(white_texture, 0, 0, 1024, 176, Color{0, 0, 0, 0.75f}, screen_projection);
    draw_quad(white_texture, 0, 672, 1024, 160, Color{0, 0, 0, 0.75f}, screen_projection);
    draw_text(str("Game Mode"), 512, 740, 128, Color{1, 1, 1, 1}, screen_projection, text_centered);
    draw_quad(shape_textures[1], 100, 40, 96, 96, Color{1, 1, 1, 1}, screen_projection);
}

// Panned frame after frame, the map is moved instead of drawn again: in a layer of its own when it
// comes first, its first frame drawing the layer whole, also while a lit arrow or a passing ring
// makes a few of the layer's quads differ, or in the scene itself. Each frame looks as when drawn
// whole, and standing still after a move it is drawn whole: exactly as from nothing.
TEST_F(Scene, AMapPannedByWholePixelsIsMovedAndLooksAsWhenDrawnWholeAndStandingStillIsDrawnExactly) {
    const int offsets[][2] = {{3, 0}, {7, -2}, {-4, 5}};
    for (PannedMap kind : {map_first, title_first, arrow_lit, ring_passes}) {
        auto draw_frame = [kind, &offsets](size_t i) {
            draw_panned_map(offsets[i][0], offsets[i][1], kind, static_cast<int>(i));
        };
        std::vector<std::vector<uint8_t>> expected;
        for (size_t i = 0; i < 3; i++) expected.push_back(drawn_whole([&] { draw_frame(i); }));
        forget_scene_contents();
        for (int frame = 0; frame < 2; frame++) {
            draw_panned_map(0, 0, kind);
            present_and_show();
        }
        int64_t moves_before = scene_moves;
        for (size_t i = 0; i < 3; i++) {
            draw_frame(i);
            std::string report;
            EXPECT_TRUE(within_one_step(expected[i], present_and_show(), &report)) << kind << " " << i << ": " << report;
        }
        int64_t moves = scene_moves - moves_before;
        EXPECT_EQ(moves, kind == title_first ? 3 : 2) << kind;
        draw_frame(2);
        EXPECT_TRUE(present_and_show() == expected.back()) << kind;
        EXPECT_EQ(scene_moves - moves_before, moves) << kind;
    }
    EXPECT_EQ(pipeline_get_error(), 0);
}

// Panned on, frame after frame, with a ring passing from shape to shape, the map keeps moving in
// its layer: the layer is drawn whole only in the first frame of the move.
TEST_F(Scene, AMapPannedOnAndOnKeepsMovingItsLayer) {
    for (int frame = 0; frame < 2; frame++) {
        draw_panned_map(0, 0, ring_passes);
        present_and_show();
    }
    int64_t moves_before = scene_moves;
    constexpr int frames = 12;
    std::vector<uint8_t> window;
    for (int frame = 0; frame < frames; frame++) {
        draw_panned_map(frame < 6 ? 4 * frame + 4 : 44 - 4 * frame, 0, ring_passes, frame % 5);
        window = present_and_show();
    }
    EXPECT_EQ(scene_moves - moves_before, frames - 1);
    std::string report;
    EXPECT_TRUE(within_one_step(drawn_whole([] { draw_panned_map(0, 0, ring_passes, (frames - 1) % 5); }), window,
                                &report))
        << report;
}

// A few shapes that start a move with the scene unknown are drawn in a layer, as the whole scene
// would be drawn; the next frames weigh the layer against drawing only the shapes, and draw in place.
TEST_F(Scene, AFewShapesPannedAfterTheSceneWasForgottenGoBackToBeingDrawnInPlace) {
    draw_panned_map(0, 0, few_shapes);
    present_and_show();
    forget_scene_contents();
    int64_t moves_before = scene_moves;
    std::vector<uint8_t> window;
    for (int offset : {3, 6, 9, 12}) {
        draw_panned_map(offset, 0, few_shapes);
        window = present_and_show();
    }
    EXPECT_EQ(scene_moves, moves_before);
    std::string report;
    EXPECT_TRUE(within_one_step(drawn_whole([] { draw_panned_map(12, 0, few_shapes); }), window, &report)) << report;
}

// A few shapes on a board, panned, where a ring comes in front and stays: the frame it comes
// changes nearly everywhere and draws a layer whole, but the frames after it are drawn in place
// again, and only around what moved.
TEST_F(Scene, APannedMapThatChangedMuchForAFrameGoesBackToBeingDrawnInPlace) {
    for (int frame = 0; frame < 2; frame++) {
        draw_panned_map(0, 0, ring_comes, 0);
        present_and_show();
    }
    int64_t moves_before = scene_moves;
    std::vector<uint8_t> window;
    for (int frame = 1; frame < 6; frame++) {
        draw_panned_map(3 * frame, 0, ring_comes, frame);
        int64_t gamma_before = gamma_pass_pixels;
        window = present_and_show();
        if (frame > 1) {
            EXPECT_LT((gamma_pass_pixels - gamma_before) * 2, int64_t{window_width} * window_height) << frame;
        }
    }
    EXPECT_EQ(scene_moves, moves_before);
    std::string report;
    EXPECT_TRUE(within_one_step(drawn_whole([] { draw_panned_map(15, 0, ring_comes, 5); }), window, &report)) << report;
}

// Shapes in a grid with a slanted arrow from each to the next, placed with a fraction of a pixel.
void draw_shape_grid(double offset) {
    begin_scene();
    for (int row = 0; row < 6; row++) {
        for (int column = 0; column < 8; column++) {
            double x = 60 + 110 * column + offset, y = 60 + 110 * row + offset;
            draw_arrow(x, y, x + 110, y + 66, 3, 0, Color{0.9f, 0.8f, 0.2f, 1}, screen_projection);
            draw_quad(shape_textures[0], x - 24, y - 24, 48, 48, player_color((row + column) % 4), screen_projection);
            draw_text(str("q0"), x + 30, y + 10, 48, Color{1, 1, 1, 1}, screen_projection, text_centered);
        }
    }
}

// A map moved by half a pixel changes all over its quads' boxes, but only along its arrows and
// around its shapes and labels. The cells hold too much of the boxes for the scene to be drawn
// by them, yet the window is given the gamma pass only in them, and looks as when drawn whole.
TEST_F(Scene, AMapMovedByHalfAPixelIsShownAgainOnlyInTheCellsThatChanged) {
    for (int frame = 0; frame < 2; frame++) {
        draw_shape_grid(0);
        present_and_show();
    }
    draw_shape_grid(0.5);
    int64_t changed_area = region_area(changed_region(frame_quads, shown_quads));
    ChangedCells cells{};
    ASSERT_TRUE(find_changed_cells(frame_quads, shown_quads, &cells));
    ASSERT_GT(cells.area * 2, changed_area);
    int64_t gamma_before = gamma_pass_pixels;
    std::vector<uint8_t> window = present_and_show();
    EXPECT_EQ(gamma_pass_pixels - gamma_before, cells.area);
    std::string report;
    EXPECT_TRUE(within_one_step(drawn_whole([] { draw_shape_grid(0.5); }), window, &report)) << report;
}

// The breathing title picture from one size to the next, and to one small enough to read the
// second level: drawn again only around what the picture holds, mostly straight to the window, and
// shown within a step of the frame drawn whole, also where a small square lies over it.
TEST_F(Scene, ABigPictureThatChangesSizeIsDrawnAgainOnlyAroundWhatItHolds) {
    const double sizes[][2] = {{512, 512}, {497, 527}, {527, 497}, {505.5, 520.25}, {300, 262}};
    int64_t straight = 0, filled = 0;
    for (const Texture& picture : machine_textures) {
        for (const auto& size : sizes) {
            bool square_over_picture = size[0] == 505.5;
            auto draw_frame = [&] {
                begin_scene();
                draw_quad(white_texture, 100, 100, 800, 600, Color{0, 0, 0, 0.8f}, screen_projection);
                draw_quad(picture, 201.3, 150.6, size[0], size[1], Color{1, 1, 1, 1}, screen_projection);
                if (square_over_picture) draw_quad(white_texture, 300, 300, 40, 40, Color{1, 0, 0, 0.5f}, screen_projection);
            };
            draw_frame();
            PixelRegion changed = changed_region(frame_quads, shown_quads);
            // While breathing the picture changes everywhere it holds something, and nowhere else.
            if (size[0] != 512 && size[0] > 400) {
                int64_t area = 0;
                for (int32_t i = 0; i < changed.count; i++) area += rect_area(changed.rects[i]);
                EXPECT_LT(area * 10, static_cast<int64_t>(size[0] * size[1]) * 7) << size[0] << " x " << size[1];
            }
            WindowPictures pictures = take_window_pictures(&changed);
            straight += pictures.count;
            for (int32_t i = 0; i < pictures.count; i++) {
                if (!pictures.rects[i].picture_covers_rect) filled++;
            }
            if (square_over_picture) {
                EXPECT_GT(changed.count, 0);
            }
            std::vector<uint8_t> window = present_and_show();
            std::string report;
            EXPECT_TRUE(within_one_step(drawn_whole(draw_frame), window, &report)) << size[0] << " x " << size[1] << ": " << report;
        }
    }
    EXPECT_GT(straight, 0);
    EXPECT_GT(filled, 0);
}

// A tinted, half-transparent picture over two see-through panels goes straight to the window; a
// turned one does not. Both look as when drawn whole, within a step.
TEST_F(Scene, TintedAndTurnedPicturesOverPanelsLookAsWhenDrawnWhole) {
    for (bool turned : {false, true}) {
        for (double size : {512.0, 506.0, 519.5}) {
            auto draw_frame = [&] {
                begin_scene();
                draw_quad(white_texture, 100, 100, 800, 600, Color{0.2f, 0.4f, 0.1f, 0.7f}, screen_projection);
                draw_quad(white_texture, 150, 120, 700, 560, Color{0.9f, 0.3f, 0.5f, 0.35f}, screen_projection);
                Matrix model = matrix_multiply(matrix_translation(480, 400), matrix_scale(size, size));
                if (turned) model = matrix_multiply(model, matrix_rotation(0.05f));
                model = matrix_multiply(model, matrix_translation(-0.5f, -0.5f));
                draw_textured(model, machine_textures[2], Color{0.7f, 0.9f, 1, 0.6f}, whole_texture, screen_projection);
            };
            draw_frame();
            PixelRegion changed = changed_region(frame_quads, shown_quads);
            if (size != 512) {
                EXPECT_EQ(take_window_pictures(&changed).count > 0, !turned) << size;
            }
            std::vector<uint8_t> window = present_and_show();
            std::string report;
            EXPECT_TRUE(within_one_step(drawn_whole(draw_frame), window, &report)) << turned << " " << size << ": " << report;
        }
    }
}

TEST_F(Scene, RecreatingTheSceneKeepsDrawingWorking) {
    create_scene_frame_buffer();
    create_scene_frame_buffer();
    EXPECT_NE(scene_frame_buffer, 0u);
    EXPECT_NE(scene_texture, 0u);
    begin_scene();
    draw_quad(white_texture, 0, 0, 8, 8, Color{1, 0, 0, 1}, screen_projection);
    EXPECT_EQ(read_scene_pixel(4, 4).r, 255);
    present_scene();
    EXPECT_EQ(read_scene_pixel(4, 4).r, 255);
    EXPECT_EQ(pipeline_get_error(), 0);
}

// A line of letters with card symbols between them, each glyph drawn on its own: side by side,
// touching but not overlapping, they take a draw per texture, and each looks as when drawn alone.
TEST_F(Scene, GlyphsSideBySideTakeADrawPerTextureAndLookAsWhenDrawnAlone) {
    const std::string line = "xAybxAyb";
    auto draw_line = [&](size_t only) {
        begin_scene();
        for (size_t i = 0; i < line.size(); i++) {
            double left = 300 + measure_text(string{line.data(), static_cast<int64_t>(i)}, 256, true).width;
            string glyph{line.data() + i, 1};
            double x = left + measure_text(glyph, 256, true).width / 2;
            if (only == line.size() || only == i) draw_text(glyph, x, 400, 256, Color{1, 1, 1, 1}, screen_projection, text_symbols);
        }
        forget_scene_contents();
        int64_t draws_before = batch_draws_sent;
        present_scene();
        show_scene();
        return batch_draws_sent - draws_before;
    };
    // The letters' font, the circle and the triangle, then the gamma pass.
    EXPECT_EQ(draw_line(line.size()), 4);
    std::vector<uint8_t> together = whole_scene();
    draw_line(line.size() + 1);
    std::vector<uint8_t> blank = whole_scene();
    // Every pixel a glyph inks alone is the same in the line; the line inks no other.
    std::vector<bool> inked_alone(together.size() / 4);
    for (size_t i = 0; i < line.size(); i++) {
        draw_line(i);
        std::vector<uint8_t> alone = whole_scene();
        for (size_t pixel = 0; pixel < inked_alone.size(); pixel++) {
            if (memcmp(&alone[pixel * 4], &blank[pixel * 4], 4) == 0) continue;
            inked_alone[pixel] = true;
            ASSERT_EQ(memcmp(&alone[pixel * 4], &together[pixel * 4], 4), 0) << "glyph " << i << ", scene pixel " << pixel;
        }
    }
    size_t inked = 0;
    for (size_t pixel = 0; pixel < inked_alone.size(); pixel++) {
        if (memcmp(&together[pixel * 4], &blank[pixel * 4], 4) == 0) continue;
        inked++;
        ASSERT_TRUE(inked_alone[pixel]) << "scene pixel " << pixel;
    }
    EXPECT_GT(inked, 1000u);
    EXPECT_EQ(pipeline_get_error(), 0);
}

}  // namespace
