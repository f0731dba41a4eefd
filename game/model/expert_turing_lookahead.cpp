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
    int64_t seats;
    // One block of goal weights per ply left, a row per seat counted from the searching one
    // (its own row unused), for the positions after another seat's move.
    double* rows;
    int64_t nodes;
};

bool over_budget(Search* search) { return ++search->nodes > node_budget; }

bool wins_now(Goal goal) { return stones_win_by_mode(stones.data, stones.count) && goal_met(goal); }

double other_turn(Search* search, int64_t plies, int64_t offset, const double* weights);

// The chance that no other seat has won yet: its goals' weights, seat by seat, multiplied.
double still_running(const Search* search, const double* weights) {
    double running = 1;
    for (int64_t o = 1; o < search->seats; o++) {
        double seat = 0;
        for (int64_t g = 0; g < search->goal_count; g++) seat += weights[o * search->goal_count + g];
        running *= seat;
    }
    return running;
}

// The chance that the searching seat wins within `plies`, itself to move; `weights` hold the
// chance of each other seat's goals together with the game still running.
double own_turn(Search* search, int64_t plies, const double* weights) {
    double running = still_running(search, weights);
    if (plies <= 0 || running <= 0 || over_budget(search)) return 0;
    double best = -1;
    for (int64_t t = 0; t < transitions.count; t++) {
        int16_t stone = first_stone_on(transitions.data[t].from);
        if (stone < 0) continue;
        TriedMove tried = try_move(Move{-1, stone, transitions.data[t].to, transitions.data[t].rule});
        double value = wins_now(search->own_goal) ? running : other_turn(search, plies - 1, 1, weights);
        take_back(tried);
        if (value > best) best = value;
    }
    if (best >= 0) return best;
    return wins_now(search->own_goal) ? running : other_turn(search, plies - 1, 1, weights);
}

// After a seat's move (or pass) the goals it would have won with drop out.
double after_other_move(Search* search, int64_t plies, int64_t offset, const double* weights) {
    int64_t block = search->seats * search->goal_count;
    double* left = search->rows + plies * block;
    for (int64_t i = 0; i < block; i++) left[i] = weights[i];
    double* row = left + offset * search->goal_count;
    bool stones_win = stones_win_by_mode(stones.data, stones.count);
    for (int64_t g = 0; g < search->goal_count; g++) {
        if (row[g] > 0 && stones_win && goal_met(goals.data[g])) row[g] = 0;
    }
    int64_t next = offset + 1 < search->seats ? offset + 1 : 0;
    return next == 0 ? own_turn(search, plies - 1, left) : other_turn(search, plies - 1, next, left);
}

double other_turn(Search* search, int64_t plies, int64_t offset, const double* weights) {
    if (plies <= 0 || over_budget(search)) return 0;
    double total = 0;
    int64_t moves = 0;
    for (int64_t t = 0; t < transitions.count; t++) {
        int16_t stone = first_stone_on(transitions.data[t].from);
        if (stone < 0) continue;
        moves++;
        TriedMove tried = try_move(Move{-1, stone, transitions.data[t].to, transitions.data[t].rule});
        total += after_other_move(search, plies, offset, weights);
        take_back(tried);
    }
    if (moves == 0) return after_other_move(search, plies, offset, weights);
    return total / static_cast<double>(moves);
}

}  // namespace

void keep_best_turing_moves(GrowableArray<Move>* moves) {
    int64_t seats = seats_in_play();
    if (moves->count < 2 || goals.count == 0 || seats < 2) return;
    ArenaMark mark = arena_mark(FRAME_ARENA);
    Search search{players.data[current_player].goal, goals.count, seats, nullptr, 0};
    search.rows = arena_push_array<double>(FRAME_ARENA, (max_plies + 1) * seats * goals.count);
    double* belief = arena_push_array<double>(FRAME_ARENA, seats * goals.count);
    for (int64_t o = 1; o < seats; o++) goal_belief((current_player + o) % seats, search.own_goal, belief + o * goals.count);
    double* values = arena_push_array<double>(FRAME_ARENA, moves->count);
    double* finished = arena_push_array<double>(FRAME_ARENA, moves->count);
    bool any_finished = false;
    // Each step looks one more round of every seat ahead.
    for (int64_t plies = seats; plies <= max_plies; plies += seats) {
        search.nodes = 0;
        for (int64_t m = 0; m < moves->count; m++) {
            TriedMove tried = try_move(moves->data[m]);
            values[m] = wins_now(search.own_goal) ? 1 : other_turn(&search, plies, 1, belief);
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
