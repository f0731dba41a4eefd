#include "model/expert_player.h"

#include "model/expert_seat_model.h"
#include "model/loopy_nimbers.h"
#include "model/position_analysis.h"
#include "model/referee.h"
#include "model/stone_multiset.h"

namespace {

// The stones after a move, sorted, in the frame arena.
int16_t* position_after(int16_t stone, int16_t target) {
    int16_t* states_after = arena_push_array<int16_t>(FRAME_ARENA, stones.count);
    if (stones.count > 0) memcpy(states_after, stones.data, static_cast<size_t>(stones.count) * sizeof(int16_t));
    states_after[stone] = target;
    sort_stone_states(states_after, stones.count);
    return states_after;
}

// Higher is better for the seat that moves; plies break ties (a quick win, a slow loss). The
// move wins for its seat when the seat before the next one to move wins: that is itself.
int64_t analysed_score(const int16_t* states_after) {
    if (stones_win_by_mode(states_after, stones.count)) return int64_t{4} << 32;
    PositionValue value = analysed_value(states_after);
    if (value.outcome == position_drawn) return int64_t{2} << 32;
    if (value.winner_offset == analysed_seats() - 1) return (int64_t{3} << 32) - value.plies;
    return (int64_t{1} << 32) + value.plies;
}

bool opponent_wins_at_once(const int16_t* states_after) {
    int16_t* reply = arena_push_array<int16_t>(FRAME_ARENA, stones.count);
    for (int64_t t = 0; t < transitions.count; t++) {
        const Transition& u = transitions.data[t];
        int64_t at = 0;
        while (at < stones.count && states_after[at] != u.from) at++;
        if (at == stones.count) continue;
        memcpy(reply, states_after, static_cast<size_t>(stones.count) * sizeof(int16_t));
        reply[at] = u.to;
        if (stones_win_by_mode(reply, stones.count)) return true;
    }
    return false;
}

// States from which one move reaches an accepting state: with "any accepting" a stone there
// hands the next seat the win, so the loopy values count moves into them as no moves at all.
bool* transitions_for_loopy_values() {
    bool* used = arena_push_array<bool>(FRAME_ARENA, transitions.count + 1);
    bool* hot = arena_push_array<bool>(FRAME_ARENA, states.count);
    for (int64_t s = 0; s < states.count; s++) hot[s] = false;
    for (int64_t t = 0; t < transitions.count; t++) {
        if (states.data[transitions.data[t].to].accepting) hot[transitions.data[t].from] = true;
    }
    for (int64_t t = 0; t < transitions.count; t++) used[t] = win_mode != any_accepting || !hot[transitions.data[t].to];
    return used;
}

// Past the analysis bound: win at once, else never hand the next seat a win at once, else
// the loopy nimbers (the sum left lost for the next seat, then drawn); the earliest fixed
// value first, so a won game moves on towards its end.
int64_t loopy_score(const LoopyNimbers& values, const int16_t* states_after, int16_t target) {
    if (stones_win_by_mode(states_after, stones.count)) return int64_t{5} << 32;
    if (opponent_wins_at_once(states_after)) return 0;
    switch (loopy_sum_outcome(values, states_after, stones.count)) {
        case sum_lost: return (int64_t{4} << 32) - (values.values[target] >= 0 ? values.order[target] : 0);
        case sum_drawn: return int64_t{3} << 32;
        default: return int64_t{2} << 32;
    }
}

}  // namespace

bool choose_expert_state_machine_move(Move* move) {
    ArenaMark frame_mark = arena_mark(FRAME_ARENA);
    bool exact = analyse_positions();
    bool modelled = exact && prepare_seat_model();
    LoopyNimbers loopy{};
    if (!exact) loopy = compute_loopy_nimbers(transitions_for_loopy_values());
    bool found = false;
    int64_t best_score = -1;
    for (int64_t t = 0; t < transitions.count; t++) {
        const Transition& transition = transitions.data[t];
        int16_t stone = first_stone_on(transition.from);
        if (stone < 0) continue;
        ArenaMark move_mark = arena_mark(FRAME_ARENA);
        int16_t* states_after = position_after(stone, transition.to);
        int64_t score = exact ? analysed_score(states_after) : loopy_score(loopy, states_after, transition.to);
        // The chance against the seats as they play comes first, in millionths; the analysis
        // breaks ties.
        if (modelled && !stones_win_by_mode(states_after, stones.count)) {
            score += static_cast<int64_t>(seat_model_chance(states_after) * 1e6 + 0.5) << 35;
        } else if (modelled) {
            score += int64_t{1000000} << 35;
        }
        arena_reset_to(move_mark);
        if (score > best_score) {
            best_score = score;
            *move = Move{-1, stone, transition.to, transition.rule};
            found = true;
        }
    }
    arena_reset_to(frame_mark);
    return found;
}

GrowableArray<RatedMove> exact_move_values() {
    GrowableArray<RatedMove> rated{nullptr, 0, 0, FRAME_ARENA};
    Move chosen;
    if (!analyse_positions() || !choose_expert_state_machine_move(&chosen)) return rated;
    int64_t seats = analysed_seats();
    bool modelled = prepare_seat_model();
    for (int64_t t = 0; t < transitions.count; t++) {
        const Transition& transition = transitions.data[t];
        int16_t stone = first_stone_on(transition.from);
        if (stone < 0) continue;
        bool repeated = false;
        for (int64_t r = 0; r < rated.count && !repeated; r++) {
            repeated = rated.data[r].move.stone == stone && rated.data[r].move.target == transition.to;
        }
        if (repeated) continue;
        ArenaMark move_mark = arena_mark(FRAME_ARENA);
        int16_t* states_after = position_after(stone, transition.to);
        RatedMove value{Move{-1, stone, transition.to, transition.rule}, position_won, 1, modelled ? 1.0 : -1.0, false};
        if (!stones_win_by_mode(states_after, stones.count)) {
            if (modelled) value.share = seat_model_chance(states_after);
            PositionValue after = analysed_value(states_after);
            bool mover_wins = after.outcome != position_drawn && after.winner_offset == seats - 1;
            value.outcome = after.outcome == position_drawn ? uint8_t{position_drawn} : mover_wins ? uint8_t{position_won} : uint8_t{position_lost};
            value.plies = after.plies + 1;
        }
        value.best = stone == chosen.stone && transition.to == chosen.target;
        arena_reset_to(move_mark);
        array_push(&rated, value);
    }
    return rated;
}
