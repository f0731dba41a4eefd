#include "model/referee.h"
#include "model/rules.h"
#include "model/turn_flow.h"
#include "model/turn_state.h"
#include "screen/game_screen.h"
#include "screen/hint.h"
#include "screen/keys.h"
#include "screen/machine_view.h"
#include "screen/stone_animation.h"

#include <kestrune_system.h>

static int64_t count_human_seats() {
    int64_t seats = player_count < players.count ? player_count : players.count;
    int64_t humans = 0;
    for (int64_t seat = 0; seat < seats; seat++) humans += players.data[seat].is_computer ? 0 : 1;
    return humans;
}

static bool current_seat_is_computer() {
    return current_player >= 0 && current_player < players.count && players.data[current_player].is_computer;
}

// A complete selection is carried out as the current seat's move, whoever made it; an
// incomplete or illegal one waits for the player to change it.
static bool make_selected_move() {
    bool pushdown = machine_kind == pushdown_machine;
    if (source_state < 0 || target_state < 0 || (pushdown && selected_card < 0)) return false;
    int16_t stone = first_stone_on(source_state);
    if (stone < 0) return false;
    // Found again here, as the selection may have changed since the screen last looked.
    selected_transition = transition_between(source_state, target_state);
    if (selected_transition < 0) return false;
    string rule = transitions.data[selected_transition].rule;
    if (!pushdown) {
        apply_move(stone, target_state, rule, default_card, -1);
        return true;
    }
    if (current_player < 0 || current_player >= players.count) return false;
    const GrowableArray<Card>& hand = players.data[current_player].hand;
    if (selected_card >= hand.count) return false;
    Card card = hand.data[selected_card];
    if (!rule_accepts(rule, card)) return false;
    apply_move(stone, target_state, rule, card, selected_card);
    // The card has left the hand; keeping its index would point at its neighbour.
    selected_card = -1;
    return true;
}

void restart_game() {
    reset_turn_state();
    start_game();
    human_count = count_human_seats();
    reset_stone_animation();
    reset_hint();
    hand_scroll = 0;
    hand_scroll_dragging = 0;
}

void update_play() {
    human_count = count_human_seats();
    if (move_delay > 0) {
        move_delay -= frame_time;
        if (move_delay <= 0) end_turn();
        return;
    }
    recycle_stack();
    bool moved = false;
    if (!settle_stuck_seat() && !game_over()) moved = make_selected_move();
    if (moved) start_stone_animation();

    if (shift_held() && input_key_is_pressed(KEY_N)) show_state_numbers = !show_state_numbers;
    bool space = input_key_is_pressed(KEY_SPACE) != 0;
    if (game_over()) {
        if (space) restart_game();
        return;
    }
    if (space && !current_seat_is_computer() && !hand_revealed) hand_revealed = 1;
    update_hint(!current_seat_is_computer() && hand_revealed);

    // A seat makes one move per turn, even when a selection was carried out for a computer seat.
    if (moved || !current_seat_is_computer()) return;
    if (computer_delay > 0) {
        computer_delay -= frame_time;
        return;
    }
    computer_act();
    start_stone_animation();
}
