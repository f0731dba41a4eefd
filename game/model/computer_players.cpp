#include "model/computer_players.h"

#include "base/random.h"
#include "model/rules.h"

namespace {

const Move no_move{-1, -1, -1, string{nullptr, 0}};

Move pick(const GrowableArray<Move>& moves) { return moves.data[random_below(static_cast<uint64_t>(moves.count))]; }

int64_t nim_sum() {
    int64_t x = 0;
    for (int64_t i = 0; i < stones.count; i++) {
        int16_t state = stones.data[i];
        uint8_t value = state < nimbers.count ? nimbers.data[state] : unknown_nimber;
        x ^= static_cast<int64_t>(static_cast<int8_t>(value));
    }
    return x;
}

// Stones per state, for "does a stone stand on this state" after a tentative move.
void count_stones(int64_t* occupancy) {
    for (int64_t s = 0; s < max_states; s++) occupancy[s] = 0;
    for (int64_t i = 0; i < stones.count; i++) occupancy[stones.data[i]]++;
}

CardSet deck_cards() {
    CardSet set{};
    for (int64_t c = 0; c < used_deck_colors(); c++)
        for (int64_t s = 0; s < used_deck_shapes(); s++)
            for (int64_t n = 1; n <= used_deck_numbers(); n++) {
                int64_t kind = card_kind(Card{static_cast<uint8_t>(c), static_cast<uint8_t>(s), static_cast<int8_t>(n)});
                set.words[kind >> 6] |= uint64_t{1} << (kind & 63);
            }
    return set;
}

bool set_accepts(const CardSet& accepted, string rule, Card card, bool has_top, Card top) {
    if (card_in_range(card)) return card_set_has(accepted, card_kind(card));
    return rule_accepts_with_top(rule, card, has_top, top);
}

// Scores every candidate as if its card lay on the stack and its stone stood on its target:
// 16 x (pairs of transition and other hand card that could follow) - (kinds of deck card
// playable from the target). Candidates sharing a card kind share that top card, so the
// cards each rule accepts are worked out once per kind, for all cards at once.
void score_candidates(const GrowableArray<Card>& hand, const GrowableArray<Move>& candidates, int64_t* scores) {
    int64_t transition_count = transitions.count;
    CardSet* accepted = arena_push_array<CardSet>(FRAME_ARENA, transition_count);
    int64_t* followers = arena_push_array<int64_t>(FRAME_ARENA, transition_count);
    int64_t threat_from[max_states];
    int64_t occupancy[max_states];
    bool* scored = arena_push_array<bool>(FRAME_ARENA, candidates.count);
    for (int64_t i = 0; i < candidates.count; i++) scored[i] = false;
    count_stones(occupancy);
    CardSet deck_set = deck_cards();

    for (int64_t first = 0; first < candidates.count; first++) {
        if (scored[first]) continue;
        Card top = hand.data[candidates.data[first].card];
        for (int64_t u = 0; u < transition_count; u++) accepted[u] = rule_accepted_cards(transitions.data[u].rule, true, top);
        for (int64_t s = 0; s < max_states; s++) threat_from[s] = 0;
        for (int64_t u = 0; u < transition_count; u++) {
            const Transition& t = transitions.data[u];
            threat_from[t.from] += card_set_size(card_set_intersection(accepted[u], deck_set));
            int64_t count = 0;
            for (int64_t j = 0; j < hand.count; j++) count += set_accepts(accepted[u], t.rule, hand.data[j], true, top);
            followers[u] = count;
        }
        for (int64_t c = first; c < candidates.count; c++) {
            const Move& move = candidates.data[c];
            Card card = hand.data[move.card];
            if (scored[c] || card.color != top.color || card.shape != top.shape || card.number != top.number) continue;
            int16_t from = stones.data[move.stone];
            occupancy[from]--;
            occupancy[move.target]++;
            int64_t follow = 0;
            for (int64_t u = 0; u < transition_count; u++) {
                const Transition& t = transitions.data[u];
                if (occupancy[t.from] <= 0) continue;
                follow += followers[u] - (set_accepts(accepted[u], t.rule, card, true, top) ? 1 : 0);
            }
            occupancy[move.target]--;
            occupancy[from]++;
            scores[c] = 16 * follow - threat_from[move.target];
            scored[c] = true;
        }
    }
}

}  // namespace

bool choose_state_machine_move(int64_t difficulty, Move* move) {
    ArenaMark frame_mark = arena_mark(FRAME_ARENA);
    GrowableArray<Move> zero{nullptr, 0, 0, FRAME_ARENA};
    GrowableArray<Move> other{nullptr, 0, 0, FRAME_ARENA};
    for (int64_t i = 0; i < transitions.count; i++) {
        const Transition& t = transitions.data[i];
        int16_t stone = first_stone_on(t.from);
        if (stone < 0) continue;
        stones.data[stone] = t.to;
        int64_t x = nim_sum();
        stones.data[stone] = t.from;
        array_push(x == 0 ? &zero : &other, Move{-1, stone, t.to, t.rule});
    }
    bool found = zero.count + other.count > 0;
    *move = no_move;
    if (found) {
        switch (difficulty) {
            case easy: *move = pick(other.count > 0 ? other : zero); break;
            case normal: {
                uint64_t p = random_below(100);
                if (p <= 49 && other.count > 0) *move = pick(other);
                else *move = pick(zero.count > 0 ? zero : other);
                break;
            }
            case hard: *move = pick(zero.count > 0 ? zero : other); break;
            default: *move = Move{-1, 0, 0, string{nullptr, 0}}; break;
        }
    }
    arena_reset_to(frame_mark);
    return found;
}

bool choose_pushdown_move(const GrowableArray<Card>& hand, int64_t difficulty, Move* move) {
    ArenaMark frame_mark = arena_mark(FRAME_ARENA);
    *move = no_move;
    bool has_top = stack.count > 0;
    Card top = top_card(stack);
    GrowableArray<Move> candidates{nullptr, 0, 0, FRAME_ARENA};
    for (int64_t i = 0; i < transitions.count; i++) {
        const Transition& t = transitions.data[i];
        int16_t stone = first_stone_on(t.from);
        if (stone < 0) continue;
        CardSet accepted = rule_accepted_cards(t.rule, has_top, top);
        for (int64_t j = 0; j < hand.count; j++) {
            if (set_accepts(accepted, t.rule, hand.data[j], has_top, top)) {
                array_push(&candidates, Move{static_cast<int16_t>(j), stone, t.to, t.rule});
            }
        }
    }
    bool found = candidates.count > 0;
    if (found) {
        if (difficulty == easy) {
            found = random_below(100) >= 20;
            if (found) *move = pick(candidates);
        } else if (difficulty == normal) {
            *move = pick(candidates);
        } else {
            int64_t* scores = arena_push_array<int64_t>(FRAME_ARENA, candidates.count);
            score_candidates(hand, candidates, scores);
            int64_t best = 0;
            int64_t best_score = -1000000;
            for (int64_t c = 0; c < candidates.count; c++) {
                if (scores[c] > best_score) {
                    best = c;
                    best_score = scores[c];
                }
            }
            *move = candidates.data[best];
        }
    }
    arena_reset_to(frame_mark);
    return found;
}

Move choose_turing_move() {
    ArenaMark frame_mark = arena_mark(FRAME_ARENA);
    GrowableArray<Move> moves{nullptr, 0, 0, FRAME_ARENA};
    for (int64_t i = 0; i < transitions.count; i++) {
        const Transition& t = transitions.data[i];
        int16_t stone = first_stone_on(t.from);
        if (stone >= 0) array_push(&moves, Move{-1, stone, t.to, t.rule});
    }
    Move move = moves.count > 0 ? pick(moves) : no_move;
    arena_reset_to(frame_mark);
    return move;
}
