// The fourth computer strength, "expert". On a state machine it plays from the exact values of
// the positions (position_analysis), or from loopy nimbers when there are too many positions.
// On pushdown and Turing machines it sees only what its seat may see (its own hand and goal,
// the stack, the tape, the map, how many cards each other seat holds) and chooses by playing
// sampled games forward with the referee; in two-seat Turing games an exact look-ahead
// (expert_turing_lookahead) first keeps only the moves it rates best.
//
// With three or more seats the state-machine analysis takes every seat as playing for its own
// win (max-n, position_analysis); past the position bound it plays the loopy nimbers as if the
// next seat were its only opponent, never handing that seat a win at once. The playouts and the
// Turing look-ahead play every seat.
#pragma once

#include "model/computer_players.h"

// False when no stone can move.
bool choose_expert_state_machine_move(Move* move);
// For the current seat; false when it makes no move (it then draws, or its turn ends).
bool choose_expert_pushdown_move(Move* move);
// For the current seat; an empty rule means that it makes no move.
Move choose_expert_turing_move();

// What the expert would do for the current seat, without touching the game's random numbers.
// False when it would make no move.
bool expert_hint(Move* move);
