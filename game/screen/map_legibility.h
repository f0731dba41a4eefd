// Whether a map reads the way it plays: every rule text beside its own arrow and clear of the
// arrows, the other texts and the states, and no arrow across a state other than its two ends.
// The shipped maps keep to it; the editor names the first fault when a map is saved.
#pragma once

#include "base/strings.h"

#include <cstdint>

enum : uint8_t {
    arrow_crosses_state = 1,
    rule_covers_state = 2,
    rule_covers_rule = 3,
    rule_on_arrow = 4,
    rule_nearer_other_arrow = 5,
    rule_far_from_arrow = 6
};

struct LegibilityFault {
    uint8_t kind;
    int16_t transition;
    // The state or the other transition the fault is about.
    int16_t other;
};

// A rule text farther than this from its own arrow no longer reads as its label.
constexpr double rule_reach = 24;
// Every other arrow stands at least this much farther from a rule text than its own arrow does:
// a little less than the two arrows of a two-way pair stand apart.
constexpr double rule_clearance = 12;

// The faults of the current map in transition order, each transition's arrow before its rule; at
// most `capacity` of them. Returns how many were stored.
int64_t find_legibility_faults(LegibilityFault* faults, int64_t capacity);

// "The rule of 1 -> 0 stands nearer 0 -> 1" and the like, in the given arena.
string legibility_fault_text(const LegibilityFault& fault, uint8_t arena);
