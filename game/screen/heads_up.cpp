#include "screen/heads_up.h"

#include "base/text_format.h"
#include "model/draw_rules.h"
#include "model/game_data.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "model/turn_state.h"
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

constexpr int64_t turn_count_shown_from = 500;

void draw_panels() {
    Color panel{0, 0, 0, 0.75f};
    draw_quad(white_texture, 0, 0, window_width, bottom_panel_height, panel, screen_projection);
    draw_quad(white_texture, 0, window_height - top_panel_height, window_width, top_panel_height, panel, screen_projection);
}

string notice_text;
double notice_time_left;
static char notice_letters[notice_capacity];

void reset_heads_up() {
    notice_text = string{nullptr, 0};
    notice_time_left = 0;
}

void show_notice(string text) {
    FixedText copy{notice_letters, notice_capacity, 0, 0};
    fixed_put_string(&copy, text);
    notice_text = fixed_view(&copy);
    notice_time_left = notice_seconds;
}

static void draw_notice() {
    if (notice_time_left <= 0) return;
    notice_time_left -= frame_time;
    TextSize size = measure_text(notice_text, 256, false);
    double x = window_width / 2.0, y = bottom_panel_height + 40;
    draw_quad(white_texture, x - size.width / 2 - 16, y - 24, size.width + 32, 48, Color{0, 0, 0, 0.85f},
              screen_projection);
    draw_text(notice_text, x, y, 256, Color{1, 0.9f, 0.5f, 1}, screen_projection, text_centered);
}

void draw_heads_up_texts() {
    Color red{1, 0, 0, 1};
    double height = window_height;
    draw_screen_text(machine_kind_text(), 16, height - 48, 256, red, text_plain);
    draw_screen_text(win_mode_text(), 16, height - 80, 256, red, text_plain);
    // After the game the line names the winner, not the seat whose turn it would have been.
    bool won = winner != no_winner && winner < players.count;
    int64_t shown = won ? winner : current_player;
    if (won || !game_over()) {
        Color seat = shown >= 0 && shown < players.count ? players.data[shown].color : player_color(0);
        draw_screen_text(str(won ? "winner: " : "turn: "), 16, height - 112, 256, readable_on_dark(seat), text_plain);
        draw_quad(player_texture, won ? 128 : 96, height - 112, 32, 32, seat, screen_projection);
    }
    // Near the turn limit its count comes into view.
    if (machine_kind != state_machine && !game_over() && turns_played + 1 >= turn_count_shown_from) {
        char letters[48];
        FixedText text{letters, sizeof letters, 0, 0};
        fixed_put_string(&text, str("turn "));
        fixed_put_integer(&text, turns_played + 1);
        fixed_put_string(&text, str(" of "));
        fixed_put_integer(&text, max_game_turns);
        draw_screen_text(fixed_view(&text), 16, height - 144, 256, Color{1, 0.9f, 0.5f, 1}, text_plain);
    }
    draw_notice();
}
