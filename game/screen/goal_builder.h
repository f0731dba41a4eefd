// The dialog that builds a Turing map's goal row by row; the draft is kept between openings.
#pragma once

#include "model/game_data.h"

#include <cstdint>

extern uint8_t goal_builder_open;
extern Goal goal_draft;

// One step of an operand: colour and shape turn through the six letters, the number through 1 to 6.
void step_goal_operand(uint8_t* color, uint8_t* shape, uint8_t* number, int direction);

void goal_builder_frame();

void reset_goal_builder();
