#include "screen/machine_view.h"

#include "base/text_format.h"
#include "model/turn_state.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/game_screen.h"
#include "screen/hint.h"
#include "screen/stone_animation.h"
#include "screen/text_entry.h"

constexpr double state_size = 64;
constexpr double ring_size = 96;
constexpr double stone_size = 48;

// The circle picture, centred on (x, y) in world space.
static void draw_circle(float x, float y, double size, const Color& color) {
    draw_quad(shape_textures[0], x - size / 2, y - size / 2, size, size, color, false);
}

static bool valid_state(int16_t state) { return state >= 0 && state < states.count; }

int16_t transition_between(int16_t from, int16_t to) {
    if (from < 0 || to < 0) return -1;
    for (int64_t i = 0; i < transitions.count; i++) {
        if (transitions.data[i].from == from && transitions.data[i].to == to) return static_cast<int16_t>(i);
    }
    return -1;
}

void draw_transitions() {
    Color selected{0.3f, 0, 1, 1}, plain{0.9f, 0.8f, 0.8f, 1}, label{1, 1, 1, 1};
    for (int64_t i = 0; i < transitions.count; i++) {
        const Transition& t = transitions.data[i];
        if (!valid_state(t.from) || !valid_state(t.to)) continue;
        const Color& color = i == selected_transition ? selected : plain;
        float from_x, from_y, to_x, to_y;
        state_center(t.from, &from_x, &from_y);
        state_center(t.to, &to_x, &to_y);
        if (t.from == t.to) {
            draw_self_arrow(self_arrow_texture, from_x, from_y, 100, 90, t.bend, 50, -1.5, color, false);
        } else {
            draw_arrow(from_x, from_y, to_x, to_y, 4, t.bend * 8.0, color, false);
        }
        double label_x = (from_x + to_x) / 2.0 + t.label_dx, label_y = (from_y + to_y) / 2.0 + t.label_dy;
        draw_text(t.rule, label_x, label_y, 256, label, false, true, false);
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

static void select_state(int16_t state) {
    if (source_state < 0) {
        source_state = state;
        target_state = -1;
    } else if (state == target_state) {
        target_state = -1;
    } else {
        target_state = state;
    }
}

static void draw_state_number(int64_t index, float x, float y) {
    char digits[24];
    FixedText text{digits, sizeof digits, 0, 0};
    fixed_put_integer(&text, index);
    draw_text(fixed_view(&text), x, y, 256, Color{1, 1, 1, 1}, false, false, true);
}

void draw_and_select_states(const ScreenMouse& mouse) {
    bool between_panels = mouse.height > bottom_panel_height && mouse.height < window_height - top_panel_height;
    bool pointing = between_panels && !entry_open;
    // One click selects one state, even where states overlap.
    bool click_open = mouse.left_pressed;
    for (int64_t i = 0; i < states.count; i++) {
        int16_t state = static_cast<int16_t>(i);
        float x, y;
        state_center(state, &x, &y);
        double half = state_size / 2;
        bool hovered = pointing && mouse.world_x >= x - half && mouse.world_x < x + half &&
                       mouse.world_y >= y - half && mouse.world_y < y + half;
        if (hovered && click_open) {
            select_state(state);
            click_open = false;
        }
        if (state == source_state) draw_circle(x, y, ring_size, Color{0.5f, 0, 0, 0.5f});
        if (state == target_state) draw_circle(x, y, ring_size, Color{0, 0, 1, 0.5f});
        if (hint.shown && (state == hint.from_state || state == hint.target)) {
            draw_circle(x, y, ring_size + 16, Color{0, 1, 0.3f, 0.5f});
        }
        Color disc = states.data[i].accepting ? Color{0.4f, 0.7f, 1, 1} : Color{0.08f, 0.08f, 0.15f, 1};
        draw_circle(x, y, state_size, disc);
        if (hovered) draw_circle(x, y, state_size, Color{1, 1, 1, 0.3f});
        if (show_state_numbers) draw_state_number(i, x, y);
    }
}

void draw_stones() {
    Color stone_color{0.2f, 0.4f, 1, 1};
    double half = stone_size / 2;
    for (int64_t i = 0; i < stones.count; i++) {
        int16_t state = stones.data[i];
        float x, y;
        if (i == moving_stone) {
            x = moving_stone_position[0];
            y = moving_stone_position[1];
        } else {
            stone_position(state, &x, &y);
        }
        draw_quad(player_texture, x - half, y - half, stone_size, stone_size, stone_color, false);
        if (valid_state(state) && state < max_states && state_lift[state] < UINT8_MAX) state_lift[state]++;
    }
}
