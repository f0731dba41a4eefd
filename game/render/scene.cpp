#include "render/scene.h"

#include "base/text_format.h"
#include "render/matrix.h"
#include "render/primitives.h"
#include "render/changed_region.h"
#include "render/quad_batch.h"
#include "render/resources.h"
#include "render/window_pictures.h"

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

namespace {

// How far this frame's quads have reached the scene, and whether the scene holds shown_quads
// everywhere (not where pictures went straight to the window since it was last drawn whole).
struct SceneProgress {
    bool recording;
    bool drawn_early;
    int64_t drawn_count;
    bool shown_valid;
    bool behind_window;
};

SceneProgress scene_progress;

void clear_scene_region(PixelRect region) {
    limit_to(region);
    pipeline_clear_color(scene_clear_color.r, scene_clear_color.g, scene_clear_color.b, scene_clear_color.a);
    pipeline_clear(BUFFER_COLOR);
}

void gamma_pass(const PixelRegion& region) {
    pipeline_viewport(0, 0, window_width, window_height);
    shader_bind(gamma_shader);
    texture_unit(gamma_table_unit);
    texture_bind(TEXTURE_2D, gamma_table_texture);
    texture_unit(0);
    texture_bind(TEXTURE_2D, scene_texture);
    shader_uniform1i(gamma_diffuse, 0);
    // Magenta shows only where the pass fails to cover the window. Clearing part of the window
    // costs a software renderer as much as a draw, so a part is only drawn over.
    if (region.count == 1 && rect_is_whole_window(region.rects[0])) {
        pipeline_clear_color(1, 0, 1, 1);
        pipeline_clear(BUFFER_COLOR);
    }
    draw_region_rects(region);
    texture_unbind(TEXTURE_2D);
}

}  // namespace

void reset_scene_progress() { scene_progress = SceneProgress{}; }

void destroy_scene_frame_buffer() {
    if (scene_frame_buffer) frame_buffer_destroy(scene_frame_buffer);
    if (scene_texture) texture_destroy(scene_texture);
    scene_frame_buffer = 0;
    scene_texture = 0;
}

void create_scene_frame_buffer() {
    destroy_scene_frame_buffer();
    reset_scene_progress();
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
    pipeline_clear_color(scene_clear_color.r, scene_clear_color.g, scene_clear_color.b, scene_clear_color.a);
    shader_bind(simple_shader);
    shader_uniform1f(simple_gamma, display_gamma);
    array_clear(&frame_quads);
    scene_progress.recording = true;
    scene_progress.drawn_early = false;
    scene_progress.drawn_count = 0;
}

void draw_scene_so_far() {
    if (!scene_progress.recording) return;
    if (!scene_progress.drawn_early) {
        scene_progress.drawn_early = true;
        clear_scene_region(whole_window_rect());
    }
    draw_recorded_quads(scene_progress.drawn_count, frame_quads.count, whole_window_rect());
    scene_progress.drawn_count = frame_quads.count;
}

// The quads go to the scene, as far as they differ from the frame before; the window gets the
// gamma pass where the scene changed, or everywhere when its back buffer may not hold the last frame.
// A changed rectangle holding only a picture over flat colours goes straight to the window.
void present_scene() {
    PixelRegion changed = whole_window_region();
    WindowPictures straight_to_window{};
    bool window_holds_last_frame = display_back_buffer_age() == 1;
    bool scene_drawn_whole = true;
    if (scene_progress.drawn_early) {
        draw_scene_so_far();
    } else {
        // A window shown whole from a scene behind it needs the scene drawn whole first.
        bool draw_whole = !scene_progress.shown_valid || (scene_progress.behind_window && !window_holds_last_frame);
        if (!draw_whole) changed = changed_region(frame_quads, shown_quads);
        scene_drawn_whole = changed.count == 1 && rect_is_whole_window(changed.rects[0]);
        if (scene_drawn_whole) {
            clear_scene_region(changed.rects[0]);
            draw_recorded_quads(0, frame_quads.count, changed.rects[0]);
        } else {
            if (window_holds_last_frame) straight_to_window = take_window_pictures(&changed);
            // A clear of part of the scene costs a software renderer as much as a draw; the
            // clear colour goes under the quads in their own draws instead.
            draw_changed_region(changed);
        }
    }
    pipeline_blend_enable(false);
    frame_buffer_unbind(FRAME_BUFFER_BOTH);
    PixelRegion pass = window_holds_last_frame ? changed : whole_window_region();
    pipeline_scissor_enable(false);
    if (pass.count > 0) gamma_pass(pass);
    draw_window_pictures(straight_to_window);
    scene_progress.behind_window =
        straight_to_window.count > 0 || (scene_progress.behind_window && !scene_drawn_whole);
    GrowableArray<QuadRecord> drawn = frame_quads;
    frame_quads = shown_quads;
    shown_quads = drawn;
    array_clear(&frame_quads);
    // A reader may have drawn with state of its own; the next frame starts afresh.
    scene_progress.shown_valid = !scene_progress.drawn_early;
    scene_progress.recording = false;
    scene_progress.drawn_early = false;
    scene_progress.drawn_count = 0;
}
