#include "model/expert_seat_model.h"

#include "model/position_analysis.h"
#include "model/referee.h"
#include "model/stone_multiset.h"

namespace {

constexpr int16_t ends_game = -1;
constexpr int64_t max_sweeps = 4096;
constexpr float settled = 1e-7f;

// One move of an analysed position.
struct ModelMove {
    // The position it reaches, or ends_game when it meets the win mode.
    int32_t child;
    // Leaves a nim-sum of 0 (the strengths' own test).
    bool zero;
    // 2: the analysis calls it won for the mover, 1 drawn, 0 lost.
    uint8_t promise;
};

// How the seat a given number of places after the expert chooses.
enum : uint8_t {
    plays_best = 0,
    plays_easy,
    plays_normal,
    plays_hard,
    plays_for_own_win
};

struct SeatModel {
    bool valid;
    // The storage lives in the persistent arena until the position analysis is forgotten.
    uint64_t forgets;
    uint64_t fingerprint;
    int64_t seats;
    uint8_t rules[6];
    int64_t positions;
    int64_t* first_move;
    ModelMove* moves;
    // chance[r * seats + o]: the expert wins from position r with the seat o places after it to move.
    float* chance;
    int64_t move_capacity, chance_capacity;
};

SeatModel model;

uint8_t rule_of(int64_t seat) {
    const Player& player = players.data[seat];
    if (!player.is_computer) return plays_for_own_win;
    switch (player.difficulty) {
        case easy: return plays_easy;
        case normal: return plays_normal;
        case hard: return plays_hard;
        default: return plays_for_own_win;
    }
}

int64_t nim_sum_of(const int16_t* position, int64_t count) {
    int64_t x = 0;
    for (int64_t i = 0; i < count; i++) {
        uint8_t value = position[i] < nimbers.count ? nimbers.data[position[i]] : unknown_nimber;
        x ^= static_cast<int64_t>(static_cast<int8_t>(value));
    }
    return x;
}

uint8_t promise_of(const int16_t* child, int64_t seats) {
    if (stones_win_by_mode(child, stones.count)) return 2;
    PositionValue value = analysed_value(child);
    if (value.outcome == position_drawn) return 1;
    return value.winner_offset == seats - 1 ? 2 : 0;
}

// Every position's moves, one per transition from an occupied state, as the strengths list them.
bool list_moves(int64_t seats) {
    int64_t k = stones.count, n = model.positions;
    int64_t total = 0;
    int16_t position[max_analysed_stones], child[max_analysed_stones];
    for (int64_t r = 0; r < n; r++) {
        analysed_position_at(r, position);
        for (int64_t t = 0; t < transitions.count; t++) {
            bool occupied = false;
            for (int64_t i = 0; i < k && !occupied; i++) occupied = position[i] == transitions.data[t].from;
            total += occupied;
        }
    }
    if (total > max_seat_model_entries * 4) return false;
    if (total > model.move_capacity) {
        model.move_capacity = total;
        model.moves = arena_push_array<ModelMove>(PERSISTENT_ARENA, total);
    }
    if (n + 1 > model.chance_capacity / 6 || n * seats > model.chance_capacity) {
        model.chance_capacity = (n + 1) * 6;
        model.chance = arena_push_array<float>(PERSISTENT_ARENA, model.chance_capacity);
        model.first_move = arena_push_array<int64_t>(PERSISTENT_ARENA, model.chance_capacity / 6);
    }
    int64_t at = 0;
    for (int64_t r = 0; r < n; r++) {
        model.first_move[r] = at;
        analysed_position_at(r, position);
        for (int64_t t = 0; t < transitions.count; t++) {
            const Transition& u = transitions.data[t];
            bool occupied = false;
            for (int64_t i = 0; i < k && !occupied; i++) occupied = position[i] == u.from;
            if (!occupied) continue;
            memcpy(child, position, static_cast<size_t>(k) * sizeof(int16_t));
            move_in_multiset(child, k, u.from, u.to);
            bool wins = stones_win_by_mode(child, k);
            model.moves[at++] = ModelMove{wins ? ends_game : static_cast<int32_t>(analysed_position_rank(child)),
                                          nim_sum_of(child, k) == 0, promise_of(child, seats)};
        }
    }
    model.first_move[n] = at;
    return true;
}

float chance_after(const ModelMove& move, int64_t mover_offset, int64_t seats) {
    if (move.child == ends_game) return mover_offset == 0 ? 1.0f : 0.0f;
    return model.chance[move.child * seats + (mover_offset + 1) % seats];
}

// The chance the expert wins from position r with the seat `offset` places after it to move.
float chance_from(int64_t r, int64_t offset, int64_t seats) {
    const ModelMove* first = model.moves + model.first_move[r];
    int64_t count = model.first_move[r + 1] - model.first_move[r];
    // No move: the seat that moved last, the one before, wins.
    if (count == 0) return offset == 1 ? 1.0f : 0.0f;
    uint8_t rule = model.rules[offset];
    if (rule == plays_best) {
        float best = 0;
        for (int64_t m = 0; m < count; m++) {
            float value = chance_after(first[m], offset, seats);
            best = value > best ? value : best;
        }
        return best;
    }
    // Each kind of move the seat would pick from, alike; weight_of the kinds it mixes.
    int64_t zero = 0, best_promise = 0;
    for (int64_t m = 0; m < count; m++) {
        zero += first[m].zero;
        best_promise = first[m].promise > best_promise ? first[m].promise : best_promise;
    }
    int64_t other = count - zero;
    float zero_sum = 0, other_sum = 0, promised_sum = 0;
    int64_t promised = 0;
    for (int64_t m = 0; m < count; m++) {
        float value = chance_after(first[m], offset, seats);
        (first[m].zero ? zero_sum : other_sum) += value;
        if (first[m].promise == best_promise) {
            promised_sum += value;
            promised++;
        }
    }
    float zero_mean = zero > 0 ? zero_sum / static_cast<float>(zero) : 0;
    float other_mean = other > 0 ? other_sum / static_cast<float>(other) : 0;
    switch (rule) {
        case plays_easy: return other > 0 ? other_mean : zero_mean;
        case plays_hard: return zero > 0 ? zero_mean : other_mean;
        case plays_normal:
            if (other == 0) return zero_mean;
            if (zero == 0) return other_mean;
            return 0.5f * other_mean + 0.5f * zero_mean;
        default: return promised_sum / static_cast<float>(promised);
    }
}

// Raised from nothing, sweep by sweep, until no chance changes any more.
void settle_chances(int64_t seats) {
    int64_t entries = model.positions * seats;
    for (int64_t e = 0; e < entries; e++) model.chance[e] = 0;
    for (int64_t sweep = 0; sweep < max_sweeps; sweep++) {
        float change = 0;
        for (int64_t r = 0; r < model.positions; r++) {
            for (int64_t o = 0; o < seats; o++) {
                float value = chance_from(r, o, seats);
                float* at = &model.chance[r * seats + o];
                float difference = value > *at ? value - *at : *at - value;
                change = difference > change ? difference : change;
                *at = value;
            }
        }
        if (change < settled) return;
    }
}

bool build_model(int64_t seats) {
    uint8_t rules[6] = {};
    for (int64_t o = 1; o < seats; o++) rules[o] = rule_of((current_player + o) % seats);
    if (model.forgets != analysis_forgets()) {
        model = SeatModel{};
        model.forgets = analysis_forgets();
    }
    uint64_t fingerprint = analysed_fingerprint();
    if (model.valid && model.fingerprint == fingerprint && model.seats == seats && model.positions == analysed_position_total() &&
        memcmp(model.rules, rules, sizeof rules) == 0) {
        return true;
    }
    model.valid = false;
    model.positions = analysed_position_total();
    if (model.positions * seats > max_seat_model_entries) return false;
    if (!list_moves(seats)) return false;
    memcpy(model.rules, rules, sizeof rules);
    model.seats = seats;
    settle_chances(seats);
    model.fingerprint = fingerprint;
    model.valid = true;
    return true;
}

}  // namespace

bool prepare_seat_model() {
    int64_t seats = seats_in_play();
    if (seats < 3 || current_player < 0 || current_player >= seats || !analyse_positions()) return false;
    return build_model(seats);
}

double seat_model_chance(const int16_t* sorted_states_after) {
    return model.chance[analysed_position_rank(sorted_states_after) * model.seats + 1];
}
