#include "render_helpers.h"

#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/scene.h"

#include <kestrune_system.h>

#include <gtest/gtest.h>

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

TEST_F(Scene, TheScenesAlphaNeverMixesWithTheMagentaClear) {
    begin_scene();
    pipeline_blend_enable(false);
    draw_quad(white_texture, 0, 0, window_width, window_height, Color{0.5f, 0.5f, 0.5f, 0.25f}, screen_projection);
    present_scene();
    Pixel window = read_scene_pixel(300, 300);
    EXPECT_NEAR(window.r, 186, 2);
    EXPECT_NEAR(window.g, 186, 2);
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

}  // namespace
