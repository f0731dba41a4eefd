#include "render/primitives.h"
#include "render/scene_target.h"
#include "screen/camera.h"

#include <gtest/gtest.h>

namespace {

// Where the camera matrix puts a world point's x in the window.
double window_x_of(double world_x) { return (camera_matrix.m[0] * world_x + camera_matrix.m[12] + 1) * window_width / 2; }

// At zoom one half the camera stands 10.3 to the right of the origin: the origin 5.15 pixels left
// of the middle. Panning 3.4 further (1.7 pixels) moves the view by two whole pixels; standing
// still there, the origin lies where the camera says, 6.85 pixels left of the middle.
TEST(Camera, WhilePanningTheViewMovesByWholePixelsAndStandingStillItIsWhereTheCameraIs) {
    window_width = 1024;
    window_height = 832;
    reset_camera();
    camera_zoom = 0.5;
    camera_x = 10.3;
    build_camera_matrices();
    EXPECT_NEAR(window_x_of(0), 506.85, 1e-3);
    camera_x = 13.7;
    build_camera_matrices();
    EXPECT_NEAR(window_x_of(0), 504.85, 1e-3);
    double world_x, world_y;
    world_point_of(504.85, 416, &world_x, &world_y);
    EXPECT_NEAR(world_x, 0, 1e-3);
    build_camera_matrices();
    EXPECT_NEAR(window_x_of(0), 505.15, 1e-3);
}

}  // namespace
