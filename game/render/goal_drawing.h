// A Turing player's goal as text with card symbols.
#pragma once

#include "model/game_data.h"

// Centred at (x, y) in screen pixels, white, scale 256.
void draw_goal_text(Goal goal, double x, double y);
// The goal with the tape's standing against it, centred at (x, y), in the colour and scale given.
void draw_goal_progress(Goal goal, double x, double y, double scale, const Color& color);
