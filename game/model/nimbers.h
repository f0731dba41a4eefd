// Sprague-Grundy values of the states of a state machine.
#pragma once

#include <cstdint>

constexpr int64_t max_nimber_examinations = 1048576;

// Fills `nimbers` afresh for the loaded map. On a map where an unvalued state can reach
// itself, prints "failed to calculate nimbers!" and leaves the states it could not value at 255.
// Returns how many examinations it made.
int64_t compute_nimbers();
