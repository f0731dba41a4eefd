// Where the current turn stands: the human's selection, the pauses, the last stone moved,
// and how the game ends when nobody can move. The screen reads and sets these; the referee
// clears them at every change of turn.
#pragma once

#include "model/game_data.h"

#include <cstdint>

extern int16_t source_state;
extern int16_t target_state;
extern int16_t selected_transition;
extern int64_t selected_card;
extern uint8_t hand_revealed;
extern uint8_t card_drawn;
extern double move_delay;
extern double computer_delay;
extern int64_t human_count;

// The stone the last move took and the state it left; `fresh` stays set until the screen has
// started animating it.
struct MovedStone {
    int16_t stone;
    int16_t from_state;
    uint8_t fresh;
};
extern MovedStone last_moved_stone;

// The move made last in this game, shown until the next one: its transition, the seat that made
// it, and the tape cell it wrote (-1 when it wrote none).
struct LastMove {
    int16_t transition;
    uint8_t seat;
    int64_t written_cell;
};
extern LastMove last_move;

// Set when a game ends without a winner because no seat can ever move again.
extern uint8_t game_blocked;
// The seat whose turn it was when it could not move and so lost the game; no_winner otherwise.
extern uint8_t stuck_seat;
// Set when a game ends in a draw: a position came round a third time, or the turn limit ran out.
extern uint8_t game_drawn;
// Turns ended since the game started.
extern int64_t turns_played;
// The seat that made the last move of this game, no_winner before the first.
extern uint8_t last_mover;
// Turns ended in a row in which no stone moved and no card came from the deck.
extern int64_t idle_turns;
extern uint8_t moved_this_turn;
extern uint8_t deck_card_drawn_this_turn;

// Every timer and animation advances by this fixed step once per frame.
constexpr double frame_time = 1.0 / 60.0;

constexpr double move_pause = 0.5;
constexpr double computer_pause = 0.4;
constexpr double computer_draw_pause = 0.25;

// Every turn variable back to its start value.
void reset_turn_state();

inline bool game_over() { return winner != no_winner || game_blocked || game_drawn; }

// Clicks choose a move only while the seat to move is a human whose hand is shown and no move's
// pause runs; anything chosen at another time belongs to nobody and is dropped.
bool human_may_choose();

// Every turn variable at once, so a look-ahead can play on and put the turn back as it was.
struct TurnStateSnapshot {
    int16_t source_state, target_state, selected_transition;
    int64_t selected_card;
    uint8_t hand_revealed, card_drawn;
    double move_delay, computer_delay;
    int64_t human_count;
    MovedStone last_moved_stone;
    LastMove last_move;
    uint8_t game_blocked, stuck_seat, game_drawn, last_mover;
    int64_t idle_turns, turns_played;
    uint8_t moved_this_turn, deck_card_drawn_this_turn;
};

TurnStateSnapshot save_turn_state();
void restore_turn_state(const TurnStateSnapshot& snapshot);
