#include "screen/seat_strip.h"

#include "model/turn_state.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/game_overlays.h"
#include "screen/layout.h"
#include "screen/play_texts.h"
#include "screen/ui.h"

constexpr double widest_seat = 192;
constexpr double seat_text_scale = 192;
constexpr double pawn_side = 24;

static string seat_text(const Player& seat, FixedText* text) {
    fixed_put_string(text, seat.is_computer ? difficulty_name(seat.difficulty) : str(seat.is_remote ? "remote" : "human"));
    if (machine_kind == pushdown_machine) {
        fixed_put_string(text, str(", "));
        char count[32];
        FixedText cards{count, sizeof count, 0, 0};
        fixed_put_string(text, card_count_text(seat.hand.count, &cards));
    }
    return fixed_view(text);
}

void draw_seat_strip() {
    int64_t seats = seats_in_play();
    double bottom = window_height - top_panel_height - seat_strip_height;
    draw_quad(white_texture, 0, bottom, window_width, seat_strip_height, Color{0, 0, 0, 0.75f}, screen_projection);
    if (seats <= 0) return;
    double width = (window_width - 32.0) / static_cast<double>(seats);
    if (width > widest_seat) width = widest_seat;
    double left = window_width / 2.0 - width * static_cast<double>(seats) / 2;
    for (int64_t k = 0; k < seats; k++) {
        const Player& seat = players.data[k];
        double x = left + width * static_cast<double>(k);
        Color tint = readable_on_dark(seat.color);
        // An outline rather than a fill, so the text inside keeps its contrast.
        if (k == current_player && !game_over()) draw_outline(x + 2, bottom + 1, width - 4, seat_strip_height - 2, 2, tint);
        draw_quad(player_texture, x + 8, bottom + 4, pawn_side, pawn_side, seat.color, screen_projection);
        char letters[64];
        FixedText text{letters, sizeof letters, 0, 0};
        string label = seat_text(seat, &text);
        double room = width - pawn_side - 24;
        double text_width = measure_text(label, seat_text_scale, false).width;
        double scale = text_width > room ? seat_text_scale * room / text_width : seat_text_scale;
        draw_screen_text(label, x + pawn_side + 16, bottom + 6, scale, tint, text_plain);
    }
}
