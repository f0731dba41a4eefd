#include "screen/game_overlays.h"

#include "model/game_data.h"
#include "model/turn_state.h"
#include "render/goal_drawing.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/layout.h"
#include "screen/ui.h"

static const char* const turn_texts[card_property_count] = {"Red's turn",    "Blue's turn",   "Green's turn",
                                                            "Yellow's turn", "Purple's turn", "Orange's turn"};
static const char* const win_texts[card_property_count] = {"Red wins!",    "Blue wins!",   "Green wins!",
                                                           "Yellow wins!", "Purple wins!", "Orange wins!"};
static const char* const stuck_texts[card_property_count] = {
    "Red could not move",    "Blue could not move",   "Green could not move",
    "Yellow could not move", "Purple could not move", "Orange could not move"};

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
    draw_text(text, window_width / 2.0, y, scale, color, screen_projection, text_centered);
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
        draw_text(card_count_text(players.data[k].hand.count, &text), x, y, 256, readable_on_dark(players.data[k].color),
                  screen_projection, text_centered);
    }
}

void draw_end_overlay() {
    double middle = window_height / 2.0;
    string restart = str("Press <space> to restart or <esc> to quit");
    draw_dark_box();
    if (winner < players.count) {
        const Player& seat = players.data[winner];
        Color text = readable_on_dark(seat.color);
        draw_centred(win_text(seat.color_index), middle, 512, text);
        if (stuck_seat < players.count && stuck_seat < card_property_count) {
            const Player& stuck = players.data[stuck_seat];
            draw_centred(str(stuck_texts[stuck.color_index % card_property_count]), middle - 96, 256,
                         readable_on_dark(stuck.color));
        }
        draw_centred(restart, middle - 200, 256, text);
        if (machine_kind == turing_machine) draw_goal_text(seat.goal, window_width / 2.0, bottom_panel_height / 2);
        return;
    }
    Color white{1, 1, 1, 1};
    draw_centred(str(game_drawn ? "Draw!" : "Nobody can move!"), middle, 512, white);
    draw_centred(restart, middle - 200, 256, white);
}
