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
MovedStone last_moved_stone;
LastMove last_move;

uint8_t game_blocked;
uint8_t stuck_seat;
uint8_t game_drawn;
int64_t turns_played;
uint8_t last_mover;
int64_t idle_turns;
uint8_t moved_this_turn;
uint8_t deck_card_drawn_this_turn;

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
    last_moved_stone = MovedStone{-1, -1, 0};
    last_move = LastMove{-1, no_winner, -1};
    game_blocked = 0;
    stuck_seat = no_winner;
    game_drawn = 0;
    turns_played = 0;
    last_mover = no_winner;
    idle_turns = 0;
    moved_this_turn = 0;
    deck_card_drawn_this_turn = 0;
}

TurnStateSnapshot save_turn_state() {
    return TurnStateSnapshot{source_state,     target_state,     selected_transition,
                             selected_card,    hand_revealed,    card_drawn,
                             move_delay,       computer_delay,   human_count,
                             last_moved_stone, last_move,        game_blocked,     stuck_seat,
                             game_drawn,       last_mover,       idle_turns,
                             turns_played,     moved_this_turn,  deck_card_drawn_this_turn};
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
    last_moved_stone = snapshot.last_moved_stone;
    last_move = snapshot.last_move;
    game_blocked = snapshot.game_blocked;
    stuck_seat = snapshot.stuck_seat;
    game_drawn = snapshot.game_drawn;
    last_mover = snapshot.last_mover;
    idle_turns = snapshot.idle_turns;
    turns_played = snapshot.turns_played;
    moved_this_turn = snapshot.moved_this_turn;
    deck_card_drawn_this_turn = snapshot.deck_card_drawn_this_turn;
}
