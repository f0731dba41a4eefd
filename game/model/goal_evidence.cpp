#include "model/goal_evidence.h"

#include "base/arena.h"
#include "base/random.h"
#include "model/goals.h"

GoalEvidence goal_evidence;

namespace {

constexpr int64_t tracked_goals = 64;
// Deals sampled to learn how often a fresh tape meets neither of two goals.
constexpr int64_t sampled_deals = 1024;
constexpr uint64_t deal_sampling_seed = 0x5eed'da1e;

uint64_t goals_met_now() {
    uint64_t met = 0;
    for (int64_t g = 0; g < goals.count && g < tracked_goals; g++) met |= goal_met(goals.data[g]) ? uint64_t{1} << g : 0;
    return met;
}

// For every tracked goal g, how many of the sampled fresh deals meet neither g nor own_goal.
void count_deals_meeting_neither(Goal own_goal, int64_t* counts) {
    int64_t cards = used_deck_copies() * used_deck_colors() * used_deck_shapes() * used_deck_numbers();
    GrowableArray<Card> full{arena_push_array<Card>(FRAME_ARENA, cards), 0, cards, FRAME_ARENA};
    push_full_deck(&full);
    int64_t cells = tape_length;
    GrowableArray<Card> real_tape = tape;
    GrowableArray<Card> dealt{arena_push_array<Card>(FRAME_ARENA, cells + 1), cells, cells + 1, FRAME_ARENA};
    RandomState saved = random_state;
    seed_random(deal_sampling_seed);
    tape = dealt;
    for (int64_t deal = 0; deal < sampled_deals; deal++) {
        // The last cells of a shuffled deck, drawn one by one; past the deck's end, default cards.
        for (int64_t i = 0; i < cells; i++) {
            int64_t left = full.count - i;
            if (left <= 0) {
                tape.data[i] = default_card;
                continue;
            }
            int64_t j = static_cast<int64_t>(random_below(static_cast<uint64_t>(left)));
            Card pick = full.data[j];
            full.data[j] = full.data[left - 1];
            full.data[left - 1] = pick;
            tape.data[i] = pick;
        }
        if (goal_met(own_goal)) continue;
        uint64_t met = goals_met_now();
        for (int64_t g = 0; g < goals.count && g < tracked_goals; g++) counts[g] += (met >> g & 1) ? 0 : 1;
    }
    tape = real_tape;
    random_state = saved;
}

}  // namespace

void start_goal_evidence() {
    goal_evidence = GoalEvidence{};
    goal_evidence.met_on_opening_tape = goals_met_now();
}

void note_goals_unmet(int64_t seat) {
    if (machine_kind != turing_machine || seat < 0 || seat >= card_property_count) return;
    if (stones_win_by_mode(stones.data, stones.count)) goal_evidence.met_at_turn_end[seat] |= goals_met_now();
}

void goal_belief(int64_t seat, Goal own_goal, double* weights) {
    if (goals.count == 0) return;
    ArenaMark mark = arena_mark(FRAME_ARENA);
    uint64_t ruled_out = seat >= 0 && seat < card_property_count ? goal_evidence.met_at_turn_end[seat] : 0;
    // A tape that meets the seat's own goal was dealt with the redealing given up: it says nothing.
    bool opening_tells = true;
    for (int64_t g = 0; g < goals.count && g < tracked_goals; g++) {
        if (same_goal(goals.data[g], own_goal) && (goal_evidence.met_on_opening_tape >> g & 1)) opening_tells = false;
    }
    int64_t* neither = arena_push_array<int64_t>(FRAME_ARENA, tracked_goals);
    for (int64_t g = 0; g < tracked_goals; g++) neither[g] = 0;
    if (opening_tells && goals.count > 1) count_deals_meeting_neither(own_goal, neither);
    double total = 0;
    for (int64_t g = 0; g < goals.count; g++) {
        double weight = 1;
        if (g < tracked_goals) {
            if (ruled_out >> g & 1) weight = 0;
            // Under goal g the opening tape is a deal that met neither g nor the own goal, so its
            // chance is divided by how often deals do that. A goal that no sampled deal avoids
            // made the redealing give up, and then the tape tells nothing about it.
            bool met_on_opening = goal_evidence.met_on_opening_tape >> g & 1;
            if (opening_tells && neither[g] > 0) weight *= met_on_opening ? 0 : static_cast<double>(sampled_deals) / static_cast<double>(neither[g]);
        }
        weights[g] = weight;
        total += weight;
    }
    // Evidence that rules out every goal is evidence of something else: keep the even chances.
    for (int64_t g = 0; g < goals.count; g++) weights[g] = total > 0 ? weights[g] / total : 1.0 / static_cast<double>(goals.count);
    arena_reset_to(mark);
}
