#include "screen/card_table.h"

#include "model/game_data.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "screen/layout.h"

// Cells sit side by side, the tape centred on the window.
static double tape_cell_x(int64_t k, int64_t cells, double width) {
    return width / 2 - (card_pitch * static_cast<double>(cells) - 16) / 2 + card_pitch * static_cast<double>(k);
}

static void draw_tape() {
    double y = window_height - top_panel_height / 2 - card_size / 2;
    for (int64_t k = 0; k < tape.count; k++) {
        double x = tape_cell_x(k, tape.count, window_width);
        if (k == tape_head) draw_quad(white_texture, x - 16, y - 16, 160, 160, Color{1, 0.3f, 0, 0.5f}, screen_projection);
        draw_card(tape.data[k], x, y, card_size);
    }
}

void draw_card_table() {
    if (machine_kind == pushdown_machine) {
        CardSlot deck_place = deck_slot(), stack_place = stack_slot();
        if (deck.count > 0) {
            draw_quad(gradient1_texture, deck_place.x, deck_place.y, deck_place.size, deck_place.size, Color{1, 1, 1, 1},
                      screen_projection);
        }
        if (stack.count > 0) draw_card(top_card(stack), stack_place.x, stack_place.y, stack_place.size);
    } else if (machine_kind == turing_machine) {
        draw_tape();
    }
}
