#include "model/stone_multiset.h"

void sort_stone_states(int16_t* stone_states, int64_t count) {
    for (int64_t i = 1; i < count; i++) {
        int16_t value = stone_states[i];
        int64_t j = i;
        for (; j > 0 && stone_states[j - 1] > value; j--) stone_states[j] = stone_states[j - 1];
        stone_states[j] = value;
    }
}

uint64_t hash_stone_states(const int16_t* sorted_states, int64_t count) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (int64_t i = 0; i < count; i++) {
        hash ^= static_cast<uint16_t>(sorted_states[i]);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

void move_in_multiset(int16_t* sorted_states, int64_t count, int16_t from, int16_t to) {
    int64_t at = 0;
    while (at < count && sorted_states[at] != from) at++;
    if (at == count) return;
    // Slide the moved stone left or right until the order holds again.
    while (at > 0 && sorted_states[at - 1] > to) {
        sorted_states[at] = sorted_states[at - 1];
        at--;
    }
    while (at + 1 < count && sorted_states[at + 1] < to) {
        sorted_states[at] = sorted_states[at + 1];
        at++;
    }
    sorted_states[at] = to;
}
