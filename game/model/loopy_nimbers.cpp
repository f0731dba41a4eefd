#include "model/loopy_nimbers.h"

namespace {

constexpr int16_t unlabelled = -1;
constexpr int64_t value_words = 4;

bool has_bit(const uint64_t* words, int64_t bit) { return (words[bit >> 6] >> (bit & 63)) & 1; }

}  // namespace

// Label 0, 1, 2, ... in turn. A state gets label i when no follower has it yet and every
// follower still open (unlabelled or infinite) can itself move to a state labelled i; once
// nothing more gets i, the open states without a follower labelled i are infinite for good.
LoopyNimbers compute_loopy_nimbers(const bool* transition_used) {
    int64_t n = states.count;
    int64_t* first = arena_push_array<int64_t>(FRAME_ARENA, n + 1);
    int16_t* targets = arena_push_array<int16_t>(FRAME_ARENA, transitions.count + 1);
    for (int64_t s = 0; s <= n; s++) first[s] = 0;
    for (int64_t t = 0; t < transitions.count; t++) first[transitions.data[t].from + 1] += transition_used[t] ? 1 : 0;
    for (int64_t s = 0; s < n; s++) first[s + 1] += first[s];
    int64_t* fill = arena_push_array<int64_t>(FRAME_ARENA, n);
    for (int64_t s = 0; s < n; s++) fill[s] = first[s];
    for (int64_t t = 0; t < transitions.count; t++) {
        if (transition_used[t]) targets[fill[transitions.data[t].from]++] = transitions.data[t].to;
    }

    LoopyNimbers result{arena_push_array<int16_t>(FRAME_ARENA, n), arena_push_array<int32_t>(FRAME_ARENA, n),
                        arena_push_array<uint64_t>(FRAME_ARENA, n * value_words)};
    for (int64_t s = 0; s < n; s++) result.values[s] = unlabelled;
    int32_t fixed = 0;
    int64_t open = n;
    for (int16_t label = 0; open > 0; label++) {
        auto reaches_label = [&](int64_t s) {
            for (int64_t k = first[s]; k < first[s + 1]; k++) {
                if (result.values[targets[k]] == label) return true;
            }
            return false;
        };
        for (bool changed = true; changed;) {
            changed = false;
            for (int64_t s = 0; s < n; s++) {
                if (result.values[s] != unlabelled || reaches_label(s)) continue;
                bool eligible = true;
                for (int64_t k = first[s]; k < first[s + 1] && eligible; k++) {
                    int16_t follower = targets[k];
                    bool follower_open = result.values[follower] == unlabelled || result.values[follower] == infinite_nimber;
                    if (follower_open && !reaches_label(follower)) eligible = false;
                }
                if (!eligible) continue;
                result.values[s] = label;
                result.order[s] = fixed++;
                open--;
                changed = true;
            }
        }
        for (int64_t s = 0; s < n; s++) {
            if (result.values[s] != unlabelled || reaches_label(s)) continue;
            result.values[s] = infinite_nimber;
            open--;
        }
    }
    for (int64_t s = 0; s < n; s++) {
        uint64_t* words = result.follower_values + s * value_words;
        for (int64_t w = 0; w < value_words; w++) words[w] = 0;
        for (int64_t k = first[s]; k < first[s + 1]; k++) {
            int16_t value = result.values[targets[k]];
            if (value >= 0) words[value >> 6] |= uint64_t{1} << (value & 63);
        }
    }
    return result;
}

uint8_t loopy_sum_outcome(const LoopyNimbers& values, const int16_t* stone_states, int64_t count) {
    int64_t finite_sum = 0, infinite_parts = 0, infinite_state = -1;
    for (int64_t i = 0; i < count; i++) {
        int16_t value = values.values[stone_states[i]];
        if (value == infinite_nimber) {
            infinite_parts++;
            infinite_state = stone_states[i];
        } else {
            finite_sum ^= value;
        }
    }
    if (infinite_parts == 0) return finite_sum == 0 ? sum_lost : sum_won;
    if (infinite_parts > 1) return sum_drawn;
    return has_bit(values.follower_values + infinite_state * value_words, finite_sum) ? sum_won : sum_drawn;
}
