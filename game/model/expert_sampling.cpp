#include "model/expert_player.h"

#include "base/random.h"
#include "model/expert_turing_lookahead.h"
#include "model/goal_evidence.h"
#include "model/game_snapshot.h"
#include "model/goals.h"
#include "model/referee.h"
#include "model/rules.h"
#include "model/tried_move.h"
#include "model/turn_state.h"

namespace {

// Playouts per decision, shared out among the candidate moves; candidates are compared in
// the same sampled games, so on equal luck.
constexpr int64_t playouts_per_decision = 2048;
// A pushdown playout with three or more seats deals and plays more hands, so fewer are played to
// keep a decision as quick.
constexpr int64_t crowded_pushdown_playouts = 1536;
constexpr int64_t min_sampled_games = 6;
// A playout still undecided after this many turns counts as half a win.
constexpr int64_t playout_turns = 60;
// Percentage of pushdown playout turns in which the seat plays to leave the next seat few cards.
constexpr uint64_t blocking_share = 50;

GrowableArray<Card> card_array(int64_t capacity) {
    return GrowableArray<Card>{arena_push_array<Card>(FRAME_ARENA, capacity), 0, capacity, FRAME_ARENA};
}

void copy_cards(GrowableArray<Card>* into, const GrowableArray<Card>& from) {
    // An empty array may have no storage at all, which memcpy may not be given.
    if (from.count > 0) memcpy(into->data, from.data, static_cast<size_t>(from.count) * sizeof(Card));
    into->count = from.count;
}

// The cards a seat cannot see: the whole deck as built, less its own hand and the played
// cards; a card the deck never had (one dealt from an empty deck) is simply not there.
GrowableArray<Card> unseen_cards(const GrowableArray<Card>& own_hand, int64_t capacity) {
    int64_t left[card_kind_count] = {};
    for (int64_t c = 0; c < used_deck_colors(); c++)
        for (int64_t s = 0; s < used_deck_shapes(); s++)
            for (int64_t n = 1; n <= used_deck_numbers(); n++)
                left[card_kind(Card{static_cast<uint8_t>(c), static_cast<uint8_t>(s), static_cast<int8_t>(n)})] =
                    used_deck_copies();
    auto take = [&left](Card card) {
        if (card_in_range(card) && left[card_kind(card)] > 0) left[card_kind(card)]--;
    };
    for (int64_t i = 0; i < own_hand.count; i++) take(own_hand.data[i]);
    for (int64_t i = 0; i < stack.count; i++) take(stack.data[i]);
    GrowableArray<Card> pool = card_array(capacity);
    for (int64_t kind = 0; kind < card_kind_count; kind++) {
        Card card{static_cast<uint8_t>(kind / 36), static_cast<uint8_t>(kind / 6 % 6), static_cast<int8_t>(kind % 6 + 1)};
        for (int64_t copy = 0; copy < left[kind] && pool.count < capacity; copy++) pool.data[pool.count++] = card;
    }
    return pool;
}

Card deal_from(GrowableArray<Card>* pool) { return pool->count > 0 ? pool->data[--pool->count] : default_card; }

void shuffle_cards(GrowableArray<Card>* cards) {
    for (int64_t i = cards->count - 1; i >= 1; i--) {
        int64_t j = static_cast<int64_t>(random_below(static_cast<uint64_t>(i + 1)));
        Card swap = cards->data[i];
        cards->data[i] = cards->data[j];
        cards->data[j] = swap;
    }
}

// The chances of each goal being each other seat's, one row of goals.count per seat.
double* other_seats_goal_chances(int64_t seats) {
    double* rows = arena_push_array<double>(FRAME_ARENA, seats * goals.count);
    for (int64_t seat = 0; seat < seats; seat++) {
        double* row = rows + seat * goals.count;
        if (machine_kind == turing_machine && seat != current_player) {
            goal_belief(seat, players.data[current_player].goal, row);
            continue;
        }
        for (int64_t g = 0; g < goals.count; g++) row[g] = 1.0 / static_cast<double>(goals.count);
    }
    return rows;
}

Goal pick_goal(const double* chances) {
    double left = static_cast<double>(random_u64() >> 11) * 0x1p-53;
    for (int64_t g = 0; g < goals.count; g++) {
        left -= chances[g];
        if (left < 0) return goals.data[g];
    }
    return goals.count > 0 ? goals.data[goals.count - 1] : default_goal;
}

// The game as the seat to move sees it, with everything hidden from it dealt at random. The
// snapshot holds the game as it is, so every hand and the deck already have their room.
void sample_game(GameSnapshot* sampled, const GrowableArray<Card>& unseen, const double* goal_chances, int64_t card_capacity) {
    int64_t me = current_player;
    GrowableArray<Card> pool = card_array(card_capacity);
    copy_cards(&pool, unseen);
    shuffle_cards(&pool);
    for (int64_t seat = 0; seat < seats_in_play(); seat++) {
        if (seat == me) continue;
        Player* player = &sampled->players.data[seat];
        for (int64_t i = 0; i < player->hand.count; i++) player->hand.data[i] = deal_from(&pool);
        player->goal = pick_goal(goal_chances + seat * goals.count);
    }
    for (int64_t i = 0; i < sampled->deck.count; i++) sampled->deck.data[i] = deal_from(&pool);
}

// The cards each transition's rule accepts under each top card (0: empty stack), worked out
// when first asked for during one decision.
struct AcceptedCards {
    CardSet* sets;
    bool* known;
    // Every kind of card the deck is built from.
    CardSet deck_kinds;
};

constexpr int64_t top_kinds = card_kind_count + 1;

AcceptedCards new_accepted_cards() {
    int64_t entries = transitions.count * top_kinds;
    AcceptedCards accepted{arena_push_array<CardSet>(FRAME_ARENA, entries), arena_push_array<bool>(FRAME_ARENA, entries), {}};
    for (int64_t i = 0; i < entries; i++) accepted.known[i] = false;
    GrowableArray<Card> full_deck{nullptr, 0, 0, FRAME_ARENA};
    push_full_deck(&full_deck);
    for (int64_t i = 0; i < full_deck.count; i++) {
        int64_t kind = card_kind(full_deck.data[i]);
        accepted.deck_kinds.words[kind >> 6] |= uint64_t{1} << (kind & 63);
    }
    return accepted;
}

// The cards a transition's rule takes under a top card (none: an empty stack); null when the
// top card is outside every deck, so the rule must be asked card by card.
const CardSet* accepted_set(AcceptedCards* accepted, int64_t transition, bool has_top, Card top) {
    if (has_top && !card_in_range(top)) return nullptr;
    int64_t entry = transition * top_kinds + (has_top ? card_kind(top) + 1 : 0);
    if (!accepted->known[entry]) {
        accepted->sets[entry] = rule_accepted_cards(transitions.data[transition].rule, has_top, top);
        accepted->known[entry] = true;
    }
    return &accepted->sets[entry];
}

bool accepts(AcceptedCards* accepted, int64_t transition, Card card) {
    const CardSet* set = accepted_set(accepted, transition, stack.count > 0, top_card(stack));
    if (!set || !card_in_range(card)) return rule_accepts(transitions.data[transition].rule, card);
    return card_set_has(*set, card_kind(card));
}

// Does the seat to move win with this move at once?
bool wins_at_once(const Move& move) {
    TriedMove tried = try_move(move);
    bool wins = stones_win_by_mode(stones.data, stones.count);
    if (machine_kind == turing_machine) wins = wins && goal_met(players.data[current_player].goal);
    if (machine_kind == pushdown_machine) wins = wins && players.data[current_player].hand.count == 1;
    take_back(tried);
    return wins;
}

// Calls visit with every legal move of the seat to move, in transition and hand order, until
// it returns false.
template <typename Visit>
void visit_moves(AcceptedCards* accepted, Visit visit) {
    const GrowableArray<Card>& hand = players.data[current_player].hand;
    bool pushdown = machine_kind == pushdown_machine;
    for (int64_t t = 0; t < transitions.count; t++) {
        const Transition& transition = transitions.data[t];
        int16_t stone = first_stone_on(transition.from);
        if (stone < 0) continue;
        for (int64_t j = 0; j < (pushdown ? hand.count : 1); j++) {
            if (pushdown && !accepts(accepted, t, hand.data[j])) continue;
            if (!visit(Move{static_cast<int16_t>(pushdown ? j : -1), stone, transition.to, transition.rule})) return;
        }
    }
}

// How many kinds of the deck's cards the next seat could play after this pushdown move.
int64_t openness_after(AcceptedCards* accepted, const Move& move) {
    Card top = players.data[current_player].hand.data[move.card];
    int16_t from = stones.data[move.stone];
    stones.data[move.stone] = move.target;
    CardSet open{};
    for (int64_t t = 0; t < transitions.count; t++) {
        if (first_stone_on(transitions.data[t].from) < 0) continue;
        const CardSet* set = accepted_set(accepted, t, true, top);
        if (!set) continue;
        for (int64_t w = 0; w < 4; w++) open.words[w] |= set->words[w];
    }
    stones.data[move.stone] = from;
    return card_set_size(card_set_intersection(open, accepted->deck_kinds));
}

// The playout's move for the seat to move: a move that wins at once; on a pushdown machine,
// in some turns the move that leaves the next seat the fewest kinds of card to play; else a
// random one.
bool playout_move(AcceptedCards* accepted, Move* chosen) {
    int64_t seen = 0;
    bool winning = false;
    bool blocking = machine_kind == pushdown_machine && random_below(100) < blocking_share;
    int64_t least_open = 0;
    visit_moves(accepted, [&](const Move& move) {
        winning = wins_at_once(move);
        seen++;
        if (winning) {
            *chosen = move;
            return false;
        }
        if (blocking) {
            int64_t open = openness_after(accepted, move);
            if (seen == 1 || open < least_open) {
                *chosen = move;
                least_open = open;
            }
        } else if (random_below(static_cast<uint64_t>(seen)) == 0) {
            *chosen = move;
        }
        return true;
    });
    return seen > 0;
}

void make_move(const Move& move) {
    if (machine_kind == pushdown_machine) {
        const GrowableArray<Card>& hand = players.data[current_player].hand;
        apply_move(move.stone, move.target, move.rule, hand.data[move.card], move.card);
    } else if (move.rule.length > 0) {
        apply_move(move.stone, move.target, move.rule, default_card, -1);
    }
    end_turn();
}

// One turn as a computer seat plays it: a pushdown seat without a move draws once first.
void playout_turn(AcceptedCards* accepted) {
    recycle_stack();
    Move move;
    if (playout_move(accepted, &move)) return make_move(move);
    if (machine_kind == pushdown_machine) {
        draw_from_deck(&players.data[current_player]);
        if (playout_move(accepted, &move)) return make_move(move);
    }
    end_turn();
}

// 1 for a win and 0 for a loss, a little nearer one half the later it comes, so that of two
// sure wins the sooner is taken; an even share among the seats when the playout ends undecided.
double play_out(AcceptedCards* accepted, const Move& first, int8_t me) {
    make_move(first);
    int64_t turn = 0;
    for (; turn < playout_turns && !game_over(); turn++) playout_turn(accepted);
    if (winner == no_winner) return 1.0 / static_cast<double>(seats_in_play());
    double delay = 0.001 * static_cast<double>(turn);
    return winner == me ? 1.0 - delay : delay;
}

bool same_outcome(const Move& a, const Move& b, const GrowableArray<Card>& hand) {
    if (stones.data[a.stone] != stones.data[b.stone] || a.target != b.target) return false;
    if (machine_kind == pushdown_machine) {
        Card x = hand.data[a.card], y = hand.data[b.card];
        return x.color == y.color && x.shape == y.shape && x.number == y.number;
    }
    return string_equals(a.rule, b.rule);
}

// Every move the seat to move may make, one of each kind that leads to the same game.
GrowableArray<Move> candidate_moves(AcceptedCards* accepted) {
    const GrowableArray<Card>& hand = players.data[current_player].hand;
    GrowableArray<Move> moves{nullptr, 0, 0, FRAME_ARENA};
    visit_moves(accepted, [&](const Move& move) {
        bool repeated = false;
        for (int64_t m = 0; m < moves.count && !repeated; m++) repeated = same_outcome(moves.data[m], move, hand);
        if (!repeated) array_push(&moves, move);
        return true;
    });
    return moves;
}

// The candidate with the best share of won playouts; the first of equals. With `rated`, every
// candidate goes to the playouts (the Turing look-ahead keeps none back) and gets its share of
// the games it played, in `rated`, which must have room for every move.
bool choose_by_playouts(Move* chosen, GrowableArray<RatedMove>* rated) {
    if (current_player < 0 || current_player >= players.count) return false;
    ArenaMark frame_mark = arena_mark(FRAME_ARENA);
    uint64_t seed = random_u64();
    GameSnapshot saved = new_game_snapshot(FRAME_ARENA);
    take_game_snapshot(&saved, snapshot_play);
    AcceptedCards accepted = new_accepted_cards();
    GrowableArray<Move> moves = candidate_moves(&accepted);
    int64_t seats = seats_in_play();
    if (machine_kind == turing_machine && !rated) keep_best_turing_moves(&moves);
    bool found = moves.count > 0;
    if (moves.count > 1 || (rated && found)) {
        int64_t hands = 0;
        for (int64_t seat = 0; seat < seats; seat++) hands += players.data[seat].hand.count;
        int64_t card_capacity = used_deck_copies() * used_deck_colors() * used_deck_shapes() * used_deck_numbers() +
                                hands + deck.count + stack.count + 2 * playout_turns + 1;
        GrowableArray<Card> unseen = unseen_cards(players.data[current_player].hand, card_capacity);
        double* goal_chances = other_seats_goal_chances(seats);
        GameSnapshot sampled = new_game_snapshot(FRAME_ARENA);
        take_game_snapshot(&sampled, snapshot_play);
        // Successive halving: each round plays every remaining candidate in the same sampled
        // games, then keeps the better half, so the playouts go where the choice is close.
        double* scores = arena_push_array<double>(FRAME_ARENA, moves.count);
        int64_t* alive = arena_push_array<int64_t>(FRAME_ARENA, moves.count);
        int64_t* played_games = arena_push_array<int64_t>(FRAME_ARENA, moves.count);
        for (int64_t m = 0; m < moves.count; m++) {
            scores[m] = 0;
            alive[m] = m;
            played_games[m] = 0;
        }
        int64_t rounds = 1;
        while ((int64_t{1} << rounds) < moves.count) rounds++;
        int64_t playouts = machine_kind == pushdown_machine && seats > 2 ? crowded_pushdown_playouts : playouts_per_decision;
        int64_t alive_count = moves.count;
        int8_t me = current_player;
        // The sampling draws from its own sequence; each candidate's playout restarts another.
        seed_random(seed);
        RandomState sampling = random_state;
        // A lone candidate is played only to rate it.
        for (bool first_round = true; alive_count > 1 || first_round; first_round = false) {
            int64_t games = playouts / (rounds * alive_count);
            if (games < min_sampled_games) games = min_sampled_games;
            for (int64_t game = 0; game < games; game++) {
                random_state = sampling;
                sample_game(&sampled, unseen, goal_chances, card_capacity);
                uint64_t playout_seed = random_u64();
                sampling = random_state;
                for (int64_t a = 0; a < alive_count; a++) {
                    restore_game_snapshot(sampled, snapshot_play);
                    seed_random(playout_seed);
                    scores[alive[a]] += play_out(&accepted, moves.data[alive[a]], me);
                    played_games[alive[a]]++;
                    restore_game_snapshot(saved, snapshot_play);
                }
            }
            // Stable order by score, best first: equal scores keep the earlier candidate first.
            for (int64_t a = 1; a < alive_count; a++) {
                int64_t m = alive[a], b = a;
                for (; b > 0 && scores[alive[b - 1]] < scores[m]; b--) alive[b] = alive[b - 1];
                alive[b] = m;
            }
            alive_count = (alive_count + 1) / 2;
        }
        int64_t best = alive[0];
        *chosen = moves.data[best];
        for (int64_t m = 0; rated && m < moves.count; m++) {
            double share = scores[m] / static_cast<double>(played_games[m]);
            rated->data[rated->count++] = RatedMove{moves.data[m], position_drawn, 0, share, m == best};
        }
    } else if (found) {
        *chosen = moves.data[0];
    }
    restore_game_snapshot(saved, snapshot_play);
    arena_reset_to(frame_mark);
    return found;
}

}  // namespace

bool choose_expert_pushdown_move(Move* move) { return choose_by_playouts(move, nullptr); }

Move choose_expert_turing_move() {
    Move move{-1, -1, -1, string{nullptr, 0}};
    choose_by_playouts(&move, nullptr);
    return move;
}

bool expert_hint(Move* move) {
    RandomState saved = random_state;
    bool found = false;
    switch (machine_kind) {
        case state_machine: found = choose_expert_state_machine_move(move); break;
        case pushdown_machine: found = choose_expert_pushdown_move(move); break;
        case turing_machine:
            *move = choose_expert_turing_move();
            found = move->rule.length > 0;
            break;
        default: break;
    }
    random_state = saved;
    return found;
}

GrowableArray<RatedMove> expert_move_values() {
    GrowableArray<RatedMove> rated{nullptr, 0, 0, FRAME_ARENA};
    if (current_player < 0 || current_player >= players.count) return rated;
    if (machine_kind == state_machine) return exact_move_values();
    int64_t most = transitions.count * (players.data[current_player].hand.count + 1);
    rated = GrowableArray<RatedMove>{arena_push_array<RatedMove>(FRAME_ARENA, most + 1), 0, most + 1, FRAME_ARENA};
    RandomState saved = random_state;
    Move move;
    choose_by_playouts(&move, &rated);
    random_state = saved;
    return rated;
}
