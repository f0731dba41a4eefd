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
#include "model/position_analysis.h"

// False when no stone can move.
bool choose_expert_state_machine_move(Move* move);
// For the current seat; false when it makes no move (it then draws, or its turn ends).
bool choose_expert_pushdown_move(Move* move);
// For the current seat; an empty rule means that it makes no move.
Move choose_expert_turing_move();

// What the expert would do for the current seat, without touching the game's random numbers.
// False when it would make no move.
bool expert_hint(Move* move);

// A move of the current seat as the expert rates it: on a state machine its exact value for the
// mover (outcome, and plies to the end with this move counted), with three or more seats on a
// small map also its chance of winning against the seats as they play (else share is -1);
// elsewhere the estimated share of games it wins, from the expert's playouts over what the seat
// may see.
struct RatedMove {
    Move move;
    uint8_t outcome;
    uint32_t plies;
    double share;
    // The move the expert would make.
    bool best;
};

// Every distinct move of the current seat, rated, in the frame arena; empty on a state machine
// past the analysis bound. Leaves the game's random numbers alone.
GrowableArray<RatedMove> expert_move_values();
// The state-machine part of expert_move_values.
GrowableArray<RatedMove> exact_move_values();
