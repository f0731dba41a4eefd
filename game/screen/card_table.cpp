#include "screen/card_table.h"

#include "base/text_format.h"
#include "model/game_data.h"
#include "model/turn_state.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/layout.h"
#include "screen/ui.h"

// Cells sit side by side, the tape centred on the window; a tape too long for that keeps clear of
// the heads-up texts on the left, its cards shrunk if it still does not fit.
struct TapeLayout {
    double left, pitch, size;
};

// A frame round a card in the colour of the seat that moved last: the card it played or the cell it wrote.
static void draw_mover_frame(double x, double y, double size) {
    if (last_move.seat >= players.count) return;
    Color color = readable_on_dark(players.data[last_move.seat].color);
    double side = 4 * size / card_size;
    draw_outline(x - side, y - side, size + 2 * side, size + 2 * side, side, color);
}

static TapeLayout tape_layout(int64_t cells, double width) {
    double cell_gap = card_pitch - card_size;
    double length = card_pitch * static_cast<double>(cells) - cell_gap;
    double left = width / 2 - length / 2;
    if (cells <= 0 || left >= heads_up_width) return TapeLayout{left, card_pitch, card_size};
    double room = width - heads_up_width - cell_gap;
    double pitch = room / static_cast<double>(cells) < card_pitch ? room / static_cast<double>(cells) : card_pitch;
    double used = pitch * static_cast<double>(cells) - cell_gap * pitch / card_pitch;
    return TapeLayout{heads_up_width + (room - used) / 2, pitch, card_size * pitch / card_pitch};
}

static void draw_tape() {
    TapeLayout layout = tape_layout(tape.count, window_width);
    double y = window_height - top_panel_height / 2 - layout.size / 2;
    double frame = 16 * layout.size / card_size;
    for (int64_t k = 0; k < tape.count; k++) {
        double x = layout.left + layout.pitch * static_cast<double>(k);
        if (k == tape_head) {
            draw_quad(white_texture, x - frame, y - frame, layout.size + 2 * frame, layout.size + 2 * frame,
                      Color{1, 0.3f, 0, 0.5f}, screen_projection);
        }
        draw_card(tape.data[k], x, y, layout.size);
        if (k == last_move.written_cell) draw_mover_frame(x, y, layout.size);
    }
}

// How many cards are left, on a dark badge in the middle of the deck's back.
static void draw_deck_count(const CardSlot& deck_place) {
    char digits[24];
    FixedText text{digits, sizeof digits, 0, 0};
    fixed_put_integer(&text, deck.count);
    string count = fixed_view(&text);
    double center_x = deck_place.x + deck_place.size / 2, center_y = deck_place.y + deck_place.size / 2;
    double width = measure_text(count, 320, false).width + 24;
    draw_quad(white_texture, center_x - width / 2, center_y - 24, width, 48, Color{0, 0, 0, 0.8f}, screen_projection);
    draw_text(count, center_x, center_y, 320, Color{1, 1, 1, 1}, screen_projection, text_centered);
}

void draw_card_table() {
    if (machine_kind == pushdown_machine) {
        CardSlot deck_place = deck_slot(), stack_place = stack_slot();
        if (deck.count > 0) {
            draw_quad(gradient1_texture, deck_place.x, deck_place.y, deck_place.size, deck_place.size, Color{1, 1, 1, 1},
                      screen_projection);
            draw_deck_count(deck_place);
        }
        if (stack.count > 0) {
            draw_card(top_card(stack), stack_place.x, stack_place.y, stack_place.size);
            // The stack empties into the deck when the deck runs out; until then its top is the last card played.
            if (last_move.transition >= 0) draw_mover_frame(stack_place.x, stack_place.y, stack_place.size);
        }
    } else if (machine_kind == turing_machine) {
        draw_tape();
    }
}
