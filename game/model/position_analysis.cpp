#include "model/position_analysis.h"

#include "model/game_data.h"
#include "model/referee.h"
#include "model/stone_multiset.h"

int64_t analysed_positions_bound = max_analysed_positions;

namespace {

struct Analysis {
    bool valid;
    uint64_t fingerprint;
    int64_t state_count;
    int64_t stone_count;
    int64_t seats;
    int64_t positions;
    // binomials[m * (stone_count + 1) + j] = m choose j, saturated.
    int64_t* binomials;
    int64_t binomial_capacity;
    // 0 while drawn (or not yet resolved), else 1 + the winner counted from the seat to move.
    uint8_t* outcomes;
    // While unresolved: successors not yet known to be won; once resolved: plies to the end.
    uint32_t* plies;
    uint32_t* queue;
    int64_t capacity;
};

Analysis analysis;
uint64_t forgets;

constexpr int64_t saturated = int64_t{1} << 62;

uint64_t map_fingerprint() {
    uint64_t hash = 0xcbf29ce484222325ull;
    auto mix = [&hash](uint64_t value) {
        hash ^= value;
        hash *= 0x100000001b3ull;
    };
    mix(static_cast<uint64_t>(states.count));
    mix(static_cast<uint64_t>(stones.count));
    mix(win_mode);
    for (int64_t s = 0; s < states.count; s++) mix(states.data[s].accepting);
    for (int64_t t = 0; t < transitions.count; t++) {
        mix(static_cast<uint16_t>(transitions.data[t].from));
        mix(static_cast<uint16_t>(transitions.data[t].to));
    }
    return hash;
}

int64_t binomial(int64_t m, int64_t j) { return analysis.binomials[m * (analysis.stone_count + 1) + j]; }

// Colex rank of the strictly increasing sequence state_i + i.
int64_t rank_of(const int16_t* sorted_states) {
    int64_t rank = 0;
    for (int64_t i = 0; i < analysis.stone_count; i++) rank += binomial(sorted_states[i] + i, i + 1);
    return rank;
}

void unrank(int64_t rank, int16_t* sorted_states) {
    for (int64_t i = analysis.stone_count - 1; i >= 0; i--) {
        int64_t low = i, high = analysis.state_count - 1 + i;
        while (low < high) {
            int64_t middle = (low + high + 1) / 2;
            if (binomial(middle, i + 1) <= rank) low = middle;
            else high = middle - 1;
        }
        rank -= binomial(low, i + 1);
        sorted_states[i] = static_cast<int16_t>(low - i);
    }
}

void build_binomials() {
    int64_t rows = analysis.state_count + analysis.stone_count, columns = analysis.stone_count + 1;
    if (rows * columns > analysis.binomial_capacity) {
        analysis.binomial_capacity = rows * columns;
        analysis.binomials = arena_push_array<int64_t>(PERSISTENT_ARENA, analysis.binomial_capacity);
    }
    for (int64_t m = 0; m < rows; m++) {
        for (int64_t j = 0; j < columns; j++) {
            int64_t value = j == 0 ? 1 : m == 0 ? 0 : binomial(m - 1, j - 1) + binomial(m - 1, j);
            analysis.binomials[m * columns + j] = value < saturated ? value : saturated;
        }
    }
}

void reserve_tables(int64_t positions) {
    if (positions <= analysis.capacity) return;
    // Grown at least twofold, so a run of ever larger maps wastes little of the arena.
    int64_t capacity = positions > 2 * analysis.capacity ? positions : 2 * analysis.capacity;
    if (capacity > max_analysed_positions) capacity = max_analysed_positions;
    analysis.outcomes = arena_push_array<uint8_t>(PERSISTENT_ARENA, capacity);
    analysis.plies = arena_push_array<uint32_t>(PERSISTENT_ARENA, capacity);
    analysis.queue = arena_push_array<uint32_t>(PERSISTENT_ARENA, capacity);
    analysis.capacity = capacity;
}

// Transitions grouped by target state (first[s] .. first[s + 1] index the sources) and by
// source state (first_out[s] .. first_out[s + 1] index the targets).
struct ReverseGraph {
    int64_t* first;
    int16_t* sources;
    int64_t* out_degree;
    int64_t* first_out;
    int16_t* targets;
};

ReverseGraph build_reverse_graph() {
    int64_t n = states.count;
    ReverseGraph graph{arena_push_array<int64_t>(FRAME_ARENA, n + 1), arena_push_array<int16_t>(FRAME_ARENA, transitions.count + 1),
                       arena_push_array<int64_t>(FRAME_ARENA, n), arena_push_array<int64_t>(FRAME_ARENA, n + 1),
                       arena_push_array<int16_t>(FRAME_ARENA, transitions.count + 1)};
    for (int64_t s = 0; s <= n; s++) graph.first[s] = 0;
    for (int64_t s = 0; s < n; s++) graph.out_degree[s] = 0;
    for (int64_t t = 0; t < transitions.count; t++) {
        graph.first[transitions.data[t].to + 1]++;
        graph.out_degree[transitions.data[t].from]++;
    }
    for (int64_t s = 0; s < n; s++) graph.first[s + 1] += graph.first[s];
    graph.first_out[0] = 0;
    for (int64_t s = 0; s < n; s++) graph.first_out[s + 1] = graph.first_out[s] + graph.out_degree[s];
    int64_t* fill = arena_push_array<int64_t>(FRAME_ARENA, n);
    int64_t* fill_out = arena_push_array<int64_t>(FRAME_ARENA, n);
    for (int64_t s = 0; s < n; s++) {
        fill[s] = graph.first[s];
        fill_out[s] = graph.first_out[s];
    }
    for (int64_t t = 0; t < transitions.count; t++) {
        graph.sources[fill[transitions.data[t].to]++] = transitions.data[t].from;
        graph.targets[fill_out[transitions.data[t].from]++] = transitions.data[t].to;
    }
    return graph;
}

// Counts every position's moves and queues the ones where the game is over: no move is left,
// or the stones meet the win mode, both won by the seat that moved there.
int64_t queue_finished_positions(const ReverseGraph& graph) {
    int64_t k = analysis.stone_count, tail = 0;
    int16_t position[max_analysed_stones];
    for (int64_t r = 0; r < analysis.positions; r++) {
        unrank(r, position);
        int64_t moves = 0;
        for (int64_t i = 0; i < k; i++) {
            if (i == 0 || position[i] != position[i - 1]) moves += graph.out_degree[position[i]];
        }
        analysis.outcomes[r] = moves == 0 ? position_lost : position_drawn;
        analysis.plies[r] = static_cast<uint32_t>(moves);
        if (moves == 0 || stones_win_by_mode(position, k)) analysis.queue[tail++] = static_cast<uint32_t>(r);
    }
    return tail;
}

void solve(const ReverseGraph& graph) {
    int64_t k = analysis.stone_count, head = 0, tail = queue_finished_positions(graph);
    int16_t position[max_analysed_stones], parent[max_analysed_stones];
    while (head < tail) {
        int64_t child = analysis.queue[head++];
        unrank(child, position);
        bool ends_game = stones_win_by_mode(position, k);
        uint8_t outcome = ends_game ? uint8_t{position_lost} : analysis.outcomes[child];
        uint32_t plies = ends_game ? 0 : analysis.plies[child];
        for (int64_t i = 0; i < k; i++) {
            if (i > 0 && position[i] == position[i - 1]) continue;
            for (int64_t e = graph.first[position[i]]; e < graph.first[position[i] + 1]; e++) {
                memcpy(parent, position, static_cast<size_t>(k) * sizeof(int16_t));
                move_in_multiset(parent, k, position[i], graph.sources[e]);
                int64_t p = rank_of(parent);
                if (analysis.outcomes[p] != position_drawn) continue;
                bool resolved = outcome == position_lost || --analysis.plies[p] == 0;
                if (!resolved) continue;
                analysis.outcomes[p] = outcome == position_lost ? position_won : position_lost;
                analysis.plies[p] = plies + 1;
                if (!stones_win_by_mode(parent, k)) analysis.queue[tail++] = static_cast<uint32_t>(p);
            }
        }
    }
}

// The value of a position for the seat that moves into it: 1 + the winner counted from that
// seat, and the plies to the end after the move.
struct Reached {
    uint8_t outcome;
    uint32_t plies;
};

Reached reached_value(const int16_t* position) {
    if (stones_win_by_mode(position, analysis.stone_count)) return Reached{1, 0};
    int64_t r = rank_of(position);
    uint8_t outcome = analysis.outcomes[r];
    if (outcome == position_drawn) return Reached{position_drawn, 0};
    return Reached{static_cast<uint8_t>(outcome == analysis.seats ? 1 : outcome + 1), analysis.plies[r]};
}

// Every move of an unresolved position is resolved and none wins for its mover: it holds out
// longest, the first such move in transition order.
void resolve_by_holding_out(const ReverseGraph& graph, int64_t r, int16_t* position) {
    int64_t k = analysis.stone_count;
    int16_t child[max_analysed_stones];
    Reached best{0, 0};
    for (int64_t i = 0; i < k; i++) {
        if (i > 0 && position[i] == position[i - 1]) continue;
        for (int64_t e = graph.first_out[position[i]]; e < graph.first_out[position[i] + 1]; e++) {
            memcpy(child, position, static_cast<size_t>(k) * sizeof(int16_t));
            move_in_multiset(child, k, position[i], graph.targets[e]);
            Reached value = reached_value(child);
            if (best.outcome == 0 || value.plies > best.plies) best = value;
        }
    }
    analysis.outcomes[r] = best.outcome;
    analysis.plies[r] = best.plies + 1;
}

// Max-n for three or more seats: a position is won as soon as one move wins for its mover,
// and valued once every move is, by holding out; what stays open is drawn.
void solve_for_seats(const ReverseGraph& graph) {
    int64_t k = analysis.stone_count, head = 0, tail = queue_finished_positions(graph);
    int16_t position[max_analysed_stones], parent[max_analysed_stones];
    for (int64_t q = 0; q < tail; q++) {
        // A finished position is won by the seat that moved there, the last before the mover.
        if (analysis.outcomes[analysis.queue[q]] == position_lost) analysis.outcomes[analysis.queue[q]] = static_cast<uint8_t>(analysis.seats);
    }
    while (head < tail) {
        int64_t child = analysis.queue[head++];
        unrank(child, position);
        Reached reached = reached_value(position);
        for (int64_t i = 0; i < k; i++) {
            if (i > 0 && position[i] == position[i - 1]) continue;
            for (int64_t e = graph.first[position[i]]; e < graph.first[position[i] + 1]; e++) {
                memcpy(parent, position, static_cast<size_t>(k) * sizeof(int16_t));
                move_in_multiset(parent, k, position[i], graph.sources[e]);
                int64_t p = rank_of(parent);
                if (analysis.outcomes[p] != position_drawn || stones_win_by_mode(parent, k)) continue;
                if (reached.outcome == 1) {
                    analysis.outcomes[p] = 1;
                    analysis.plies[p] = reached.plies + 1;
                } else if (--analysis.plies[p] == 0) {
                    resolve_by_holding_out(graph, p, parent);
                } else {
                    continue;
                }
                analysis.queue[tail++] = static_cast<uint32_t>(p);
            }
        }
    }
}

}  // namespace

int64_t position_count() {
    int64_t n = states.count, k = stones.count;
    if (n == 0 || k == 0) return 0;
    if (k > max_analysed_stones) return analysed_positions_bound + 1;
    // (n + k - 1) choose k, built up one stone at a time; every step is a whole number.
    int64_t count = 1;
    for (int64_t i = 1; i <= k; i++) {
        count = count * (n - 1 + i) / i;
        if (count > analysed_positions_bound) return analysed_positions_bound + 1;
    }
    return count;
}

bool analyse_positions() {
    uint64_t fingerprint = map_fingerprint();
    int64_t seats = seats_in_play() > 2 ? seats_in_play() : 2;
    if (analysis.valid && analysis.fingerprint == fingerprint && analysis.state_count == states.count &&
        analysis.stone_count == stones.count && analysis.seats == seats) {
        return true;
    }
    analysis.valid = false;
    int64_t positions = position_count();
    if (positions == 0 || positions > analysed_positions_bound) return false;
    analysis.state_count = states.count;
    analysis.stone_count = stones.count;
    analysis.seats = seats;
    analysis.positions = positions;
    reserve_tables(positions);
    build_binomials();
    ArenaMark frame_mark = arena_mark(FRAME_ARENA);
    if (seats == 2) solve(build_reverse_graph());
    else solve_for_seats(build_reverse_graph());
    arena_reset_to(frame_mark);
    analysis.fingerprint = fingerprint;
    analysis.valid = true;
    return true;
}

PositionValue analysed_value(const int16_t* sorted_states) {
    int64_t r = rank_of(sorted_states);
    uint8_t stored = analysis.outcomes[r];
    if (stored == position_drawn) return PositionValue{position_drawn, 0, analysis.plies[r]};
    uint8_t offset = static_cast<uint8_t>(stored - 1);
    return PositionValue{offset == 0 ? uint8_t{position_won} : uint8_t{position_lost}, offset, analysis.plies[r]};
}

int64_t analysed_seats() { return analysis.seats; }
int64_t analysed_position_total() { return analysis.positions; }
int64_t analysed_position_rank(const int16_t* sorted_states) { return rank_of(sorted_states); }
void analysed_position_at(int64_t rank, int16_t* sorted_states) { unrank(rank, sorted_states); }
uint64_t analysed_fingerprint() { return analysis.fingerprint; }

uint64_t analysis_forgets() { return forgets; }

void forget_position_analysis() {
    analysis = Analysis{};
    forgets++;
}
