#include "screen/camera.h"

#include "model/turn_state.h"
#include "render/primitives.h"
#include "render/scene.h"
#include "screen/keys.h"

#include <kestrune_system.h>

double camera_x, camera_y;
double camera_speed;
double camera_zoom;
Matrix inverse_camera_matrix;

void reset_camera() {
    camera_x = 0;
    camera_y = 0;
    camera_speed = 256;
    camera_zoom = 1;
}

void build_camera_matrices() {
    screen_projection = build_screen_projection(window_width, window_height);
    float half_width = static_cast<float>(window_width) / 2, half_height = static_cast<float>(window_height) / 2;
    float zoom = static_cast<float>(camera_zoom);
    camera_matrix = matrix_multiply(
        matrix_multiply(screen_projection, matrix_translation(half_width, half_height)),
        matrix_multiply(matrix_scale(zoom, zoom),
                        matrix_translation(static_cast<float>(-camera_x), static_cast<float>(-camera_y))));
    inverse_camera_matrix = matrix_multiply(
        matrix_translation(static_cast<float>(camera_x), static_cast<float>(camera_y)),
        matrix_multiply(matrix_scale(1 / zoom, 1 / zoom), matrix_translation(-half_width, -half_height)));
}

void update_camera(double bottom_panel, bool typing) {
    if (!typing) {
        double step = camera_speed / camera_zoom * frame_time;
        if (input_key_is_held(KEY_A)) camera_x -= step;
        if (input_key_is_held(KEY_D)) camera_x += step;
        if (input_key_is_held(KEY_W)) camera_y += step;
        if (input_key_is_held(KEY_S)) camera_y -= step;
        if (input_key_is_held(KEY_Q)) camera_zoom -= 0.5 * frame_time;
        if (input_key_is_held(KEY_E)) camera_zoom += 0.5 * frame_time;
    }
    int32_t wheel = input_mouse_wheel();
    if (wheel != 0 && mouse_height() > bottom_panel) camera_zoom += wheel * 0.25;
    if (camera_zoom < min_camera_zoom) camera_zoom = min_camera_zoom;
    if (camera_zoom > max_camera_zoom) camera_zoom = max_camera_zoom;
    if (!typing && input_key_is_pressed(KEY_R)) reset_camera();
}

double mouse_height() {
    int32_t x, y;
    input_mouse_position(&x, &y);
    return window_height - y;
}

void mouse_world_point(double* x, double* y) {
    int32_t pointer_x, pointer_y;
    input_mouse_position(&pointer_x, &pointer_y);
    double height = window_height - pointer_y;
    *x = camera_x + (pointer_x - window_width / 2.0) / camera_zoom;
    *y = camera_y + (height - window_height / 2.0) / camera_zoom;
}
