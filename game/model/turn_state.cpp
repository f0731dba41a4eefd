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
    if (current_player < 0 || current_player >= players.count) return false;
    const Player& seat = players.data[current_player];
    return !seat.is_computer && !seat.is_remote;
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
