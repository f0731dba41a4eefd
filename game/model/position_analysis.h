// Exact values of state-machine positions, found backwards from the positions where the game
// ends (retrograde analysis). A position is the multiset of stone states; the game is
// impartial, so its value does not depend on which seat is to move. Every win mode, normal
// play (no move loses) and cycles are included; what is neither won nor lost is drawn.
//
// With three or more seats every seat plays for its own win (max-n): the game ends when a move
// meets the win mode or leaves no move, and the seat that moved last wins. A seat that can win
// takes the quickest win; one that cannot prefers a draw (a cycle it can stay in); one that can
// neither holds out longest, and among equally long games takes the first such move in
// transition order. A value is then the seat that wins, counted from the seat to move.
#pragma once

#include <cstdint>

// Positions analysed at most: one byte of outcome and eight of working memory each (36 MiB
// at the bound, kept for the next map). Past it the expert falls back on loopy nimbers.
constexpr int64_t max_analysed_positions = 4194304;
// The bound in force: max_analysed_positions, lower only where a test needs a small map to
// lie past it.
extern int64_t analysed_positions_bound;
constexpr int64_t max_analysed_stones = 32;

// For the seat to move.
enum : uint8_t {
    position_drawn = 0,
    position_won = 1,
    position_lost = 2
};

struct PositionValue {
    uint8_t outcome;
    // The seat that wins with best play, counted from the seat to move (0: itself); with two
    // seats 0 is won and 1 lost. Meaningless for a draw.
    uint8_t winner_offset;
    // Moves until the end with best play: the winner hurries, the loser holds out.
    uint32_t plies;
};

// How many positions the loaded map has with its current number of stones; the bound plus
// one stands for anything larger.
int64_t position_count();
// Analyses the loaded map for its current stones and seats in play unless that is done
// already; false when its positions outnumber the bound.
bool analyse_positions();
// The position with these stone states (sorted, as many as the analysis was made for).
PositionValue analysed_value(const int16_t* sorted_states);
// The analysed positions are numbered 0 to analysed_position_total() - 1.
int64_t analysed_position_total();
int64_t analysed_position_rank(const int16_t* sorted_states);
void analysed_position_at(int64_t rank, int16_t* sorted_states);
uint64_t analysed_fingerprint();
// Counts forget_position_analysis calls: what was kept alongside the analysis goes with it.
uint64_t analysis_forgets();
// The seats the analysis was made for (2 for one or two seats).
int64_t analysed_seats();
void forget_position_analysis();
