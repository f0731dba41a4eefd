#include "screen/game_overlays.h"

#include "model/game_data.h"
#include "model/draw_rules.h"
#include "model/goals.h"
#include "model/turn_state.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/layout.h"
#include "screen/network_play.h"
#include "screen/play_texts.h"
#include "screen/ui.h"

static const char* const turn_texts[card_property_count] = {"Red's turn",    "Blue's turn",   "Green's turn",
                                                            "Yellow's turn", "Purple's turn", "Orange's turn"};
static const char* const win_texts[card_property_count] = {"Red wins!",    "Blue wins!",   "Green wins!",
                                                           "Yellow wins!", "Purple wins!", "Orange wins!"};

// By colour index; empty past the six colours.
static string turn_text(uint8_t color_index) {
    return color_index < card_property_count ? str(turn_texts[color_index]) : string{nullptr, 0};
}

static string win_text(uint8_t color_index) {
    return color_index < card_property_count ? str(win_texts[color_index]) : string{nullptr, 0};
}

string card_count_text(int64_t cards, FixedText* text) {
    fixed_put_integer(text, cards);
    fixed_put_string(text, str(" card"));
    if (cards != 1) fixed_put_char(text, 's');
    if (cards <= 1) fixed_put_char(text, '!');
    return fixed_view(text);
}

// Centre of seat k's count among `seats` lines, in columns of at least four rows.
static void card_count_position(int64_t k, int64_t seats, double width, double bottom_panel, double* x, double* y) {
    int64_t rows = seats / 2 > 4 ? seats / 2 : 4;
    int64_t column = k / rows, row = k % rows;
    double offset = rows < seats ? 128 : 0;
    *x = width / 2 - offset + 2 * offset * static_cast<double>(column);
    *y = bottom_panel - 24 - 32 * static_cast<double>(row);
}

static void draw_dark_box() { draw_centered_panel(800, 600, Color{0, 0, 0, 0.9f}); }

static void draw_centred(string text, double y, double scale, const Color& color) {
    draw_screen_text(text, window_width / 2.0, y, scale, color, text_centered);
}

void draw_turn_overlay() {
    if (current_player < 0 || current_player >= players.count) return;
    const Player& seat = players.data[current_player];
    double middle = window_height / 2.0;
    draw_dark_box();
    Color text = readable_on_dark(seat.color);
    draw_centred(turn_text(seat.color_index), middle, 512, text);
    draw_centred(str("Press <space> to continue"), middle - 64, 256, text);
}

void draw_card_counts() {
    for (int64_t k = 0; k < players.count; k++) {
        char letters[48];
        FixedText text{letters, sizeof letters, 0, 0};
        double x, y;
        card_count_position(k, players.count, window_width, bottom_panel_height, &x, &y);
        draw_screen_text(card_count_text(players.data[k].hand.count, &text), x, y, 256, readable_on_dark(players.data[k].color),
                         text_centered);
    }
}

// Why the game ended, in one line under its result.
static string end_reason(FixedText* text) {
    if (winner < players.count) {
        if (stuck_seat < players.count) return seat_sentence(stuck_seat, str(" cannot move"), text);
        switch (machine_kind) {
            case pushdown_machine: return seat_sentence(winner, str(" has no cards left"), text);
            case turing_machine: return seat_sentence(winner, str("'s goal is met"), text);
            default: break;
        }
        if (win_mode == all_accepting) return str("Every stone stands on a light blue state");
        if (win_mode == any_accepting) return str("A stone stands on a light blue state");
        return str("The first move wins on this map");
    }
    if (game_drawn && machine_kind == state_machine) return str("The same position came round three times");
    if (game_drawn) {
        fixed_put_integer(text, max_game_turns);
        fixed_put_string(text, str(" turns without a winner"));
        return fixed_view(text);
    }
    return str("No seat can move or take a card any more");
}

// After a Turing game every seat's goal, met or not, in the bottom panel: one column up to three
// seats, two beyond.
static void draw_every_goal() {
    int64_t seats = seats_in_play();
    int64_t columns = seats > 3 ? 2 : 1, rows = (seats + columns - 1) / columns;
    constexpr double line = 32, scale = 192;
    for (int64_t k = 0; k < seats; k++) {
        const Player& seat = players.data[k];
        double x = window_width * static_cast<double>(2 * (k / rows) + 1) / static_cast<double>(2 * columns);
        double y = bottom_panel_height / 2 + line * (static_cast<double>(rows - 1) / 2 - static_cast<double>(k % rows));
        char letters[goal_text_capacity + 16];
        FixedText text{letters, sizeof letters, 0, 0};
        fixed_put_string(&text, goal_progress_text(seat.goal));
        fixed_put_string(&text, str(goal_met(seat.goal) ? ": met" : ": not met"));
        string shown = fixed_view(&text);
        double width = measure_text(shown, scale, true).width;
        draw_quad(player_texture, x - width / 2 - 32, y - 12, 24, 24, seat.color, screen_projection);
        draw_screen_text(shown, x, y, scale, readable_on_dark(seat.color), text_centered | text_symbols);
    }
}

void draw_end_overlay() {
    double middle = window_height / 2.0;
    // A joined game is restarted by its host only.
    string restart = str(joined_play ? "Press <esc> to leave" : "Press <space> to restart or <esc> to quit");
    // Opaque, so the result reads the same over any board.
    draw_centered_panel(800, 600, Color{0, 0, 0, 1});
    char letters[96];
    FixedText reason{letters, sizeof letters, 0, 0};
    string why = end_reason(&reason);
    if (winner < players.count) {
        const Player& seat = players.data[winner];
        Color text = readable_on_dark(seat.color);
        draw_centred(win_text(seat.color_index), middle, 512, text);
        Color reason_color = stuck_seat < players.count ? readable_on_dark(players.data[stuck_seat].color) : text;
        draw_centred(why, middle - 96, 256, reason_color);
        draw_centred(restart, middle - 200, 256, text);
    } else {
        Color white{1, 1, 1, 1};
        draw_centred(str(game_drawn ? "Draw!" : "Nobody can move!"), middle, 512, white);
        draw_centred(why, middle - 96, 256, white);
        draw_centred(restart, middle - 200, 256, white);
    }
    if (machine_kind == turing_machine) draw_every_goal();
}
