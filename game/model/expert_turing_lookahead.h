// An exact look-ahead for Turing games. The tape, the stones and the map are in plain sight, so
// only the other seats' goals are hidden: the search weighs each goal another seat may hold by
// its chance (goal_belief) and drops a goal's weight along every line in which that seat would
// have won with it; the seats' goals are taken as independent. Every other seat is taken to move
// as the other strengths do on a Turing machine: any of its moves alike.
#pragma once

#include "model/computer_players.h"

// Keeps only the candidates of the seat to move that the deepest look-ahead finished within
// its budget rates best (all of them when it finds no win ahead).
void keep_best_turing_moves(GrowableArray<Move>* moves);
