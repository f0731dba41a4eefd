#include "screen/hint.h"

#include "model/expert_player.h"
#include "model/turn_state.h"
#include "model/referee.h"
#include "screen/frame_input.h"

ShownHint hint;

void reset_hint() { hint = ShownHint{false, -1, -1, -1, -1, -1, -1, -1}; }

int64_t current_hand_count() {
    return current_player >= 0 && current_player < players.count ? players.data[current_player].hand.count : 0;
}

void show_hint(const Move& move) {
    int16_t from = stones.data[move.stone];
    hint = ShownHint{true,          from,         move.target, transition_taken(from, move.target, move.rule), move.card, current_player,
                     turns_played, current_hand_count()};
}

void update_hint(bool human_turn) {
    bool same_turn = hint.player == current_player && hint.turn == turns_played && hint.hand_count == current_hand_count();
    if (!same_turn || move_delay > 0 || game_over()) hint.shown = false;
    if (!human_turn || game_over() || move_delay > 0 || !key_pressed(KEY_H)) return;
    Move move;
    if (expert_hint(&move)) show_hint(move);
}
