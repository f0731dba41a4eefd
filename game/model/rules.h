// Card rules: which hand card a pushdown transition lets a player play onto the stack.
#pragma once

#include "model/game_data.h"

#include <cstdint>

constexpr int64_t rule_scratch_size = 1024;
extern char rule_scratch[rule_scratch_size];

// Against the current top card of the stack.
bool rule_accepts(string rule, Card card);
// Against the given top card, or against an empty stack.
bool rule_accepts_with_top(string rule, Card card, bool stack_has_top, Card top);

// Where the rule stops reading as one: the index of its first byte that cannot be read, its length
// when it ends before it is complete, -1 when the whole text reads as a rule.
int64_t card_rule_fault(string rule);

// Every card with colour and shape 0 to 5 and number 1 to 6, one bit each.
constexpr int64_t card_kind_count = card_property_count * card_property_count * card_property_count;

struct CardSet {
    uint64_t words[4];
};

inline bool card_in_range(Card card) {
    return card.color < card_property_count && card.shape < card_property_count && card.number >= 1 &&
           card.number <= card_property_count;
}

inline int64_t card_kind(Card card) {
    return (card.color * card_property_count + card.shape) * card_property_count + (card.number - 1);
}

inline bool card_set_has(const CardSet& set, int64_t kind) { return (set.words[kind >> 6] >> (kind & 63)) & 1; }

int64_t card_set_size(const CardSet& set);

inline CardSet card_set_intersection(const CardSet& a, const CardSet& b) {
    return {{a.words[0] & b.words[0], a.words[1] & b.words[1], a.words[2] & b.words[2], a.words[3] & b.words[3]}};
}

// The cards rule_accepts takes for this rule when the stack's top is `top`
// (or when the stack is empty), all of them in one evaluation.
CardSet rule_accepted_cards(string rule, bool stack_has_top, Card top);
