// The expert's choice on a state machine with three or more seats, on small maps: every other
// seat is taken to play as it does, a computer seat of the three strengths by its own rule
// (the nimbers), a human or another expert for its own win (a move the exact analysis calls
// won, else one it calls drawn, else any, each alike). The expert then takes the move with the
// highest chance of winning against them, found over every position and seat to move.
#pragma once

#include "model/computer_players.h"

// Positions times seats the model is worked out for at most; larger maps use the analysis alone.
constexpr int64_t max_seat_model_entries = 65536;

// Works the model out for the current seat unless that is done; false with fewer than three
// seats, or when the map is past the analysis bound or too large for the model.
bool prepare_seat_model();
// After prepare_seat_model: the chance that the current seat wins after moving to this position
// (sorted stone states) that does not end the game.
double seat_model_chance(const int16_t* sorted_states_after);
