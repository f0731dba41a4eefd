// Whether a seat has any move it could make now: the referee's end of a blocked game and the
// turn flow's stuck seats both ask.
#pragma once

#include "model/game_data.h"

bool seat_can_move(int64_t seat);
bool any_seat_can_move();
