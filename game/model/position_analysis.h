// Exact values of state-machine positions, found backwards from the positions where the game
// ends (retrograde analysis). A position is the multiset of stone states; the game is
// impartial, so its value does not depend on which seat is to move. Every win mode, normal
// play (no move loses) and cycles are included; what is neither won nor lost is drawn.
#pragma once

#include <cstdint>

// Positions analysed at most: one byte of outcome and eight of working memory each (36 MiB
// at the bound, kept for the next map). Past it the expert falls back on loopy nimbers.
constexpr int64_t max_analysed_positions = 4194304;
constexpr int64_t max_analysed_stones = 32;

// For the seat to move.
enum : uint8_t {
    position_drawn = 0,
    position_won = 1,
    position_lost = 2
};

struct PositionValue {
    uint8_t outcome;
    // Moves until the end with best play: the winner hurries, the loser holds out.
    uint32_t plies;
};

// How many positions the loaded map has with its current number of stones; the bound plus
// one stands for anything larger.
int64_t position_count();
// Analyses the loaded map for its current stones unless that is done already; false when
// its positions outnumber the bound.
bool analyse_positions();
// The position with these stone states (sorted, as many as the analysis was made for).
PositionValue analysed_value(const int16_t* sorted_states);
void forget_position_analysis();
