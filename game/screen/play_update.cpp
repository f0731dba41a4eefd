#include "base/clamp.h"
#include "model/game_log.h"
#include "model/kept_game.h"
#include "model/move_choice.h"
#include "model/referee.h"
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
#include "screen/play_texts.h"
#include "screen/selection.h"
#include "screen/stone_animation.h"

static bool current_seat_is_computer() {
    return current_player >= 0 && current_player < players.count && players.data[current_player].is_computer;
}

static void drop_selection() {
    drop_selection_of_states();
    selected_card = -1;
}

// A complete selection is carried out as the current seat's move (only that seat's player can have
// made it); one that cannot be carried out is taken back as far as the reason asks, and the player
// told why, once; an incomplete one waits.
static bool make_selected_move() {
    ChoiceOutcome outcome = make_chosen_move(MoveChoice{source_state, target_state, selected_transition, selected_card});
    take_back_selection(outcome.verdict);
    if (outcome.refusal.length > 0) show_notice(outcome.refusal);
    return outcome.verdict == choice_made;
}

// The screen's own state for a game it has not shown yet.
static void show_new_game() {
    start_game_log();
    human_count = human_seats();
    reset_stone_animation();
    reset_hint();
    reset_hand_view();
    frame_whole_map();
}

bool restart_game() {
    reset_turn_state();
    reset_heads_up();
    bool started = start_game();
    show_new_game();
    return started;
}

bool resume_kept_game() {
    reset_heads_up();
    if (!continue_kept_game()) return false;
    // Whoever sits at the screen now, the seat to move shows its turn before its hand.
    if (human_seats() > 1) hand_revealed = 0;
    show_new_game();
    return true;
}

static void announce_pass(int64_t seat) {
    char letters[notice_capacity];
    FixedText text{letters, notice_capacity, 0, 0};
    show_notice(seat_sentence(seat, str(" cannot move and passes"), &text));
}

static void change_pace() {
    int32_t step = (key_pressed(KEY_MINUS) ? 1 : 0) - (key_pressed(KEY_EQUALS) ? 1 : 0);
    if (step == 0) return;
    pace_level = clamp(pace_level + step, 0, slowest_pace_level);
    char letters[notice_capacity];
    FixedText text{letters, notice_capacity, 0, 0};
    fixed_put_string(&text, str("The computers pause "));
    fixed_put_double(&text, computer_pause * (1 << pace_level));
    fixed_put_string(&text, str(" s before each move"));
    show_notice(fixed_view(&text));
}

void update_play() {
    human_count = human_seats();
    if (human_count == 0) change_pace();
    if (move_delay > 0) {
        move_delay -= frame_time;
        if (move_delay <= 0) end_turn();
        return;
    }
    recycle_stack();
    bool moved = false;
    SeatAction settled = settle_stuck_seat();
    if (settled == seat_passed) announce_pass(current_player);
    if (!settled && !game_over()) {
        if (human_may_choose()) {
            moved = make_selected_move();
        } else {
            drop_selection();
        }
    }
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

    if (moved || !current_seat_is_computer()) return;
    if (computer_delay > 0) {
        computer_delay -= frame_time / (human_count == 0 ? static_cast<double>(1 << pace_level) : 1.0);
        return;
    }
    int64_t seat = current_player;
    if (computer_act() == seat_passed) announce_pass(seat);
    start_stone_animation();
}
