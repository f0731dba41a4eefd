#include "model/turn_state.h"

int16_t source_state;
int16_t target_state;
int16_t selected_transition;
int64_t selected_card;
uint8_t hand_revealed;
uint8_t card_drawn;
double move_delay;
double computer_delay;
int64_t human_count;
TurnProgress turn_progress;

bool human_may_choose() {
    if (game_over() || move_delay > 0 || !hand_revealed) return false;
    return current_player >= 0 && current_player < players.count && !players.data[current_player].is_computer;
}

void reset_turn_state() {
    source_state = -1;
    target_state = -1;
    selected_transition = -1;
    selected_card = -1;
    hand_revealed = 0;
    card_drawn = 0;
    move_delay = 0;
    computer_delay = 0;
    human_count = 0;
    turn_progress = {};
}

TurnStateSnapshot save_turn_state() {
    return TurnStateSnapshot{source_state, target_state, selected_transition, selected_card, hand_revealed,
                             card_drawn,   move_delay,   computer_delay,      human_count,   turn_progress};
}

void restore_turn_state(const TurnStateSnapshot& snapshot) {
    source_state = snapshot.source_state;
    target_state = snapshot.target_state;
    selected_transition = snapshot.selected_transition;
    selected_card = snapshot.selected_card;
    hand_revealed = snapshot.hand_revealed;
    card_drawn = snapshot.card_drawn;
    move_delay = snapshot.move_delay;
    computer_delay = snapshot.computer_delay;
    human_count = snapshot.human_count;
    turn_progress = snapshot.progress;
}
