#include "screen/game_screen.h"

#include "model/turn_state.h"
#include "render/primitives.h"
#include "render/scene.h"
#include "screen/card_table.h"
#include "screen/editor.h"
#include "screen/frame_input.h"
#include "screen/game_overlays.h"
#include "screen/goal_builder.h"
#include "screen/hand.h"
#include "screen/heads_up.h"
#include "screen/layout.h"
#include "screen/machine_view.h"
#include "screen/move_values.h"
#include "screen/stone_animation.h"
#include "screen/text_entry.h"

void reset_game_screen() {
    reset_hand_view();
    show_state_numbers = 0;
}

static bool current_seat_is_human() {
    return current_player >= 0 && current_player < players.count && !players.data[current_player].is_computer;
}

void game_screen_frame(bool editing) {
    MachineView view{camera_matrix, -1, true};
    bool turn_overlay = !editing && !hand_revealed && human_count > 1 && !game_over() && current_seat_is_human();
    // What an overlay or a dialog covers takes no click.
    bool covered = entry_open || goal_builder_open || (editing && editor_dialog_open()) || turn_overlay ||
                   (!editing && game_over());
    if (right_click() && !covered) clear_last_selection();
    if (!covered) take_machine_click(view);
    selected_transition = chosen_transition();
    view.highlighted_transition = selected_transition;
    draw_transitions(view);
    draw_states(view);
    animate_moving_stone(frame_time);
    draw_stones(view);
    draw_panels();
    // The cards belong to a game in progress, not to the map being edited.
    if (!editing) draw_card_table();
    if (editing) {
        editor_frame();
    } else {
        if (hand_revealed) {
            draw_hand();
            draw_move_values(view.view);
        } else if (turn_overlay) {
            draw_turn_overlay();
        }
    }
    if (!editing && machine_kind == pushdown_machine && !hand_revealed) draw_card_counts();
    draw_heads_up_texts();
    // A finished game's result would cover the editor, which starts from it unchanged.
    if (!editing && game_over()) draw_end_overlay();
}
