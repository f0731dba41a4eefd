// How far the map list's preview shrinks the current map.
#include "model/game_data.h"
#include "shell/map_preview.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The fit for these states placed at (placed_x, 0) with the given scale; the current map is restored after.
double fit_of(std::vector<State> placed, double placed_x = 0, double scale = 1) {
    GrowableArray<State> saved_states = states;
    double saved_x = map_x, saved_y = map_y, saved_scale = map_scale;
    int64_t count = static_cast<int64_t>(placed.size());
    states = GrowableArray<State>{placed.data(), count, count, PERSISTENT_ARENA};
    map_x = placed_x;
    map_y = 0;
    map_scale = scale;
    double fit = preview_fit();
    states = saved_states;
    map_x = saved_x;
    map_y = saved_y;
    map_scale = saved_scale;
    return fit;
}

TEST(MenuPreviewFit, WideOrTallMapsShrinkToThePreview) {
    EXPECT_DOUBLE_EQ(fit_of({{1200, 0, 0, 0}, {-50, 160, 0, 0}, {0, -160, 0, 0}}), 0.25);
    EXPECT_DOUBLE_EQ(fit_of({{-1200, 0, 0, 0}, {100, 0, 0, 0}}), 0.25);
    EXPECT_DOUBLE_EQ(fit_of({{900, 0, 0, 0}, {0, -640, 0, 0}}), 0.25);
    // The origin stays at the centre, so a map on one side of it counts twice its reach.
    EXPECT_DOUBLE_EQ(fit_of({{400, 0, 0, 0}, {500, 0, 0, 0}}), 0.6);
}

TEST(MenuPreviewFit, SmallMapsAreNotEnlarged) {
    EXPECT_DOUBLE_EQ(fit_of({{300, 160, 0, 0}, {-300, -160, 0, 0}}), 1);
    EXPECT_DOUBLE_EQ(fit_of({{10, 5, 0, 0}}), 1);
    EXPECT_DOUBLE_EQ(fit_of({}), 1);
}

TEST(MenuPreviewFit, MapPlacementAndScaleCount) {
    EXPECT_DOUBLE_EQ(fit_of({{250, 10, 0, 0}}, 100, 2), 0.5);
    EXPECT_DOUBLE_EQ(fit_of({{250, 10, 0, 0}}, -100, 2), 0.75);
}

}  // namespace
