// A seat's choice of move, card or end of turn checked and carried out by one set of rules, for
// a click on this computer and for a choice sent by a remote player alike; a refusal says why.
#pragma once

#include "base/strings.h"

#include <cstdint>

struct MoveChoice {
    int16_t source_state;
    int16_t target_state;
    int16_t transition;
    int64_t hand_card;
};

// What became of a choice: made, still incomplete, or refused with what of it is taken back.
enum ChoiceVerdict : uint8_t {
    choice_made = 0,
    choice_incomplete = 1,
    choice_drops_states = 2,
    choice_drops_target = 3,
    choice_drops_card = 4,
    // Not this seat's to choose now, or not a choice the game allows at all: nothing is taken back.
    choice_refused = 5
};

struct ChoiceOutcome {
    ChoiceVerdict verdict;
    // Empty when made or incomplete.
    string refusal;
};

// Carries out the current seat's move when the choice is complete and legal. A transition given is
// used only if it joins the two states; -1 (or a wrong one) means the lowest-numbered that does.
ChoiceOutcome make_chosen_move(const MoveChoice& choice);
// A pushdown seat takes the deck's top card, once a turn, while the deck holds any.
bool may_draw_card();
ChoiceOutcome draw_chosen_card();
// After drawing, a pushdown seat may end its turn without a move while the deck holds any.
bool may_end_turn_unmoved();
ChoiceOutcome end_turn_unmoved();
// Whether a remote seat may choose now: its turn, no move's pause running, the game not over.
bool remote_seat_may_choose(int64_t seat);
