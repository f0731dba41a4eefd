#include "model/position_analysis.h"

#include "model/game_data.h"
#include "model/referee.h"
#include "model/stone_multiset.h"

namespace {

struct Analysis {
    bool valid;
    uint64_t fingerprint;
    int64_t state_count;
    int64_t stone_count;
    int64_t positions;
    // binomials[m * (stone_count + 1) + j] = m choose j, saturated.
    int64_t* binomials;
    int64_t binomial_capacity;
    uint8_t* outcomes;
    // While unresolved: successors not yet known to be won; once resolved: plies to the end.
    uint32_t* plies;
    uint32_t* queue;
    int64_t capacity;
};

Analysis analysis;

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

// Transitions grouped by target state: first[s] .. first[s + 1] index the sources.
struct ReverseGraph {
    int64_t* first;
    int16_t* sources;
    int64_t* out_degree;
};

ReverseGraph build_reverse_graph() {
    int64_t n = states.count;
    ReverseGraph graph{arena_push_array<int64_t>(FRAME_ARENA, n + 1),
                       arena_push_array<int16_t>(FRAME_ARENA, transitions.count + 1),
                       arena_push_array<int64_t>(FRAME_ARENA, n)};
    for (int64_t s = 0; s <= n; s++) graph.first[s] = 0;
    for (int64_t s = 0; s < n; s++) graph.out_degree[s] = 0;
    for (int64_t t = 0; t < transitions.count; t++) {
        graph.first[transitions.data[t].to + 1]++;
        graph.out_degree[transitions.data[t].from]++;
    }
    for (int64_t s = 0; s < n; s++) graph.first[s + 1] += graph.first[s];
    int64_t* fill = arena_push_array<int64_t>(FRAME_ARENA, n);
    for (int64_t s = 0; s < n; s++) fill[s] = graph.first[s];
    for (int64_t t = 0; t < transitions.count; t++) graph.sources[fill[transitions.data[t].to]++] = transitions.data[t].from;
    return graph;
}

void solve(const ReverseGraph& graph) {
    int64_t k = analysis.stone_count, head = 0, tail = 0;
    int16_t position[max_analysed_stones], parent[max_analysed_stones];
    for (int64_t r = 0; r < analysis.positions; r++) {
        unrank(r, position);
        int64_t moves = 0;
        for (int64_t i = 0; i < k; i++) {
            if (i == 0 || position[i] != position[i - 1]) moves += graph.out_degree[position[i]];
        }
        analysis.outcomes[r] = moves == 0 ? position_lost : position_drawn;
        analysis.plies[r] = static_cast<uint32_t>(moves);
        // Reaching a position that satisfies the win mode wins for the seat that moved there.
        if (moves == 0 || stones_win_by_mode(position, k)) analysis.queue[tail++] = static_cast<uint32_t>(r);
    }
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

}  // namespace

int64_t position_count() {
    int64_t n = states.count, k = stones.count;
    if (n == 0 || k == 0) return 0;
    if (k > max_analysed_stones) return max_analysed_positions + 1;
    // (n + k - 1) choose k, built up one stone at a time; every step is a whole number.
    int64_t count = 1;
    for (int64_t i = 1; i <= k; i++) {
        count = count * (n - 1 + i) / i;
        if (count > max_analysed_positions) return max_analysed_positions + 1;
    }
    return count;
}

bool analyse_positions() {
    uint64_t fingerprint = map_fingerprint();
    if (analysis.valid && analysis.fingerprint == fingerprint && analysis.state_count == states.count &&
        analysis.stone_count == stones.count) {
        return true;
    }
    analysis.valid = false;
    int64_t positions = position_count();
    if (positions == 0 || positions > max_analysed_positions) return false;
    analysis.state_count = states.count;
    analysis.stone_count = stones.count;
    analysis.positions = positions;
    reserve_tables(positions);
    build_binomials();
    ArenaMark frame_mark = arena_mark(FRAME_ARENA);
    solve(build_reverse_graph());
    arena_reset_to(frame_mark);
    analysis.fingerprint = fingerprint;
    analysis.valid = true;
    return true;
}

PositionValue analysed_value(const int16_t* sorted_states) {
    int64_t r = rank_of(sorted_states);
    return PositionValue{analysis.outcomes[r], analysis.plies[r]};
}

void forget_position_analysis() { analysis = Analysis{}; }
