#include "model/turn_state.h"

int16_t source_state = -1;
int16_t target_state = -1;
int16_t selected_transition = -1;
int64_t selected_card = -1;
uint8_t hand_revealed = 0;
uint8_t card_drawn = 0;
double move_delay = 0;
double computer_delay = 0;
int64_t human_count = 0;
int16_t moving_stone = -1;
float moving_stone_position[2] = {0, 0};
uint8_t state_lift[max_states] = {};

uint8_t game_blocked = 0;
uint8_t last_mover = no_winner;
int64_t idle_turns = 0;
uint8_t moved_this_turn = 0;
uint8_t deck_card_drawn_this_turn = 0;
