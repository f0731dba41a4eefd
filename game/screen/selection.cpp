#include "screen/selection.h"

#include "model/game_data.h"
#include "model/move_choice.h"
#include "model/turn_state.h"

void drop_selection_of_states() {
    source_state = -1;
    target_state = -1;
    selected_transition = -1;
}

void take_back_selection(uint8_t verdict) {
    switch (verdict) {
        case choice_made:
            // On a pushdown machine the card has left the hand; keeping its index would point at its neighbour.
            if (machine_kind == pushdown_machine) selected_card = -1;
            break;
        case choice_drops_states: drop_selection_of_states(); break;
        case choice_drops_target:
            target_state = -1;
            selected_transition = -1;
            break;
        case choice_drops_card: selected_card = -1; break;
        default: break;
    }
}
