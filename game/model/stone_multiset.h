// A position of a state machine as a multiset: the states of its stones in ascending order.
// Stones on one state are interchangeable, so which stone stands where does not matter.
#pragma once

#include <cstdint>

void sort_stone_states(int16_t* stone_states, int64_t count);
uint64_t hash_stone_states(const int16_t* sorted_states, int64_t count);
// Moves one stone of a sorted multiset from one state to another and keeps it sorted.
void move_in_multiset(int16_t* sorted_states, int64_t count, int16_t from, int16_t to);
