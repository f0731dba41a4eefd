#include "screen/machine_view.h"

#include "base/text_format.h"
#include "model/turn_state.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "base/clamp.h"
#include "screen/arrow_geometry.h"
#include "screen/camera.h"
#include "screen/frame_input.h"
#include "screen/hint.h"
#include "screen/layout.h"
#include "screen/stone_animation.h"
#include "screen/stone_counts.h"
#include "screen/text_entry.h"

#include <cstring>

uint8_t show_state_numbers;

namespace {

constexpr double state_size = 64;
constexpr double ring_size = 96;
constexpr double stone_size = 48;
constexpr Color plain_arrow_color{0.9f, 0.8f, 0.8f, 1};
constexpr Color selected_arrow_color{0.3f, 0, 1, 1};
constexpr Color label_color{1, 1, 1, 1};
constexpr Color state_color{0.08f, 0.08f, 0.15f, 1};
constexpr Color accepting_state_color{0.4f, 0.7f, 1, 1};
constexpr Color stone_color{0.2f, 0.4f, 1, 1};
constexpr Color hint_color{0, 1, 0.3f, 1};

// The circle picture, centred on (x, y) in world space.
void draw_circle(const Matrix& view, float x, float y, double size, const Color& color) {
    draw_quad(shape_textures[0], x - size / 2, y - size / 2, size, size, color, view);
}

bool valid_state(int16_t state) { return state >= 0 && state < states.count; }

// Clicks this close to an arrow's line pick its transition.
constexpr double arrow_reach = 12;

bool inside_state(double x, double y, int16_t state) {
    float center_x, center_y;
    state_center(state, &center_x, &center_y);
    double half = state_size / 2;
    return x >= center_x - half && x < center_x + half && y >= center_y - half && y < center_y + half;
}

int16_t state_at(double x, double y) {
    for (int64_t i = 0; i < states.count; i++) {
        if (inside_state(x, y, static_cast<int16_t>(i))) return static_cast<int16_t>(i);
    }
    return -1;
}

// Whether (x, y) lies on the transition's arrow: within reach of a straight arrow's line, or inside
// a self-loop's picture, outside its state.
bool on_arrow(const Transition& t, double x, double y) {
    float from_x, from_y, to_x, to_y;
    state_center(t.from, &from_x, &from_y);
    state_center(t.to, &to_x, &to_y);
    double degrees_to_radians = 0.017453292519943295;
    if (t.from == t.to) {
        double angle = self_loop_angle(t) * degrees_to_radians;
        double dx = x - from_x, dy = y - from_y;
        double u = dx * math_cos(-angle) - dy * math_sin(-angle) + self_loop_width / 2;
        double v = dx * math_sin(-angle) + dy * math_cos(-angle) - self_loop_pivot_y;
        return u >= 0 && u < self_loop_width && v >= state_size / 2 && v < self_loop_height;
    }
    double dx = to_x - from_x, dy = to_y - from_y;
    double length = math_sqrt(dx * dx + dy * dy);
    if (length <= 0) return false;
    double ux = dx / length, uy = dy / length;
    // The arrow is shifted to the left of its direction by its bend.
    double px = x - from_x + uy * t.bend * bend_step, py = y - from_y - ux * t.bend * bend_step;
    double along = px * ux + py * uy, across = -px * uy + py * ux;
    return along >= 0 && along <= length && across > -arrow_reach && across < arrow_reach;
}

// The transition picked at (x, y): a label first, then an arrow; the highest index wins among overlaps,
// as it is drawn last. -1 for none.
int16_t transition_at(double x, double y) {
    for (int64_t i = transitions.count - 1; i >= 0; i--) {
        const Transition& t = transitions.data[i];
        if (!valid_state(t.from) || !valid_state(t.to) || t.rule.length == 0) continue;
        WorldBox box = label_box(t);
        if (x >= box.x && x < box.x + box.width && y >= box.y && y < box.y + box.height) return static_cast<int16_t>(i);
    }
    for (int64_t i = transitions.count - 1; i >= 0; i--) {
        const Transition& t = transitions.data[i];
        if (valid_state(t.from) && valid_state(t.to) && on_arrow(t, x, y)) return static_cast<int16_t>(i);
    }
    return -1;
}

void select_state(int16_t state) {
    if (source_state < 0) {
        source_state = state;
        target_state = -1;
    } else if (state == target_state) {
        target_state = -1;
    } else {
        target_state = state;
    }
}

void draw_state_number(const Matrix& view, int64_t index, float x, float y) {
    char digits[24];
    FixedText text{digits, sizeof digits, 0, 0};
    fixed_put_integer(&text, index);
    draw_text(fixed_view(&text), x, y, 256, Color{1, 1, 1, 1}, view, text_centered);
}

// Above a hinted state: where the move starts, where it ends, or both for a loop.
void draw_hint_end_label(const MachineView& view, int16_t state, float x, float y) {
    const char* label = hint.from_state == hint.target ? "start and end" : state == hint.from_state ? "start" : "end";
    draw_text(str(label), x, y + ring_size / 2 + 24, 192, hint_color, view.view, text_centered);
}

}  // namespace

int16_t transition_between(int16_t from, int16_t to) {
    if (from < 0 || to < 0) return -1;
    for (int64_t i = 0; i < transitions.count; i++) {
        if (transitions.data[i].from == from && transitions.data[i].to == to) return static_cast<int16_t>(i);
    }
    return -1;
}

void draw_transitions(const MachineView& view) {
    for (int64_t i = 0; i < transitions.count; i++) {
        const Transition& t = transitions.data[i];
        if (!valid_state(t.from) || !valid_state(t.to)) continue;
        bool hinted = view.interactive && hint.shown && i == hint.transition;
        bool lit = hinted || (i == view.lit_transition && i != view.highlighted_transition);
        const Color& color = i == view.highlighted_transition ? selected_arrow_color
                             : hinted                          ? hint_color
                             : lit                             ? view.lit_color
                                                               : plain_arrow_color;
        float from_x, from_y, to_x, to_y;
        state_center(t.from, &from_x, &from_y);
        state_center(t.to, &to_x, &to_y);
        if (t.from == t.to) {
            draw_self_arrow(self_arrow_texture, from_x, from_y, self_loop_width, self_loop_height,
                            self_loop_angle(t), self_loop_width / 2, self_loop_pivot_y, color, view.view);
        } else {
            double width = lit ? 2 * arrow_width : arrow_width;
            draw_arrow(from_x, from_y, to_x, to_y, width, t.bend * bend_step, color, view.view);
        }
        double label_x, label_y;
        label_center(t, &label_x, &label_y);
        draw_text(t.rule, label_x, label_y, 256, label_color, view.view, text_symbols);
    }
}

void clear_last_selection() {
    if (source_state < 0 && target_state < 0) {
        selected_card = -1;
    } else if (target_state < 0) {
        source_state = -1;
    } else {
        target_state = -1;
    }
}

bool pointing_at_machine(const MachineView& view) {
    double pointer_y = frame_input.mouse_y;
    double top = top_panel_height + (view.below_seat_strip ? seat_strip_height : 0);
    bool between_panels = pointer_y > bottom_panel_height && pointer_y < window_height - top;
    return view.interactive && between_panels && !entry_open;
}

void take_machine_click(const MachineView& view) {
    if (!left_click() || !pointing_at_machine(view)) return;
    double x = frame_input.world_x, y = frame_input.world_y;
    // One click selects one thing, even where states, labels and arrows overlap: a state first.
    int16_t state = state_at(x, y);
    if (state >= 0) {
        select_state(state);
        return;
    }
    int16_t picked = transition_at(x, y);
    if (picked < 0) return;
    source_state = transitions.data[picked].from;
    target_state = transitions.data[picked].to;
    selected_transition = picked;
}

bool machine_part_under_pointer(const MachineView& view) {
    if (!pointing_at_machine(view)) return false;
    double x = frame_input.world_x, y = frame_input.world_y;
    return state_at(x, y) >= 0 || transition_at(x, y) >= 0;
}

int16_t chosen_transition() {
    if (selected_transition >= 0 && selected_transition < transitions.count) {
        const Transition& t = transitions.data[selected_transition];
        if (t.from == source_state && t.to == target_state) return selected_transition;
    }
    return transition_between(source_state, target_state);
}

void draw_states(const MachineView& view) {
    bool pointing = pointing_at_machine(view);
    int16_t hovered_state = pointing ? state_at(frame_input.world_x, frame_input.world_y) : -1;
    for (int64_t i = 0; i < states.count; i++) {
        int16_t state = static_cast<int16_t>(i);
        float x, y;
        state_center(state, &x, &y);
        if (view.interactive && state == source_state) draw_circle(view.view, x, y, ring_size, Color{0.5f, 0, 0, 0.5f});
        if (view.interactive && state == target_state) draw_circle(view.view, x, y, ring_size, Color{0, 0, 1, 0.5f});
        if (view.interactive && hint.shown && (state == hint.from_state || state == hint.target)) {
            draw_circle(view.view, x, y, ring_size + 16, Color{0, 1, 0.3f, 0.5f});
            draw_hint_end_label(view, state, x, y);
        }
        draw_circle(view.view, x, y, state_size, states.data[i].accepting ? accepting_state_color : state_color);
        if (state == hovered_state) draw_circle(view.view, x, y, state_size, Color{1, 1, 1, 0.3f});
        if (view.interactive && show_state_numbers) draw_state_number(view.view, i, x, y);
    }
}

void label_center(const Transition& t, double* x, double* y) {
    float from_x, from_y, to_x, to_y;
    state_center(t.from, &from_x, &from_y);
    state_center(t.to, &to_x, &to_y);
    *x = (from_x + to_x) / 2.0 + t.label_dx;
    *y = (from_y + to_y) / 2.0 + t.label_dy;
}

WorldBox label_box(const Transition& t) {
    double x, y;
    label_center(t, &x, &y);
    TextSize size = measure_text(t.rule, 256, true);
    return WorldBox{x - size.width / 2, y - size.height / 2, size.width, size.height};
}

void draw_stones(const MachineView& view) {
    // Counted afresh each drawing; the game screen keeps the count for the next move's start.
    uint8_t lift[max_states] = {};
    double half = stone_size / 2;
    for (int64_t i = 0; i < stones.count; i++) {
        int16_t state = stones.data[i];
        float x, y;
        state_center(state, &x, &y);
        bool counted = valid_state(state) && state < max_states;
        if (view.interactive && i == moving_stone) {
            x = moving_stone_position[0];
            y = moving_stone_position[1];
        } else if (counted) {
            y += 8.0f * static_cast<float>(lift[state]);
        }
        draw_quad(player_texture, x - half, y - half, stone_size, stone_size, stone_color, view.view);
        if (counted && lift[state] < UINT8_MAX) lift[state]++;
    }
    if (view.interactive) memcpy(state_lift, lift, sizeof state_lift);
    draw_stone_counts(view.view, view.interactive);
}

void draw_machine(const MachineView& view) {
    draw_transitions(view);
    draw_states(view);
    draw_stones(view);
}

void frame_whole_map() {
    if (states.count == 0) {
        reset_camera();
        return;
    }
    // States with their rings and stones, and every rule label.
    double margin = ring_size / 2 + 16;
    float first_x, first_y;
    state_center(0, &first_x, &first_y);
    double left = first_x, right = first_x, bottom = first_y, top = first_y;
    auto include = [&](double x0, double y0, double x1, double y1) {
        left = x0 < left ? x0 : left;
        bottom = y0 < bottom ? y0 : bottom;
        right = x1 > right ? x1 : right;
        top = y1 > top ? y1 : top;
    };
    for (int64_t i = 0; i < states.count; i++) {
        float x, y;
        state_center(static_cast<int16_t>(i), &x, &y);
        include(x - margin, y - margin, x + margin, y + margin);
    }
    for (int64_t i = 0; i < transitions.count; i++) {
        const Transition& t = transitions.data[i];
        if (!valid_state(t.from) || !valid_state(t.to) || t.rule.length == 0) continue;
        WorldBox box = label_box(t);
        include(box.x, box.y, box.x + box.width, box.y + box.height);
    }
    double visible_width = window_width;
    double visible_height = window_height - top_panel_height - seat_strip_height - bottom_panel_height;
    double zoom = 1;
    if (right - left > visible_width) zoom = visible_width / (right - left);
    if ((top - bottom) * zoom > visible_height) zoom = visible_height / (top - bottom);
    reset_camera();
    camera_zoom = clamp(zoom, min_camera_zoom, 1.0);
    // The space between the panels is centred higher than the window when the panels differ.
    double space_center_y = bottom_panel_height + visible_height / 2;
    camera_x = (left + right) / 2;
    camera_y = (bottom + top) / 2 - (space_center_y - window_height / 2.0) / camera_zoom;
}
