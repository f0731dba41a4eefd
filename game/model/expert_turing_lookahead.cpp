#include "model/expert_turing_lookahead.h"

#include "base/arena.h"
#include "model/goal_evidence.h"
#include "model/goals.h"
#include "model/referee.h"
#include "model/tried_move.h"

namespace {

// Positions looked at per deepening step; a step that needs more is not used.
constexpr int64_t node_budget = 60000;
constexpr int64_t max_plies = 32;

struct Search {
    Goal own_goal;
    int64_t goal_count;
    // One row of goal weights per ply left, for the positions after the opponent's moves.
    double* rows;
    int64_t nodes;
};

bool over_budget(Search* search) { return ++search->nodes > node_budget; }

bool wins_now(Goal goal) { return stones_win_by_mode(stones.data, stones.count) && goal_met(goal); }

double opponent_turn(Search* search, int64_t plies, const double* weights);

// The chance that the searching seat wins within `plies`, itself to move; `weights` hold the
// chance of each opponent goal together with the game still running.
double own_turn(Search* search, int64_t plies, const double* weights) {
    double running = 0;
    for (int64_t g = 0; g < search->goal_count; g++) running += weights[g];
    if (plies <= 0 || running <= 0 || over_budget(search)) return 0;
    double best = -1;
    for (int64_t t = 0; t < transitions.count; t++) {
        int16_t stone = first_stone_on(transitions.data[t].from);
        if (stone < 0) continue;
        TriedMove tried = try_move(Move{-1, stone, transitions.data[t].to, transitions.data[t].rule});
        double value = wins_now(search->own_goal) ? running : opponent_turn(search, plies - 1, weights);
        take_back(tried);
        if (value > best) best = value;
    }
    if (best >= 0) return best;
    return wins_now(search->own_goal) ? running : opponent_turn(search, plies - 1, weights);
}

// After the opponent's move (or pass) the goals it would have won with drop out.
double after_opponent_move(Search* search, int64_t plies, const double* weights) {
    double* left = search->rows + plies * search->goal_count;
    bool stones_win = stones_win_by_mode(stones.data, stones.count);
    for (int64_t g = 0; g < search->goal_count; g++) {
        left[g] = weights[g] > 0 && stones_win && goal_met(goals.data[g]) ? 0 : weights[g];
    }
    return own_turn(search, plies - 1, left);
}

double opponent_turn(Search* search, int64_t plies, const double* weights) {
    if (plies <= 0 || over_budget(search)) return 0;
    double total = 0;
    int64_t moves = 0;
    for (int64_t t = 0; t < transitions.count; t++) {
        int16_t stone = first_stone_on(transitions.data[t].from);
        if (stone < 0) continue;
        moves++;
        TriedMove tried = try_move(Move{-1, stone, transitions.data[t].to, transitions.data[t].rule});
        total += after_opponent_move(search, plies, weights);
        take_back(tried);
    }
    if (moves == 0) return after_opponent_move(search, plies, weights);
    return total / static_cast<double>(moves);
}

}  // namespace

void keep_best_turing_moves(GrowableArray<Move>* moves) {
    if (moves->count < 2 || goals.count == 0) return;
    ArenaMark mark = arena_mark(FRAME_ARENA);
    int64_t seats = seats_in_play();
    int64_t opponent = (current_player + 1) % seats;
    Search search{players.data[current_player].goal, goals.count, nullptr, 0};
    search.rows = arena_push_array<double>(FRAME_ARENA, (max_plies + 1) * goals.count);
    double* belief = arena_push_array<double>(FRAME_ARENA, goals.count);
    goal_belief(opponent, search.own_goal, belief);
    double* values = arena_push_array<double>(FRAME_ARENA, moves->count);
    double* finished = arena_push_array<double>(FRAME_ARENA, moves->count);
    bool any_finished = false;
    for (int64_t plies = 2; plies <= max_plies; plies += 2) {
        search.nodes = 0;
        for (int64_t m = 0; m < moves->count; m++) {
            TriedMove tried = try_move(moves->data[m]);
            values[m] = wins_now(search.own_goal) ? 1 : opponent_turn(&search, plies, belief);
            take_back(tried);
        }
        if (search.nodes > node_budget) break;
        for (int64_t m = 0; m < moves->count; m++) finished[m] = values[m];
        any_finished = true;
    }
    if (any_finished) {
        double best = finished[0];
        for (int64_t m = 1; m < moves->count; m++) best = finished[m] > best ? finished[m] : best;
        int64_t kept = 0;
        for (int64_t m = 0; m < moves->count; m++) {
            if (finished[m] >= best - 1e-9) moves->data[kept++] = moves->data[m];
        }
        moves->count = kept;
    }
    arena_reset_to(mark);
}
