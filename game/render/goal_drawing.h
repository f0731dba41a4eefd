// A Turing player's goal as text with card symbols.
#pragma once

#include "model/game_data.h"

// Centred at (x, y) in screen pixels, white, scale 256.
void draw_goal_text(Goal goal, double x, double y);
