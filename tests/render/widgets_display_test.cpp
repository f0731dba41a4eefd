#include "render_helpers.h"

#include "render/scene.h"
#include "screen/frame_input.h"
#include "screen/ui.h"

#include <gtest/gtest.h>

namespace {

// Widgets read only the frame's record, so each case fills it as the shell would.
class Widgets : public ::testing::Test {
protected:
    void SetUp() override {
        start_renderer();
        begin_scene();
        begin_widgets();
        reset_frame_input();
    }

    static void point_at(double x, double y, bool pressed) {
        frame_input.mouse_x = x;
        frame_input.mouse_y = y;
        frame_input.buttons_pressed[MOUSE_LEFT] = pressed ? 1 : 0;
    }
};

// A widget owns the pointer only where it was the topmost box of the frame before, so each case
// draws its frame twice: once for the boxes, once for the answer.
template <typename Draw>
auto second_frame(Draw draw) {
    draw();
    begin_widgets();
    return draw();
}

TEST_F(Widgets, AButtonCountsItsLeftAndBottomEdgesButNotItsRightAndTop) {
    // The button spans x 200..328 and y 100..164.
    const struct {
        double x, y;
        bool clicks;
    } points[] = {{200, 100, true}, {327, 163, true}, {328, 132, false}, {264, 164, false}, {199, 132, false}};
    for (const auto& point : points) {
        point_at(point.x, point.y, true);
        EXPECT_EQ(second_frame([] { return draw_button(str("OK"), 264, 132, 128, 64); }), point.clicks)
            << point.x << ", " << point.y;
    }
}

TEST_F(Widgets, AButtonClicksOnlyWhenThePressIsOverIt) {
    point_at(264, 132, false);
    EXPECT_FALSE(second_frame([] { return draw_button(str("OK"), 264, 132, 128, 64); }));
    point_at(264, 132, true);
    EXPECT_TRUE(second_frame([] { return draw_button(str("OK"), 264, 132, 128, 64); }));
}

// The click belongs to the topmost box the last frame drew under the pointer: a panel drawn over a
// button, or a dialog's backdrop anywhere, keeps it from the button; a button on the panel takes it.
TEST_F(Widgets, AClickGoesToTheTopmostBoxOfTheLastFrameUnderThePointer) {
    point_at(264, 132, true);
    EXPECT_FALSE(second_frame([] {
        bool clicked = draw_button(str("OK"), 264, 132, 128, 64);
        draw_centered_panel(window_width, window_height, Color{0, 0, 0, 1});
        return clicked;
    }));
    EXPECT_TRUE(second_frame([] {
        draw_centered_panel(window_width, window_height, Color{0, 0, 0, 1});
        return draw_button(str("OK"), 264, 132, 128, 64);
    }));
    EXPECT_FALSE(second_frame([] {
        bool clicked = draw_button(str("OK"), 264, 132, 128, 64);
        draw_dialog_panel();
        return clicked;
    }));
    second_frame([] { return draw_button(str("Other"), 264, 132, 128, 64); });
    begin_widgets();
    EXPECT_FALSE(draw_button(str("OK"), 264, 132, 128, 64));  // the last frame drew "Other" there
}

TEST_F(Widgets, AHoveredButtonIsHighlightedAndListedByItsLabel) {
    point_at(700, 700, false);
    draw_button(str(""), 264, 132, 128, 64);
    Pixel plain = read_scene_pixel(210, 110);
    point_at(264, 132, false);
    second_frame([] { return draw_button(str("lit"), 264, 132, 128, 64); });
    Pixel lit = read_scene_pixel(210, 110);
    EXPECT_GT(plain.r, 10);
    EXPECT_GT(lit.r, plain.r + 40);
    Pixel outside = read_scene_pixel(199, 110);
    EXPECT_EQ(outside.b, 51);
    ASSERT_EQ(drawn_button_count, 1);
    EXPECT_TRUE(string_equals(drawn_buttons[0].label, str("lit")));
}

TEST_F(Widgets, AnArrowRowStepsByTheArrowClicked) {
    point_at(100, 50, true);
    EXPECT_EQ(second_frame([] { return arrow_row(100, 300, 50, 32); }), -1);
    point_at(300, 50, true);
    EXPECT_EQ(second_frame([] { return arrow_row(100, 300, 50, 32); }), 1);
    point_at(200, 50, true);
    EXPECT_EQ(second_frame([] { return arrow_row(100, 300, 50, 32); }), 0);
}

}  // namespace
