#include "screen/heads_up.h"

#include "model/game_data.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/layout.h"
#include "screen/ui.h"

static string machine_kind_text() {
    switch (machine_kind) {
        case state_machine: return str("state machine!");
        case pushdown_machine: return str("pushdown machine!");
        case turing_machine: return str("turing machine!");
        default: return string{nullptr, 0};
    }
}

static string win_mode_text() {
    switch (win_mode) {
        case immediate: return str("immediate");
        case all_accepting: return str("all accepting");
        case any_accepting: return str("any accepting");
        default: return string{nullptr, 0};
    }
}

void draw_panels() {
    Color panel{0, 0, 0, 0.75f};
    draw_quad(white_texture, 0, 0, window_width, bottom_panel_height, panel, screen_projection);
    draw_quad(white_texture, 0, window_height - top_panel_height, window_width, top_panel_height, panel, screen_projection);
}

void draw_heads_up_texts() {
    Color red{1, 0, 0, 1};
    double height = window_height;
    draw_screen_text(machine_kind_text(), 16, height - 48, 256, red, text_plain);
    draw_screen_text(win_mode_text(), 16, height - 80, 256, red, text_plain);
    Color seat = current_player >= 0 && current_player < players.count ? players.data[current_player].color
                                                                         : player_color(0);
    draw_screen_text(str("turn: "), 16, height - 112, 256, seat, text_plain);
    draw_quad(player_texture, 96, height - 112, 32, 32, seat, screen_projection);
}
