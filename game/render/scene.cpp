#include "render/scene.h"

#include "base/text_format.h"
#include "render/matrix.h"
#include "render/primitives.h"
#include "render/resources.h"

#include <kestrune_system.h>

uint32_t scene_frame_buffer;
uint32_t scene_texture;
int32_t window_width = default_window_width;
int32_t window_height = default_window_height;

static string frame_buffer_status_message(uint8_t status) {
    switch (status) {
        case 1: return str("frame buffer error: undefined\n");
        case 2: return str("frame buffer error: incomplete attachment\n");
        case 3: return str("frame buffer error: missing attachment\n");
        case 4: return str("frame buffer error: incomplete draw buffer\n");
        case 5: return str("frame buffer error: incomplete read attachment\n");
        case 6: return str("frame buffer error: incomplete multisample\n");
        case 7: return str("frame buffer error: incomplete layer attachment\n");
        case 8: return str("frame buffer error: unsupported\n");
        default: return str("");
    }
}

void destroy_scene_frame_buffer() {
    if (scene_frame_buffer) frame_buffer_destroy(scene_frame_buffer);
    if (scene_texture) texture_destroy(scene_texture);
    scene_frame_buffer = 0;
    scene_texture = 0;
}

void create_scene_frame_buffer() {
    destroy_scene_frame_buffer();
    scene_frame_buffer = frame_buffer_create();
    scene_texture = texture_create();
    texture_bind(TEXTURE_2D, scene_texture);
    texture_image_2d(TEXTURE_2D, 0, INTERNAL_RGBA8, window_width, window_height, FORMAT_RGBA, TYPE_UNSIGNED_BYTE,
                     nullptr);
    texture_parameter_wrap(TEXTURE_2D, PARAMETER_WRAP_S, WRAP_CLAMP_TO_EDGE);
    texture_parameter_wrap(TEXTURE_2D, PARAMETER_WRAP_T, WRAP_CLAMP_TO_EDGE);
    texture_parameter_filter(TEXTURE_2D, PARAMETER_MIN_FILTER, FILTER_NEAREST);
    texture_parameter_filter(TEXTURE_2D, PARAMETER_MAG_FILTER, FILTER_NEAREST);
    texture_unbind(TEXTURE_2D);
    frame_buffer_bind(FRAME_BUFFER_BOTH, scene_frame_buffer);
    frame_buffer_texture(FRAME_BUFFER_BOTH, ATTACHMENT_COLOR, 0, scene_texture, 0);
    int32_t first_attachment[1] = {0};
    pipeline_draw_buffers(int_view{first_attachment, 1});
    uint8_t status = frame_buffer_get_status(FRAME_BUFFER_BOTH);
    if (status != 0) print(frame_buffer_status_message(status));
    frame_buffer_unbind(FRAME_BUFFER_BOTH);
}

void begin_scene() {
    vertex_array_bind(quad_vertex_array);
    frame_buffer_bind(FRAME_BUFFER_BOTH, scene_frame_buffer);
    pipeline_blend_enable(true);
    pipeline_viewport(0, 0, window_width, window_height);
    pipeline_clear_color(0, 0, 0.2f, 1);
    pipeline_clear(BUFFER_COLOR);
    shader_bind(simple_shader);
    shader_uniform1f(simple_gamma, display_gamma);
}

void present_scene() {
    pipeline_blend_enable(false);
    frame_buffer_unbind(FRAME_BUFFER_BOTH);
    // Magenta shows only where the pass fails to cover the window.
    pipeline_clear_color(1, 0, 1, 1);
    pipeline_clear(BUFFER_COLOR);
    pipeline_viewport(0, 0, window_width, window_height);
    shader_bind(gamma_shader);
    texture_unit(0);
    texture_bind(TEXTURE_2D, scene_texture);
    Matrix whole_window = matrix_multiply(matrix_translation(-1, -1), matrix_scale(2, 2));
    shader_uniform_matrix4fa(gamma_mvp, 1, false, float_view{whole_window.m, 16});
    shader_uniform1i(gamma_diffuse, 0);
    shader_uniform1f(gamma_gamma, display_gamma);
    draw_elements(PRIMITIVE_TRIANGLES, TYPE_UNSIGNED_BYTE, 0, 6, 0, 1);
    texture_unbind(TEXTURE_2D);
}
