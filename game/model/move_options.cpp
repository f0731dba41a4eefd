#include "model/move_options.h"

#include "model/rules.h"

static bool transition_open(const Transition& t) { return first_stone_on(t.from) >= 0; }

bool seat_can_move(int64_t seat) {
    if (seat < 0 || seat >= players.count) return false;
    const Player& player = players.data[seat];
    for (int64_t i = 0; i < transitions.count; i++) {
        const Transition& t = transitions.data[i];
        if (!transition_open(t)) continue;
        switch (machine_kind) {
            case pushdown_machine:
                for (int64_t j = 0; j < player.hand.count; j++) {
                    if (rule_accepts(t.rule, player.hand.data[j])) return true;
                }
                break;
            case turing_machine:
                // A computer never takes a transition without a tape action.
                if (!player.is_computer || t.rule.length > 0) return true;
                break;
            default: return true;
        }
    }
    return false;
}

bool any_seat_can_move() {
    int64_t seats = seats_in_play();
    for (int64_t seat = 0; seat < seats; seat++) {
        if (seat_can_move(seat)) return true;
    }
    return false;
}
