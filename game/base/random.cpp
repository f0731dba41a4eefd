#include "base/random.h"

RandomState random_state;

static uint64_t rotate_left(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

static uint64_t splitmix_mix(uint64_t z) {
    z ^= z >> 30;
    z *= 0xbf58476d1ce4e5b9ull;
    z ^= z >> 27;
    z *= 0x94d049bb133111ebull;
    z ^= z >> 31;
    return z;
}

void seed_random(uint64_t seed) {
    for (uint64_t k = 1; k <= 4; k++) random_state.s[k - 1] = splitmix_mix(seed + k * 0x9e3779b97f4a7c15ull);
}

uint64_t random_u64() {
    uint64_t* s = random_state.s;
    uint64_t result = rotate_left(s[1] * 5, 7) * 9;
    uint64_t t = s[1] << 17;
    s[2] ^= s[0];
    s[3] ^= s[1];
    s[1] ^= s[2];
    s[0] ^= s[3];
    s[2] ^= t;
    s[3] = rotate_left(s[3], 45);
    return result;
}

uint64_t random_below(uint64_t n) {
    if (n == 0) return 0;
    for (;;) {
        uint64_t r = random_u64();
        uint64_t m = r % n;
        if (r - m <= 0ull - n) return m;
    }
}
