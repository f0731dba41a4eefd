#include "layer_costs.h"

#include "render/quad_batch.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/scene_target.h"

#include <kestrune_system.h>

#include <ctime>

void bare_clear_and_swap() {
    frame_buffer_unbind(FRAME_BUFFER_BOTH);
    pipeline_scissor_enable(false);
    pipeline_clear_color(0, 0, 0.2f, 1);
    pipeline_clear(BUFFER_COLOR);
    pipeline_present();
    pipeline_finish();
}

void empty_scene_drawn_whole() {
    forget_scene_contents();
    begin_scene();
    present_scene();
    show_scene();
    pipeline_finish();
}

void one_layer_drawn_whole(const Texture* texture) {
    forget_scene_contents();
    begin_scene();
    QuadRecord layer = region_quad(whole_window_rect());
    layer.color = Color{0.3f, 0.4f, 0.5f, 0.75f};
    layer.texture = texture;
    record_quad(layer);
    present_scene();
    show_scene();
    pipeline_finish();
}

void one_flat_layer_drawn_whole() { one_layer_drawn_whole(&white_texture); }
void one_shape_layer_drawn_whole() { one_layer_drawn_whole(&shape_textures[0]); }
void one_picture_layer_drawn_whole() { one_layer_drawn_whole(&machine_textures[0]); }

double process_seconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

namespace {

double nanoseconds_per_pixel(void (*frame)(), int frames) {
    for (int i = 0; i < 5; i++) frame();
    double start = process_seconds();
    for (int i = 0; i < frames; i++) frame();
    double seconds = (process_seconds() - start) / frames;
    return seconds * 1e9 / (double(window_width) * window_height);
}

}  // namespace

LayerCosts measure_layer_costs(int frames_each) {
    LayerCosts costs{};
    costs.empty_scene = nanoseconds_per_pixel(empty_scene_drawn_whole, frames_each);
    costs.flat = nanoseconds_per_pixel(one_flat_layer_drawn_whole, frames_each);
    costs.shape = nanoseconds_per_pixel(one_shape_layer_drawn_whole, frames_each);
    costs.picture = nanoseconds_per_pixel(one_picture_layer_drawn_whole, frames_each);
    return costs;
}
