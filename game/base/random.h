// The game's one random generator: xoshiro256** seeded by SplitMix64.
#pragma once

#include <cstdint>

struct RandomState {
    uint64_t s[4];
};

extern RandomState random_state;

void seed_random(uint64_t seed);
uint64_t random_u64();
// Uniform in 0 to n-1; n must be at least 1.
uint64_t random_below(uint64_t n);
