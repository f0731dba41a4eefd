#include "model/referee.h"
#include "model/rules.h"
#include "model/turn_flow.h"
#include "model/turn_state.h"
#include "screen/game_screen.h"
#include "screen/frame_input.h"
#include "screen/hand.h"
#include "screen/heads_up.h"
#include "screen/hint.h"
#include "screen/move_values.h"
#include "screen/camera.h"
#include "screen/machine_view.h"
#include "screen/stone_animation.h"

static int64_t count_human_seats() {
    int64_t seats = seats_in_play();
    int64_t humans = 0;
    for (int64_t seat = 0; seat < seats; seat++) humans += players.data[seat].is_computer ? 0 : 1;
    return humans;
}

static bool current_seat_is_computer() {
    return current_player >= 0 && current_player < players.count && players.data[current_player].is_computer;
}

static bool hand_fits(const GrowableArray<Card>& hand, string rule) {
    for (int64_t k = 0; k < hand.count; k++) {
        if (rule_accepts(rule, hand.data[k])) return true;
    }
    return false;
}

// A refused choice is taken back and the player told why, once.
static bool refuse(string reason, bool drop_card) {
    show_notice(reason);
    if (drop_card) {
        selected_card = -1;
    } else {
        target_state = -1;
        selected_transition = -1;
    }
    return false;
}

// A complete selection is carried out as the current seat's move, whoever made it; one that cannot
// be carried out is taken back with the reason; an incomplete one waits for the player.
static bool make_selected_move() {
    if (source_state < 0 || target_state < 0) return false;
    bool pushdown = machine_kind == pushdown_machine;
    // Found again here, as the selection may have changed since the screen last looked.
    selected_transition = chosen_transition();
    if (selected_transition < 0) return refuse(str("No transition leads from that state to that one"), false);
    int16_t stone = first_stone_on(source_state);
    if (stone < 0) return refuse(str("No stone stands on that state"), false);
    string rule = transitions.data[selected_transition].rule;
    if (!pushdown) {
        apply_move(stone, target_state, rule, default_card, -1);
        return true;
    }
    if (current_player < 0 || current_player >= players.count) return false;
    const GrowableArray<Card>& hand = players.data[current_player].hand;
    if (!hand_fits(hand, rule)) return refuse(str("No card in your hand fits that rule"), false);
    if (selected_card < 0 || selected_card >= hand.count) return false;
    Card card = hand.data[selected_card];
    if (!rule_accepts(rule, card)) return refuse(str("That card does not fit the rule"), true);
    apply_move(stone, target_state, rule, card, selected_card);
    // The card has left the hand; keeping its index would point at its neighbour.
    selected_card = -1;
    return true;
}

bool restart_game() {
    reset_turn_state();
    reset_heads_up();
    bool started = start_game();
    human_count = count_human_seats();
    reset_stone_animation();
    reset_hint();
    reset_hand_view();
    frame_whole_map();
    return started;
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

    if (shift_held() && key_pressed(KEY_N)) show_state_numbers = !show_state_numbers;
    bool space = key_pressed(KEY_SPACE);
    if (game_over()) {
        if (space) restart_game();
        return;
    }
    if (space && !current_seat_is_computer() && !hand_revealed) hand_revealed = 1;
    update_hint(!current_seat_is_computer() && hand_revealed);
    update_move_values(!current_seat_is_computer() && hand_revealed);

    // A seat makes one move per turn, even when a selection was carried out for a computer seat.
    if (moved || !current_seat_is_computer()) return;
    if (computer_delay > 0) {
        computer_delay -= frame_time;
        return;
    }
    computer_act();
    start_stone_animation();
}
