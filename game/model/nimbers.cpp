#include "model/nimbers.h"

#include "base/text_format.h"
#include "model/game_data.h"

constexpr int mex_size = 128;

int64_t compute_nimbers() {
    int64_t state_count = states.count;
    nimbers = GrowableArray<uint8_t>{arena_push_array<uint8_t>(PERSISTENT_ARENA, state_count), state_count,
                                     state_count, PERSISTENT_ARENA};
    if (state_count > 0) memset(nimbers.data, unknown_nimber, static_cast<size_t>(state_count));

    // Outgoing transitions grouped by source state, each group in transition order, so an
    // examination looks only at its own state's transitions.
    ArenaMark frame_mark = arena_mark(FRAME_ARENA);
    int64_t* first = arena_push_array<int64_t>(FRAME_ARENA, state_count + 1);
    int16_t* targets = arena_push_array<int16_t>(FRAME_ARENA, transitions.count);
    for (int64_t s = 0; s <= state_count; s++) first[s] = 0;
    for (int64_t i = 0; i < transitions.count; i++) first[transitions.data[i].from + 1]++;
    for (int64_t s = 0; s < state_count; s++) first[s + 1] += first[s];
    int64_t* fill = arena_push_array<int64_t>(FRAME_ARENA, state_count + 1);
    for (int64_t s = 0; s <= state_count; s++) fill[s] = first[s];
    for (int64_t i = 0; i < transitions.count; i++) targets[fill[transitions.data[i].from]++] = transitions.data[i].to;

    GrowableArray<int16_t> work{nullptr, 0, 0, FRAME_ARENA};
    for (int64_t s = 0; s < state_count; s++) array_push(&work, static_cast<int16_t>(s));

    int64_t examinations = 0;
    bool marked[mex_size];
    while (work.count > 0 && examinations < max_nimber_examinations) {
        examinations++;
        int16_t s = work.data[work.count - 1];
        if (nimbers.data[s] != unknown_nimber) {
            work.count--;
            continue;
        }
        memset(marked, 0, sizeof marked);
        bool pending = false;
        for (int64_t k = first[s]; k < first[s + 1]; k++) {
            int16_t to = targets[k];
            uint8_t value = nimbers.data[to];
            if (value == unknown_nimber) {
                array_push(&work, to);
                pending = true;
            } else if (value < mex_size) {
                marked[value] = true;
            }
        }
        // Without a cycle every state waits for its successors at most once, so the stack never
        // holds more than every state plus every transition; past that it would only grow.
        if (work.count > state_count + transitions.count) break;
        if (pending) continue;
        uint8_t value = 0;
        while (value < mex_size && marked[value]) value++;
        nimbers.data[s] = value < mex_size ? value : 0;
        work.count--;
    }
    if (work.count > 0) print(str("failed to calculate nimbers!\n"));
    arena_reset_to(frame_mark);
    return examinations;
}
