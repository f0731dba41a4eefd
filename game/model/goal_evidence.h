// What the table can tell about a Turing seat's hidden goal. A tape is dealt again while it
// meets a goal a seat holds, and a seat that ends its turn with its goal met, where the stones
// allow a win, has won; so a goal met on the opening tape, or on the tape as a seat ended a turn
// it did not win, is unlikely or impossible for that seat. Only the first 64 goals of a map are
// tracked; later ones keep their even chance.
#pragma once

#include "model/game_data.h"

#include <cstdint>

struct GoalEvidence {
    // Bit g: goal g is met on the tape as dealt.
    uint64_t met_on_opening_tape;
    // Bit g of entry s: goal g was met, with the stones allowing a win, when seat s ended a turn.
    uint64_t met_at_turn_end[card_property_count];
};

extern GoalEvidence goal_evidence;

// Called by start_game once the tape is dealt for good.
void start_goal_evidence();
// Called by end_turn for the seat whose turn passes without a win.
void note_goals_unmet(int64_t seat);

// The chance of each map goal (goals.count weights summing to 1) being `seat`'s, for a seat that
// holds `own_goal` and has seen the game so far. Leaves the game's random numbers as they were.
void goal_belief(int64_t seat, Goal own_goal, double* weights);
