#include "render/scene.h"

#include "render/changed_cells.h"
#include "render/changed_region.h"
#include "render/matrix.h"
#include "render/primitives.h"
#include "render/quad_batch.h"
#include "render/resources.h"
#include "render/scene_target.h"
#include "render/window_pictures.h"

#include <kestrune_system.h>

int64_t gamma_pass_pixels;
int64_t scene_moves;

namespace {

// How frames reach the window: unknown until the first swap; then a swap, where the window system
// reports the back buffer's age (or offers nothing else), or parts copied to the window, which
// leave the back buffer holding the last frame.
enum : uint8_t {
    present_unknown,
    present_by_swap,
    present_by_parts
};

// What the scene and the window's back buffer hold between frames; a new scene, made for a window of
// a new size, holds nothing, and that window may keep its frames some other way.
struct Buffers {
    int64_t scene_generation;
    bool frame_open;
    // The scene holds shown_quads, except where pictures went straight to the window.
    bool scene_holds_shown;
    bool pictures_ahead_of_scene;
    uint8_t present_method;
    bool swapped;
    // Presenting by parts: the back buffer holds the last frame shown.
    bool back_buffer_holds_shown;
    // The stencil value of the last frame drawn by cells; 0 when the stencil holds nothing known.
    uint8_t stencil_mark;
    // The moving layer holds the first this many quads of the last frame; 0 when it holds nothing known.
    int64_t moving_layer_quads;
    // While the layer moves: the pixels of the last plan in place it was weighed against, and the
    // frames since.
    int64_t layer_rival_pixels;
    int32_t frames_since_rival_planned;
    // The scene holds pixels a move left there: a frame that is not drawn by a move draws whole, so
    // a still picture owes nothing to rounding in a move.
    bool scene_moved;
};

Buffers buffers;

// What one frame draws, worked out once at its present.
struct FramePlan {
    // Scene rectangles drawn again, cleared first; none when nothing changed.
    PixelRegion scene;
    // Rectangles drawn straight to the window instead of the scene.
    WindowPictures straight;
    // Rectangles of the window given the gamma pass, or these cells instead when there are any.
    PixelRegion window;
    const ChangedCells* window_cells;
    // Instead of the scene's rectangles: these cells.
    bool by_cells;
    const ChangedCells* cells;
    // The scene moved by the shift before its cells are drawn.
    bool moved;
    PixelShift shift;
    // Instead of all that: the frame's first quads in the moving layer, moved by the shift from the
    // last frame's or drawn whole, and the scene made of the layer and every later quad over it.
    bool layered;
    bool layer_moved;
    int64_t layer_quads;
    // Where a moved layer is drawn again: what comes in, and the quads that came, went or changed.
    PixelRegion layer_changed;
    bool present_part;
};

FramePlan plan;
ChangedCells changed_cells;
ChangedCells moved_cells;

// The cells where the frame changed, for a change big enough for them to matter.
bool find_cells_of(const PixelRegion& changed) {
    if (region_area(changed) * 4 < int64_t{window_width} * window_height) return false;
    return find_changed_cells(frame_quads, shown_quads, &changed_cells);
}

bool region_is_whole_window(const PixelRegion& region) {
    return region.count == 1 && rect_is_whole_window(region.rects[0]);
}

void decide_present_method() {
    if (buffers.present_method != present_unknown || !buffers.swapped) return;
    bool age_known = display_back_buffer_age() > 0;
    buffers.present_method = !age_known && display_can_present_part() ? present_by_parts : present_by_swap;
}

bool window_holds_last_frame() {
    if (buffers.present_method == present_by_parts) return buffers.back_buffer_holds_shown;
    return buffers.swapped && display_back_buffer_age() == 1;
}

// A scene a move left is not exact: the plan weighs moves against one in place as if it were, and
// draws it whole where it does not move.
FramePlan plan_in_place(bool window_holds, bool scene_exact) {
    FramePlan planned{};
    // A window shown whole from a scene behind it needs the scene drawn whole first.
    bool scene_known = buffers.scene_holds_shown && scene_exact && (window_holds || !buffers.pictures_ahead_of_scene);
    PixelRegion changed = scene_known ? changed_region(frame_quads, shown_quads) : whole_window_region();
    bool cells_found = scene_known && find_cells_of(changed);
    // Drawing the scene by cells pays where they hold a quarter fewer pixels than the rectangles: it
    // costs a stencil and a pass over the quads for their own cells.
    planned.by_cells = cells_found && changed_cells.area * 4 < region_area(changed) * 3;
    planned.cells = &changed_cells;
    if (!planned.by_cells) {
        if (window_holds && !region_is_whole_window(changed)) planned.straight = take_window_pictures(&changed);
        planned.scene = changed;
    }
    planned.window = window_holds ? changed : whole_window_region();
    // Drawn again by cells or in rectangles, the scene changes only in the cells: the window needs
    // the gamma pass only there, unless pictures go straight to it over what the pass would leave.
    if (cells_found && window_holds && planned.straight.count == 0 && changed_cells.area < region_area(changed)) {
        planned.window_cells = &changed_cells;
    }
    return planned;
}

// The pixels the plan draws into the scene and gives the gamma pass.
int64_t plan_pixels(const FramePlan& planned) {
    int64_t scene = planned.by_cells ? planned.cells->area : region_area(planned.scene);
    if (planned.window_cells) return scene + planned.window_cells->area;
    if (region_is_whole_window(planned.window)) return scene + int64_t{window_width} * window_height;
    return scene + region_area(planned.window);
}

// A frame that moves the last one by whole pixels, as a panning view does, shifts what the scene
// holds and draws only the cells that came in or did not move along, and then gives the whole
// window the gamma pass. It pays where that comes to fewer pixels than a plan in place.
bool plan_move(int64_t pixels_in_place, FramePlan* planned) {
    if (!buffers.scene_holds_shown || buffers.pictures_ahead_of_scene) return false;
    int64_t window_area = int64_t{window_width} * window_height;
    if (window_area >= pixels_in_place) return false;
    if (!find_moved_cells(frame_quads, shown_quads, &planned->shift, &moved_cells)) return false;
    if (moved_cells.area + window_area >= pixels_in_place) return false;
    planned->moved = true;
    planned->by_cells = true;
    planned->cells = &moved_cells;
    planned->window = whole_window_region();
    return true;
}

// A frame whose first quads moved by whole pixels, as a panning map does under panels that stay
// put, keeps those quads in the moving layer, moves the layer, and draws in it only what comes in
// and the few quads that came, went or changed; the scene is the layer with every later quad drawn
// over it, and the window is given the whole gamma pass. It pays where the later quads, the layer's
// changes and the window come to fewer pixels than the plan it is weighed against. The first frame
// of a move draws the layer whole, much as a frame in place would draw the scene, so a layer that
// moves is given up only for a plan that draws a third fewer pixels.
bool plan_layer(int64_t pixels_to_beat, FramePlan* planned, int64_t* pixels) {
    PixelShift shift;
    bool layer_held = buffers.moving_layer_quads > 0;
    int64_t most_pixels = layer_held ? pixels_to_beat + pixels_to_beat / 2 : pixels_to_beat;
    if (int64_t{window_width} * window_height >= most_pixels) return false;
    if (!find_whole_pixel_shift(frame_quads, shown_quads, &shift)) return false;
    planned->layer_changed = brought_in_region(shift);
    FollowedQuads followed = follow_moved_quads(frame_quads, shown_quads,
                                                layer_held ? buffers.moving_layer_quads : shown_quads.count, shift,
                                                &planned->layer_changed);
    if (followed.now == 0) return false;
    bool layer_moves = layer_held && followed.before == buffers.moving_layer_quads;
    if (!layer_moves) most_pixels = pixels_to_beat;
    int64_t layered_pixels = int64_t{window_width} * window_height;
    if (layer_moves) layered_pixels += region_area(planned->layer_changed);
    for (int64_t i = followed.now; i < frame_quads.count && layered_pixels < most_pixels; i++) {
        layered_pixels += rect_area(quad_bounds(frame_quads.data[i]));
    }
    if (layered_pixels >= most_pixels) return false;
    *pixels = layered_pixels;
    planned->layered = true;
    planned->layer_moved = layer_moves;
    planned->layer_quads = followed.now;
    planned->shift = shift;
    planned->window = whole_window_region();
    return true;
}

// Planning in place costs a dense map a good part of a panning frame, and panning frames look
// alike: while the layer moves, the last plan in place it beat stands for a few frames.
constexpr int32_t frames_between_rival_plans = 8;

bool keep_moving_layer(FramePlan* planned) {
    if (buffers.moving_layer_quads == 0 || buffers.frames_since_rival_planned >= frames_between_rival_plans) return false;
    int64_t pixels;
    if (!plan_layer(buffers.layer_rival_pixels, planned, &pixels) || !planned->layer_moved) return false;
    buffers.frames_since_rival_planned++;
    return true;
}

FramePlan plan_frame() {
    decide_present_method();
    FramePlan layered{};
    if (keep_moving_layer(&layered)) {
        layered.present_part = buffers.present_method == present_by_parts;
        return layered;
    }
    layered = FramePlan{};
    bool window_holds = window_holds_last_frame();
    FramePlan planned = plan_in_place(window_holds, true);
    int64_t pixels = plan_pixels(planned);
    buffers.layer_rival_pixels = pixels;
    FramePlan moved{};
    if (plan_layer(pixels, &layered, &pixels)) {
        planned = layered;
        // A layer drawn whole beat a frame that changed much, as one drawn from nothing or one whose
        // quads came or went: no measure of the frames after it.
        buffers.frames_since_rival_planned = layered.layer_moved ? 0 : frames_between_rival_plans;
    } else if (plan_move(pixels, &moved)) {
        planned = moved;
    } else if (buffers.scene_moved) {
        planned = plan_in_place(window_holds, false);
    }
    planned.present_part = buffers.present_method == present_by_parts;
    return planned;
}

void clear_scene_region(PixelRect region) {
    limit_to(region);
    pipeline_clear_color(scene_clear_color.r, scene_clear_color.g, scene_clear_color.b, scene_clear_color.a);
    pipeline_clear(BUFFER_COLOR);
}

void draw_whole_scene() {
    clear_scene_region(whole_window_rect());
    draw_recorded_quads(0, frame_quads.count, whole_window_rect());
}

// Marks from earlier frames differ from this one's; a new stencil, or marks come round again,
// start cleared.
uint8_t next_stencil_mark() {
    if (buffers.stencil_mark == 0 || buffers.stencil_mark == 255) {
        attach_scene_stencil();
        pipeline_scissor_enable(false);
        pipeline_clear_stencil(0);
        pipeline_clear(BUFFER_STENCIL);
        buffers.stencil_mark = 0;
    }
    return ++buffers.stencil_mark;
}

void bind_gamma_pass() {
    pipeline_viewport(0, 0, window_width, window_height);
    shader_bind(gamma_shader);
    texture_unit(0);
    texture_bind(TEXTURE_2D, scene_texture);
    shader_uniform1i(gamma_diffuse, 0);
}

void gamma_pass_over(const PixelRegion& region) {
    bind_gamma_pass();
    // Magenta shows only where the pass fails to cover the window. Clearing part of the window
    // costs a software renderer as much as a draw, so a part is only drawn over.
    if (region_is_whole_window(region)) {
        pipeline_clear_color(1, 0, 1, 1);
        pipeline_clear(BUFFER_COLOR);
    }
    draw_rects(region.rects, region.count);
    texture_unbind(TEXTURE_2D);
    for (int32_t i = 0; i < region.count; i++) gamma_pass_pixels += rect_area(region.rects[i]);
}

void gamma_pass(const FramePlan& planned) {
    if (!planned.window_cells) {
        if (planned.window.count > 0) gamma_pass_over(planned.window);
        return;
    }
    bind_gamma_pass();
    draw_rects(planned.window_cells->rects.data, planned.window_cells->rects.count);
    texture_unbind(TEXTURE_2D);
    gamma_pass_pixels += planned.window_cells->area;
}

void draw_plan_by_cells(const FramePlan& planned) {
    draw_changed_cells(*planned.cells, next_stencil_mark());
    pipeline_blend_enable(false);
    frame_buffer_unbind(FRAME_BUFFER_BOTH);
    pipeline_scissor_enable(false);
    gamma_pass(planned);
}

// What the target holds, moved by the shift by way of the spare target; the pixels the move brings
// in from outside the window keep what they held.
void move_target(uint32_t target, PixelShift shift) {
    scene_moves++;
    create_window_target(&spare_frame_buffer, &spare_texture);
    pipeline_scissor_enable(false);
    frame_buffer_bind(FRAME_BUFFER_READ, target);
    frame_buffer_bind(FRAME_BUFFER_DRAW, spare_frame_buffer);
    frame_buffer_blit(0, 0, window_width, window_height, 0, 0, window_width, window_height, BUFFER_COLOR, FILTER_NEAREST);
    int32_t from_x = shift.x < 0 ? -shift.x : 0, from_y = shift.y < 0 ? -shift.y : 0;
    int32_t width = window_width - (shift.x < 0 ? -shift.x : shift.x);
    int32_t height = window_height - (shift.y < 0 ? -shift.y : shift.y);
    frame_buffer_bind(FRAME_BUFFER_READ, spare_frame_buffer);
    frame_buffer_bind(FRAME_BUFFER_DRAW, target);
    frame_buffer_blit(from_x, from_y, width, height, from_x + shift.x, from_y + shift.y, width, height, BUFFER_COLOR,
                      FILTER_NEAREST);
    frame_buffer_bind(FRAME_BUFFER_BOTH, target);
}

void draw_layered(const FramePlan& planned) {
    create_window_target(&moving_frame_buffer, &moving_texture);
    if (planned.layer_moved) {
        move_target(moving_frame_buffer, planned.shift);
        draw_changed_region(planned.layer_changed, planned.layer_quads);
    } else {
        frame_buffer_bind(FRAME_BUFFER_BOTH, moving_frame_buffer);
        clear_scene_region(whole_window_rect());
        draw_recorded_quads(0, planned.layer_quads, whole_window_rect());
    }
    pipeline_scissor_enable(false);
    frame_buffer_bind(FRAME_BUFFER_READ, moving_frame_buffer);
    frame_buffer_bind(FRAME_BUFFER_DRAW, scene_frame_buffer);
    frame_buffer_blit(0, 0, window_width, window_height, 0, 0, window_width, window_height, BUFFER_COLOR, FILTER_NEAREST);
    frame_buffer_bind(FRAME_BUFFER_BOTH, scene_frame_buffer);
    draw_recorded_quads(planned.layer_quads, frame_quads.count, whole_window_rect());
    pipeline_blend_enable(false);
    frame_buffer_unbind(FRAME_BUFFER_BOTH);
    pipeline_scissor_enable(false);
    gamma_pass(planned);
}

void draw_plan(const FramePlan& planned) {
    if (planned.layered) {
        draw_layered(planned);
        return;
    }
    if (planned.moved) move_target(scene_frame_buffer, planned.shift);
    if (planned.by_cells) {
        draw_plan_by_cells(planned);
        return;
    }
    if (region_is_whole_window(planned.scene)) {
        draw_whole_scene();
    } else if (planned.scene.count > 0) {
        // A clear of part of the scene costs a software renderer as much as a draw; the clear
        // colour goes under the quads in their own draws instead.
        draw_changed_region(planned.scene, frame_quads.count);
    }
    pipeline_blend_enable(false);
    frame_buffer_unbind(FRAME_BUFFER_BOTH);
    pipeline_scissor_enable(false);
    gamma_pass(planned);
    draw_window_pictures(planned.straight);
}

}  // namespace

void forget_scene_contents() {
    buffers.scene_holds_shown = false;
    buffers.back_buffer_holds_shown = false;
    buffers.moving_layer_quads = 0;
}

void begin_scene() {
    if (buffers.scene_generation != scene_generation) {
        buffers = Buffers{};
        buffers.scene_generation = scene_generation;
    }
    vertex_array_bind(quad_vertex_array);
    frame_buffer_bind(FRAME_BUFFER_BOTH, scene_frame_buffer);
    pipeline_blend_enable(true);
    pipeline_viewport(0, 0, window_width, window_height);
    pipeline_clear_color(scene_clear_color.r, scene_clear_color.g, scene_clear_color.b, scene_clear_color.a);
    shader_bind(simple_shader);
    shader_uniform1f(simple_gamma, display_gamma);
    array_clear(&frame_quads);
    buffers.frame_open = true;
}

void draw_scene_so_far() {
    if (!buffers.frame_open) return;
    draw_whole_scene();
    pipeline_scissor_enable(false);
    // A reader may go on drawing with state of its own: the present starts afresh.
    buffers.scene_holds_shown = false;
}

// The quads go to the scene, as far as they differ from the frame before; the window gets the
// gamma pass where the scene changed, or everywhere when its back buffer may not hold the last frame.
// A changed rectangle holding only a picture over flat colours goes straight to the window.
void present_scene() {
    plan = plan_frame();
    draw_plan(plan);
    buffers.pictures_ahead_of_scene =
        plan.straight.count > 0 ||
        (buffers.pictures_ahead_of_scene && !plan.layered && !region_is_whole_window(plan.scene));
    buffers.scene_holds_shown = true;
    // A layer drawn whole and the quads over it make the scene drawn whole.
    buffers.scene_moved = plan.moved || plan.layer_moved;
    buffers.moving_layer_quads = plan.layered ? plan.layer_quads : 0;
    buffers.frame_open = false;
    GrowableArray<QuadRecord> drawn = frame_quads;
    frame_quads = shown_quads;
    shown_quads = drawn;
    array_clear(&frame_quads);
}

void show_scene() {
    if (!plan.present_part) {
        pipeline_present();
        buffers.swapped = true;
        return;
    }
    // One rectangle around every part drawn: each copy to the window waits for the drawing, so one
    // copy of a few more pixels costs less than many.
    PixelRect bounds{0, 0, 0, 0};
    if (plan.window_cells) {
        bounds = plan.window_cells->bounds;
    } else {
        for (int32_t i = 0; i < plan.window.count; i++) bounds = rect_union(bounds, plan.window.rects[i]);
    }
    for (int32_t i = 0; i < plan.straight.count; i++) bounds = rect_union(bounds, plan.straight.rects[i].rect);
    int32_t rect[4] = {bounds.left, bounds.bottom, bounds.right - bounds.left, bounds.top - bounds.bottom};
    pipeline_present_part(int_view{rect, rect_is_empty(bounds) ? 0 : 4});
    buffers.back_buffer_holds_shown = true;
}
