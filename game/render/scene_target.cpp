#include "render/scene_target.h"

#include "base/text_format.h"

#include <kestrune_system.h>

uint32_t scene_frame_buffer;
uint32_t scene_texture;
uint32_t scene_stencil;
uint32_t spare_frame_buffer;
uint32_t spare_texture;
uint32_t moving_frame_buffer;
uint32_t moving_texture;
uint32_t probe_frame_buffer;
uint32_t probe_texture;
int64_t scene_generation;
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
    uint32_t* frame_buffers[] = {&scene_frame_buffer, &spare_frame_buffer, &moving_frame_buffer, &probe_frame_buffer};
    for (uint32_t* frame_buffer : frame_buffers) {
        if (*frame_buffer) frame_buffer_destroy(*frame_buffer);
        *frame_buffer = 0;
    }
    uint32_t* textures[] = {&scene_texture, &spare_texture, &moving_texture, &probe_texture};
    for (uint32_t* texture : textures) {
        if (*texture) texture_destroy(*texture);
        *texture = 0;
    }
    if (scene_stencil) render_buffer_destroy(scene_stencil);
    scene_stencil = 0;
}

namespace {

// An RGBA8 target of the given size, nearest and clamped, as its frame buffer's only colour.
uint8_t create_target(int32_t width, int32_t height, uint32_t* frame_buffer, uint32_t* texture) {
    *frame_buffer = frame_buffer_create();
    *texture = texture_create();
    texture_bind(TEXTURE_2D, *texture);
    texture_image_2d(TEXTURE_2D, 0, INTERNAL_RGBA8, width, height, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, nullptr);
    texture_parameter_wrap(TEXTURE_2D, PARAMETER_WRAP_S, WRAP_CLAMP_TO_EDGE);
    texture_parameter_wrap(TEXTURE_2D, PARAMETER_WRAP_T, WRAP_CLAMP_TO_EDGE);
    texture_parameter_filter(TEXTURE_2D, PARAMETER_MIN_FILTER, FILTER_NEAREST);
    texture_parameter_filter(TEXTURE_2D, PARAMETER_MAG_FILTER, FILTER_NEAREST);
    texture_unbind(TEXTURE_2D);
    frame_buffer_bind(FRAME_BUFFER_BOTH, *frame_buffer);
    frame_buffer_texture(FRAME_BUFFER_BOTH, ATTACHMENT_COLOR, 0, *texture, 0);
    int32_t first_attachment[1] = {0};
    pipeline_draw_buffers(int_view{first_attachment, 1});
    uint8_t status = frame_buffer_get_status(FRAME_BUFFER_BOTH);
    frame_buffer_unbind(FRAME_BUFFER_BOTH);
    return status;
}

}  // namespace

void create_scene_frame_buffer() {
    destroy_scene_frame_buffer();
    scene_generation++;
    uint8_t status = create_target(window_width, window_height, &scene_frame_buffer, &scene_texture);
    if (status != 0) print(frame_buffer_status_message(status));
    create_target(1, 1, &probe_frame_buffer, &probe_texture);
}

void create_window_target(uint32_t* frame_buffer, uint32_t* texture) {
    if (*frame_buffer) return;
    uint8_t status = create_target(window_width, window_height, frame_buffer, texture);
    if (status != 0) print(frame_buffer_status_message(status));
}

void attach_scene_stencil() {
    frame_buffer_bind(FRAME_BUFFER_BOTH, scene_frame_buffer);
    if (scene_stencil) return;
    scene_stencil = render_buffer_create();
    render_buffer_bind(scene_stencil);
    render_buffer_storage(INTERNAL_DEPTH24_STENCIL8, window_width, window_height);
    render_buffer_unbind();
    frame_buffer_render_buffer(FRAME_BUFFER_BOTH, ATTACHMENT_DEPTH_STENCIL, 0, scene_stencil);
    uint8_t status = frame_buffer_get_status(FRAME_BUFFER_BOTH);
    if (status != 0) print(frame_buffer_status_message(status));
}
