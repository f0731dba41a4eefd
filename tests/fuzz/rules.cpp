// The rule language on any text. The one-card evaluation and the all-cards evaluation are two
// separate ways to the same answer: for every card and every top card (or none), the card must
// be accepted exactly when it is in the set, and the set holds nothing outside the 216 cards.
// Against the stack's own top card, rule_accepts must agree with both.
#include "fuzz_support.h"

#include "base/arena.h"
#include "model/game_data.h"
#include "model/rules.h"

namespace {

void check_against_top(string rule, bool has_top, Card top) {
    CardSet accepted = rule_accepted_cards(rule, has_top, top);
    stack.count = 0;
    if (has_top) array_push(&stack, top);
    int64_t count = 0;
    for (int64_t kind = 0; kind < card_kind_count; kind++) {
        Card card{static_cast<uint8_t>(kind / 36), static_cast<uint8_t>(kind / 6 % 6), static_cast<int8_t>(kind % 6 + 1)};
        FUZZ_CHECK(card_in_range(card) && card_kind(card) == kind);
        bool one = rule_accepts_with_top(rule, card, has_top, top);
        FUZZ_CHECK(one == card_set_has(accepted, kind));
        count += one ? 1 : 0;
        if (has_top) FUZZ_CHECK(rule_accepts(rule, card) == one);
    }
    FUZZ_CHECK(card_set_size(accepted) == count);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    create_arenas(int64_t{1} << 20, int64_t{16} << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    arena_empty(PERSISTENT_ARENA);
    arena_empty(FRAME_ARENA);
    reset_game();
    stack.arena_id = PERSISTENT_ARENA;
    string rule{reinterpret_cast<const char*>(data), static_cast<int64_t>(size)};
    // No top card, and a top card from the text's own bytes.
    Card from_text{0, 0, 1};
    if (size >= 3) from_text = Card{static_cast<uint8_t>(data[0] % 6), static_cast<uint8_t>(data[1] % 6), static_cast<int8_t>(data[2] % 6 + 1)};
    check_against_top(rule, false, Card{0, 0, 1});
    check_against_top(rule, true, from_text);
    // Cards outside the range, as a damaged game state could hold them, must not crash either way.
    Card outside{7, 200, -1};
    rule_accepts_with_top(rule, outside, true, outside);
    rule_accepted_cards(rule, true, outside);
    FUZZ_CHECK(frame_arena.used == 0);
    return 0;
}
