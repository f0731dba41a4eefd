// Move values: while V is held on a human seat's turn, every move that seat can make is marked
// with the expert's rating of it, and the best one as the hint marks it. On a state machine a
// move's label gives its exact outcome for the mover and how many moves the game then lasts; on
// pushdown and Turing machines the share of games it wins in the expert's playouts, which see
// only what the seat to move may see (on a pushdown machine per hand card, over the card's moves).
#pragma once

#include "model/expert_player.h"
#include "render/matrix.h"

struct ShownMoveValues {
    bool shown;
    // The rated moves, kept in storage of their own from one frame to the next.
    GrowableArray<RatedMove> rated;
    // The turn they belong to; any change of turn, move or hand size works them out again.
    int8_t player;
    int64_t turn;
    int64_t hand_count;
    // The hint was put up for the best move and goes when the key is let go.
    bool marked_hint;
};

extern ShownMoveValues move_values;

void reset_move_values();
// Called by the play-mode update after the hint: V held shows the values, letting go hides them.
void update_move_values(bool human_turn);
// Where a transition's value is drawn, in world units: below its rule text; an arrow without one
// carries it along its line, nearer the target, where the arrows leaving one state have drawn apart.
void value_place(const Transition& t, double* x, double* y);
// Called by the game screen after the hand: the labels on the machine (through `view`) and the
// shares over the hand cards.
void draw_move_values(const Matrix& view);
