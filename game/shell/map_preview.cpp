#include "shell/map_preview.h"

#include "model/game_data.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/text.h"
#include "screen/stone_animation.h"
#include "shell/menu_widgets.h"

#include <cstring>

namespace {

constexpr Color arrow_color{0.9f, 0.8f, 0.8f, 1};
constexpr Color state_color{0.08f, 0.08f, 0.15f, 1};
constexpr Color accepting_state_color{0.4f, 0.7f, 1, 1};
constexpr Color stone_color{0.2f, 0.4f, 1, 1};

double larger(double a, double b) { return a > b ? a : b; }
double smaller(double a, double b) { return a < b ? a : b; }

struct Preview {
    ScreenPoint center;
    double fit;
};

ScreenPoint drawn_position(const Preview& preview, float world_x, float world_y) {
    return ScreenPoint{world_x * preview.fit + preview.center.x, world_y * preview.fit + preview.center.y};
}

ScreenPoint drawn_state(const Preview& preview, int16_t state) {
    float x, y;
    state_center(state, &x, &y);
    return drawn_position(preview, x, y);
}

void draw_transitions(const Preview& preview) {
    double f = preview.fit;
    for (int64_t i = 0; i < transitions.count; i++) {
        const Transition& transition = transitions.data[i];
        ScreenPoint a = drawn_state(preview, transition.from);
        ScreenPoint b = drawn_state(preview, transition.to);
        if (transition.from == transition.to) {
            draw_self_arrow(self_arrow_texture, a.x, a.y, 100 * f, 90 * f, transition.bend, 50 * f, -1.5 * f,
                            arrow_color, true);
        } else {
            draw_arrow(a.x, a.y, b.x, b.y, 4 * f, 8 * transition.bend * f, arrow_color, true);
        }
        draw_text(transition.rule, (a.x + b.x) / 2 + transition.label_dx * f, (a.y + b.y) / 2 + transition.label_dy * f,
                  256 * f, menu_text_color, true, true, true);
    }
}

void draw_states(const Preview& preview) {
    double side = 64 * preview.fit;
    for (int64_t i = 0; i < states.count; i++) {
        ScreenPoint p = drawn_state(preview, static_cast<int16_t>(i));
        const Color& color = states.data[i].accepting ? accepting_state_color : state_color;
        draw_quad(shape_textures[0], p.x - side / 2, p.y - side / 2, side, side, color, true);
    }
}

// Stones sharing a state stack upwards, counted afresh in state_lift.
void draw_stones(const Preview& preview) {
    double side = 48 * preview.fit;
    memset(state_lift, 0, sizeof state_lift);
    for (int64_t i = 0; i < stones.count; i++) {
        int16_t state = stones.data[i];
        float x, y;
        stone_position(state, &x, &y);
        ScreenPoint p = drawn_position(preview, x, y);
        draw_quad(player_texture, p.x - side / 2, p.y - side / 2, side, side, stone_color, true);
        if (state >= 0 && state < states.count && state < max_states) state_lift[state] += 1;
    }
}

}  // namespace

double preview_fit() {
    // Starting at zero keeps the origin inside the extent: the preview stays centred on it.
    double min_x = 0, max_x = 0, min_y = 0, max_y = 0;
    for (int64_t i = 0; i < states.count; i++) {
        float x, y;
        state_center(static_cast<int16_t>(i), &x, &y);
        min_x = smaller(min_x, x);
        max_x = larger(max_x, x);
        min_y = smaller(min_y, y);
        max_y = larger(max_y, y);
    }
    double width = 2 * larger(-min_x, max_x);
    double height = 2 * larger(-min_y, max_y);
    double fit = 1;
    if (width > preview_max_width) fit = smaller(fit, preview_max_width / width);
    if (height > preview_max_height) fit = smaller(fit, preview_max_height / height);
    return fit;
}

void draw_map_preview() {
    Preview preview{window_center(), preview_fit()};
    draw_transitions(preview);
    draw_states(preview);
    draw_stones(preview);
}
