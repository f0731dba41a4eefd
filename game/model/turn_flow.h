// How a turn goes on when a seat has no ordinary move, and what a computer seat does once
// its pause is over. The play-mode update calls these; tests drive whole games with them.
#pragma once

#include "model/game_data.h"

// For the current seat, when no move is pending and the game is not over:
// - state machine, no stone can move: normal play, the seat that moved last wins (before
//   any move, the seat before the current one);
// - Turing machine, a human seat with no transition to take: the turn passes;
// - pushdown machine, a human seat with no playable card and nothing left to draw: the turn passes.
// Returns true when it acted.
bool settle_stuck_seat();

// One action of the current computer seat: a move, a card drawn (then it chooses again
// after a short pause), or the end of its turn.
void computer_act();

// A computer-only game with every pause skipped, as tools and benchmarks play it: ends a turn
// whose pause is running, recycles the stack and settles a stuck seat. True when the current
// computer seat is to act now (computer_act).
bool skip_to_computer_action();
