// Goals as a map file can give them (any kind, comparison, amount and card values) against a
// tape of any cards. The description must stay in its buffer and end with the amount; the
// measured value must lie within what the tape can hold, and whether the goal is met must
// follow from the value and the comparison.
#include "fuzz_support.h"

#include "base/arena.h"
#include "model/game_data.h"
#include "model/goals.h"

#include <cstring>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    create_arenas(int64_t{1} << 20, int64_t{1} << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Kind, comparison, amount, six card values, tape length, four deck sizes; then the tape.
    constexpr size_t header = 1 + 1 + 8 + 6 + 1 + 4;
    if (size < header) return -1;
    arena_empty(PERSISTENT_ARENA);
    reset_map();
    reset_game();
    Goal goal{};
    goal.kind = data[0];
    goal.comparison = data[1];
    memcpy(&goal.amount, data + 2, 8);
    uint8_t* values[6] = {&goal.color_a, &goal.shape_a, &goal.number_a, &goal.color_b, &goal.shape_b, &goal.number_b};
    for (int i = 0; i < 6; i++) *values[i] = data[10 + i];
    tape_length = static_cast<int8_t>(data[16]);
    int64_t* deck_fields[4] = {&deck_copies, &deck_colors, &deck_shapes, &deck_numbers};
    for (int i = 0; i < 4; i++) *deck_fields[i] = static_cast<int8_t>(data[17 + i]);
    tape = {};
    tape.arena_id = PERSISTENT_ARENA;
    for (size_t at = header; at + 3 <= size; at += 3) {
        array_push(&tape, Card{data[at], data[at + 1], static_cast<int8_t>(data[at + 2])});
    }

    string text = goal_text(goal);
    FUZZ_CHECK(text.length >= 0 && text.length <= goal_text_capacity);
    std::string amount = std::to_string(goal.amount);
    std::string written = fuzz_text(text);
    FUZZ_CHECK(written.size() >= amount.size() && written.compare(written.size() - amount.size(), amount.size(), amount) == 0);

    int64_t cells = tape_length < tape.count ? tape_length : tape.count;
    if (cells < 0) cells = 0;
    int64_t value = goal_value(goal);
    if (goal.kind == sum) {
        FUZZ_CHECK(value >= -128 * cells && value <= 127 * cells);
    } else if (goal.kind == distinct_colors || goal.kind == distinct_shapes || goal.kind == distinct_numbers) {
        FUZZ_CHECK(value >= 0 && value <= card_property_count && value <= cells);
    } else {
        FUZZ_CHECK(value >= 0 && value <= cells);
    }
    bool met = goal_met(goal);
    switch (goal.comparison) {
        case exactly: FUZZ_CHECK(met == (value == goal.amount)); break;
        case at_most: FUZZ_CHECK(met == (value <= goal.amount)); break;
        case at_least: FUZZ_CHECK(met == (value >= goal.amount)); break;
        default: FUZZ_CHECK(!met); break;
    }
    return 0;
}
