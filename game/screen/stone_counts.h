// A state holding two or more stones shows how many: stacked pawns read as one taller pawn.
#pragma once

#include "render/matrix.h"

#include <cstdint>

// The stones standing on the state; with leave_out_moving, not the one still moving towards it.
int64_t stones_shown_on(int16_t state, bool leave_out_moving);

// A badge with the count at the lower right of every state with two or more stones, drawn after them.
void draw_stone_counts(const Matrix& view, bool leave_out_moving);
