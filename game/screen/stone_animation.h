// The stone drawn moving after a move, and how many stones each state shows stacked on it.
#pragma once

#include "model/game_data.h"

#include <cstdint>

extern int16_t moving_stone;
extern float moving_stone_position[2];
extern float moving_stone_velocity[2];
// Per state, the stones drawn on it so far this frame (the whole frame's count once drawing ends).
extern uint8_t state_lift[max_states];

// A stone on the state is drawn here: the state's centre raised 8 world units per stone below it.
void stone_position(int16_t state, float* x, float* y);

// The number of the last move animated, so that each move starts its animation once.
extern int64_t animated_move_number;

// Starts animating the model's last move, from where its stone was last drawn; once per move.
void start_stone_animation();

// One frame of the spring that pulls the moving stone onto its state's centre.
void animate_moving_stone(double frame_seconds);

void reset_stone_animation();
