#include "screen/game_screen.h"

#include "model/turn_state.h"
#include "render/scene.h"
#include "screen/card_table.h"
#include "screen/editor.h"
#include "screen/game_overlays.h"
#include "screen/hand.h"
#include "screen/heads_up.h"
#include "screen/machine_view.h"
#include "screen/screen_mouse.h"
#include "screen/stone_animation.h"
#include "screen/text_entry.h"

#include <cstring>

double hand_scroll;
uint8_t hand_scroll_dragging;
uint8_t show_state_numbers;
double bottom_panel_height;
double top_panel_height;
CardSlot deck_slot;
CardSlot stack_slot;

void reset_game_screen() {
    hand_scroll = 0;
    hand_scroll_dragging = 0;
    show_state_numbers = 0;
    bottom_panel_height = 176;
    top_panel_height = 160;
    deck_slot = CardSlot{0, 0, 0};
    stack_slot = CardSlot{0, 0, 0};
}

static bool current_seat_is_human() {
    return current_player >= 0 && current_player < players.count && !players.data[current_player].is_computer;
}

void game_screen_frame(bool editing) {
    place_card_slots(window_width, window_height);
    ScreenMouse mouse = read_screen_mouse();
    selected_transition = transition_between(source_state, target_state);
    draw_transitions();
    if (mouse.right_pressed && !entry_open) clear_last_selection();
    draw_and_select_states(mouse);
    memset(state_lift, 0, sizeof state_lift);
    animate_moving_stone(frame_time);
    draw_stones();
    draw_panels(bottom_panel_height, top_panel_height);
    draw_card_table();
    if (editing) {
        editor_frame();
    } else {
        if (hand_revealed) {
            draw_hand(mouse);
        } else if (human_count > 1 && !game_over() && current_seat_is_human()) {
            draw_turn_overlay();
        }
    }
    if (machine_kind == pushdown_machine && !hand_revealed) draw_card_counts();
    draw_heads_up_texts();
    // A finished game's result would cover the editor, which starts from it unchanged.
    if (!editing && game_over()) draw_end_overlay();
}
