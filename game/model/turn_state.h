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

// The move made last in this game, shown until the next one: the stone it took and the state that
// stone left, its transition, the seat that made it, the tape cell it wrote (-1 when it wrote none),
// and its number among the game's moves (0 before the first), by which a screen tells a new move.
struct LastMove {
    int16_t stone = -1;
    int16_t from_state = -1;
    int16_t transition = -1;
    uint8_t seat = no_winner;
    int64_t written_cell = -1;
    int64_t number = 0;
};

// How the game has gone so far, beyond the selection and the pauses; `= {}` starts it afresh.
struct TurnProgress {
    LastMove last_move;
    // Set when a game ends without a winner because no seat can ever move again.
    uint8_t game_blocked = 0;
    // The seat whose turn it was when it could not move and so lost the game; no_winner otherwise.
    uint8_t stuck_seat = no_winner;
    // Set when a game ends in a draw: a position came round a third time, or the turn limit ran out.
    uint8_t game_drawn = 0;
    // The seat that made the last move of this game, no_winner before the first.
    uint8_t last_mover = no_winner;
    // Turns ended since the game started.
    int64_t turns_played = 0;
    // Turns ended in a row in which no stone moved and no card came from the deck.
    int64_t idle_turns = 0;
    uint8_t moved_this_turn = 0;
    uint8_t deck_card_drawn_this_turn = 0;
};
extern TurnProgress turn_progress;

// The record's fields under their own names, as the referee and the screens use them.
inline LastMove& last_move = turn_progress.last_move;
inline uint8_t& game_blocked = turn_progress.game_blocked;
inline uint8_t& stuck_seat = turn_progress.stuck_seat;
inline uint8_t& game_drawn = turn_progress.game_drawn;
inline uint8_t& last_mover = turn_progress.last_mover;
inline int64_t& turns_played = turn_progress.turns_played;
inline int64_t& idle_turns = turn_progress.idle_turns;
inline uint8_t& moved_this_turn = turn_progress.moved_this_turn;
inline uint8_t& deck_card_drawn_this_turn = turn_progress.deck_card_drawn_this_turn;

// Every timer and animation advances by this fixed step once per frame.
constexpr double frame_time = 1.0 / 60.0;

constexpr double move_pause = 0.5;
constexpr double computer_pause = 0.4;
constexpr double computer_draw_pause = 0.25;

// Every turn variable back to its start value.
void reset_turn_state();

inline bool game_over() { return winner != no_winner || game_blocked || game_drawn; }

// Clicks choose a move only while the seat to move is a human at this screen whose hand is shown and no move's
// pause runs; anything chosen at another time belongs to nobody and is dropped.
bool human_may_choose();
