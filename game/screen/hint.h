// The hint: on a human seat's turn the H key shows the move the expert would make there (the
// stone's state, the target and, on a pushdown machine, the hand card) without making it.
#pragma once

#include "model/computer_players.h"

#include <cstdint>

struct ShownHint {
    bool shown;
    int16_t from_state;
    int16_t target;
    // The arrow the move takes, lit on the board.
    int16_t transition;
    int64_t card;
    // The turn it belongs to; any change of turn, move or hand size puts it away.
    int8_t player;
    int64_t turn;
    int64_t hand_count;
};

extern ShownHint hint;

void reset_hint();
// Shows the move as the hint of the turn as it stands.
void show_hint(const Move& move);
// The hand size of the seat to move, by which a mark of its turn sees a card drawn or played.
int64_t current_hand_count();
// Called by the play-mode update: H asks for a hint; a stale one is put away.
void update_hint(bool human_turn);
