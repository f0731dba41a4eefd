#include "screen/camera.h"

#include "base/clamp.h"
#include "model/turn_state.h"
#include "render/primitives.h"
#include "render/scene.h"
#include "screen/frame_input.h"
#include "screen/layout.h"

#include <kestrune_system.h>

#include <cmath>

double camera_x, camera_y;
double camera_speed;
double camera_zoom;
Matrix inverse_camera_matrix;

namespace {

// The camera the last matrices were built for, and the centre they drew it at.
struct DrawnView {
    bool known;
    double camera_x, camera_y, zoom;
    int32_t window_width, window_height;
    double drawn_x, drawn_y;
};

DrawnView drawn_view;

// The centre to draw at: where the camera stands, except while it pans, when the view moves by
// whole pixels from the last frame, so the scene can keep what it drew and only shift it; the
// first frame standing still draws exactly where the camera is.
void choose_drawn_center(double* x, double* y) {
    *x = camera_x;
    *y = camera_y;
    const DrawnView& last = drawn_view;
    bool panning = last.known && last.zoom == camera_zoom && last.window_width == window_width &&
                   last.window_height == window_height && (last.camera_x != camera_x || last.camera_y != camera_y);
    if (panning) {
        *x = last.drawn_x + std::round((camera_x - last.drawn_x) * camera_zoom) / camera_zoom;
        *y = last.drawn_y + std::round((camera_y - last.drawn_y) * camera_zoom) / camera_zoom;
    }
    drawn_view = DrawnView{true, camera_x, camera_y, camera_zoom, window_width, window_height, *x, *y};
}

}  // namespace

void reset_camera() {
    camera_x = 0;
    camera_y = 0;
    camera_speed = 256;
    camera_zoom = 1;
    drawn_view = DrawnView{};
}

void build_camera_matrices() {
    screen_projection = build_screen_projection(window_width, window_height);
    float half_width = static_cast<float>(window_width) / 2, half_height = static_cast<float>(window_height) / 2;
    float zoom = static_cast<float>(camera_zoom);
    double center_x, center_y;
    choose_drawn_center(&center_x, &center_y);
    camera_matrix = matrix_multiply(
        matrix_multiply(screen_projection, matrix_translation(half_width, half_height)),
        matrix_multiply(matrix_scale(zoom, zoom),
                        matrix_translation(static_cast<float>(-center_x), static_cast<float>(-center_y))));
    inverse_camera_matrix = matrix_multiply(
        matrix_translation(static_cast<float>(center_x), static_cast<float>(center_y)),
        matrix_multiply(matrix_scale(1 / zoom, 1 / zoom), matrix_translation(-half_width, -half_height)));
}

void update_camera(bool typing) {
    if (!typing) {
        double step = camera_speed / camera_zoom * frame_time;
        if (key_held(KEY_A)) camera_x -= step;
        if (key_held(KEY_D)) camera_x += step;
        if (key_held(KEY_W)) camera_y += step;
        if (key_held(KEY_S)) camera_y -= step;
        if (key_held(KEY_Q)) camera_zoom -= 0.5 * frame_time;
        if (key_held(KEY_E)) camera_zoom += 0.5 * frame_time;
    }
    int32_t wheel = frame_input.wheel;
    if (wheel != 0 && frame_input.mouse_y > bottom_panel_height) {
        // The world point under the pointer stays where it is.
        double from_center_x = frame_input.mouse_x - window_width / 2.0;
        double from_center_y = frame_input.mouse_y - window_height / 2.0;
        double pointed_x = camera_x + from_center_x / camera_zoom, pointed_y = camera_y + from_center_y / camera_zoom;
        camera_zoom = clamp(camera_zoom + wheel * 0.25, min_camera_zoom, max_camera_zoom);
        camera_x = pointed_x - from_center_x / camera_zoom;
        camera_y = pointed_y - from_center_y / camera_zoom;
    }
    camera_zoom = clamp(camera_zoom, min_camera_zoom, max_camera_zoom);
    if (!typing && key_pressed(KEY_R)) reset_camera();
}

void world_point_of(double x, double y, double* world_x, double* world_y) {
    const float* m = inverse_camera_matrix.m;
    *world_x = m[0] * x + m[4] * y + m[12];
    *world_y = m[1] * x + m[5] * y + m[13];
}
