// How a turn goes on when a seat has no ordinary move, and what a computer seat does once
// its pause is over. The play-mode update calls these; tests drive whole games with them.
#pragma once

#include "model/game_data.h"

// What a seat did when its turn came to act.
enum SeatAction : uint8_t {
    seat_waited = 0,
    seat_moved = 1,
    seat_drew = 2,
    // The turn goes on to the next seat without a move.
    seat_passed = 3,
    // The seat could not move and so lost the game.
    seat_lost = 4
};

// For the current seat, when no move is pending and the game is not over:
// - state machine, no stone can move: normal play, the seat that moved last wins (before
//   any move, the seat before the current one);
// - Turing machine, a human seat with no transition to take: the turn passes;
// - pushdown machine, a human seat with no playable card and nothing left to draw: the turn passes.
// Returns seat_waited (false) when the seat has an ordinary move to make.
SeatAction settle_stuck_seat();

// One action of the current computer seat: a move, a card drawn (then it chooses again
// after a short pause), or the end of its turn without a move.
SeatAction computer_act();

// A computer-only game with every pause skipped, as tools and benchmarks play it: ends a turn
// whose pause is running, recycles the stack and settles a stuck seat. True when the current
// computer seat is to act now (computer_act).
bool skip_to_computer_action();
