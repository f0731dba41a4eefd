// Turing players' goals: a sum or a count measured over the tape, compared with an amount.
#pragma once

#include "base/text_format.h"
#include "model/game_data.h"

int64_t goal_value(Goal goal);
bool goal_met(Goal goal);
bool same_goal(const Goal& a, const Goal& b);

constexpr int64_t goal_text_capacity = 64;

// The goal's description for text drawn with card symbols, with "%" before letters that must print
// as plain letters rather than card symbols. Valid until the next call.
string goal_text(Goal goal);
// The same with where the tape stands against it: "sum 22, at least 24", "num 6: 1, at least 3".
// Valid until the next call.
string goal_progress_text(Goal goal);
