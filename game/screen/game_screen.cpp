#include "screen/game_screen.h"

#include "model/turn_state.h"
#include "render/primitives.h"
#include "render/scene.h"
#include "screen/card_table.h"
#include "screen/editor.h"
#include "screen/frame_input.h"
#include "screen/game_overlays.h"
#include "screen/hand.h"
#include "screen/heads_up.h"
#include "screen/layout.h"
#include "screen/machine_view.h"
#include "screen/move_values.h"
#include "screen/network_play.h"
#include "screen/pointer_boxes.h"
#include "screen/seat_strip.h"
#include "screen/stone_animation.h"
#include "screen/view_drag.h"

int32_t pace_level;

void reset_game_screen() {
    pace_level = watched_pace_level;
    reset_hand_view();
    reset_view_drag();
    show_state_numbers = 0;
}

static bool current_seat_is_human() {
    return current_player >= 0 && current_player < players.count && !players.data[current_player].is_computer;
}

void game_screen_frame(bool editing) {
    bool shows_last_move = !editing && last_move.seat < players.count;
    Color mover = shows_last_move ? readable_on_dark(players.data[last_move.seat].color) : Color{};
    MachineView view{camera_matrix, -1, true, !editing, false, shows_last_move ? last_move.transition : int16_t{-1}, mover};
    claim_machine_pointer(&view);
    bool turn_overlay = !editing && !hand_revealed && human_count > 1 && !game_over() && current_seat_is_human();
    // Only the player of the seat to move chooses; the editor's clicks are always its own.
    bool choosing = editing || human_may_choose();
    update_view_drag(pointing_at_machine(view) && !machine_part_under_pointer(view));
    if (right_click() && choosing && !pointer_covered()) clear_last_selection();
    if (choosing) take_machine_click(view);
    // The one place the selection's transition is worked out; the next frame's move takes it as it is.
    selected_transition = chosen_transition();
    view.highlighted_transition = selected_transition;
    draw_transitions(view);
    draw_states(view);
    animate_moving_stone(frame_time);
    draw_stones(view);
    draw_panels();
    if (!editing) draw_seat_strip();
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
    if (!editing) draw_network_texts();
}
