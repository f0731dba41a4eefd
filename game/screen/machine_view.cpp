#include "screen/machine_view.h"

#include "base/text_format.h"
#include "model/turn_state.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/frame_input.h"
#include "screen/layout.h"
#include "screen/stone_animation.h"
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

// The circle picture, centred on (x, y) in world space.
void draw_circle(const Matrix& view, float x, float y, double size, const Color& color) {
    draw_quad(shape_textures[0], x - size / 2, y - size / 2, size, size, color, view);
}

bool valid_state(int16_t state) { return state >= 0 && state < states.count; }

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
        const Color& color = i == view.highlighted_transition ? selected_arrow_color : plain_arrow_color;
        float from_x, from_y, to_x, to_y;
        state_center(t.from, &from_x, &from_y);
        state_center(t.to, &to_x, &to_y);
        if (t.from == t.to) {
            draw_self_arrow(self_arrow_texture, from_x, from_y, 100, 90, t.bend, 50, -1.5, color, view.view);
        } else {
            draw_arrow(from_x, from_y, to_x, to_y, 4, t.bend * 8.0, color, view.view);
        }
        double label_x = (from_x + to_x) / 2.0 + t.label_dx, label_y = (from_y + to_y) / 2.0 + t.label_dy;
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

void select_and_draw_states(const MachineView& view) {
    double pointer_y = frame_input.mouse_y;
    bool between_panels = pointer_y > bottom_panel_height && pointer_y < window_height - top_panel_height;
    bool pointing = view.interactive && between_panels && !entry_open;
    // One click selects one state, even where states overlap.
    bool click_open = left_click();
    for (int64_t i = 0; i < states.count; i++) {
        int16_t state = static_cast<int16_t>(i);
        float x, y;
        state_center(state, &x, &y);
        double half = state_size / 2;
        bool hovered = pointing && frame_input.world_x >= x - half && frame_input.world_x < x + half &&
                       frame_input.world_y >= y - half && frame_input.world_y < y + half;
        if (hovered && click_open) {
            select_state(state);
            click_open = false;
        }
        if (view.interactive && state == source_state) draw_circle(view.view, x, y, ring_size, Color{0.5f, 0, 0, 0.5f});
        if (view.interactive && state == target_state) draw_circle(view.view, x, y, ring_size, Color{0, 0, 1, 0.5f});
        draw_circle(view.view, x, y, state_size, states.data[i].accepting ? accepting_state_color : state_color);
        if (hovered) draw_circle(view.view, x, y, state_size, Color{1, 1, 1, 0.3f});
        if (view.interactive && show_state_numbers) draw_state_number(view.view, i, x, y);
    }
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
}

void draw_machine(const MachineView& view) {
    draw_transitions(view);
    select_and_draw_states(view);
    draw_stones(view);
}
