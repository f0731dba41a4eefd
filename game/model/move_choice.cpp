#include "model/move_choice.h"

#include "model/game_data.h"
#include "model/referee.h"
#include "model/rules.h"
#include "model/turn_state.h"

static ChoiceOutcome outcome(ChoiceVerdict verdict, const char* refusal) {
    return ChoiceOutcome{verdict, refusal ? str(refusal) : string{nullptr, 0}};
}

static bool hand_fits(const GrowableArray<Card>& hand, string rule) {
    for (int64_t k = 0; k < hand.count; k++) {
        if (rule_accepts(rule, hand.data[k])) return true;
    }
    return false;
}

static int16_t joining_transition(const MoveChoice& choice) {
    int16_t given = choice.transition;
    if (given >= 0 && given < transitions.count && transitions.data[given].from == choice.source_state &&
        transitions.data[given].to == choice.target_state) {
        return given;
    }
    for (int64_t t = 0; t < transitions.count; t++) {
        const Transition& transition = transitions.data[t];
        if (transition.from == choice.source_state && transition.to == choice.target_state) return static_cast<int16_t>(t);
    }
    return -1;
}

ChoiceOutcome make_chosen_move(const MoveChoice& choice) {
    bool source_chosen = choice.source_state >= 0;
    // A move cannot start from an empty state, so nothing of such a choice is kept.
    if (source_chosen && (choice.source_state >= states.count || first_stone_on(choice.source_state) < 0)) {
        return outcome(choice_drops_states, "No stone stands on that state");
    }
    if (!source_chosen || choice.target_state < 0) return outcome(choice_incomplete, nullptr);
    int16_t transition = joining_transition(choice);
    if (transition < 0) return outcome(choice_drops_target, "No transition leads from that state to that one");
    int16_t stone = first_stone_on(choice.source_state);
    string rule = transitions.data[transition].rule;
    if (machine_kind != pushdown_machine) {
        apply_move(stone, choice.target_state, rule, default_card, -1);
        return outcome(choice_made, nullptr);
    }
    if (current_player < 0 || current_player >= players.count) return outcome(choice_incomplete, nullptr);
    const GrowableArray<Card>& hand = players.data[current_player].hand;
    if (!hand_fits(hand, rule)) return outcome(choice_drops_target, "No card in your hand fits that rule");
    if (choice.hand_card < 0 || choice.hand_card >= hand.count) return outcome(choice_incomplete, nullptr);
    Card card = hand.data[choice.hand_card];
    if (!rule_accepts(rule, card)) return outcome(choice_drops_card, "That card does not fit the rule");
    apply_move(stone, choice.target_state, rule, card, choice.hand_card);
    return outcome(choice_made, nullptr);
}

bool may_draw_card() {
    return machine_kind == pushdown_machine && !card_drawn && deck.count > 0 && current_player >= 0 &&
           current_player < players.count;
}

ChoiceOutcome draw_chosen_card() {
    if (machine_kind != pushdown_machine) return outcome(choice_refused, "This machine has no cards to draw");
    if (card_drawn) return outcome(choice_refused, "You have drawn a card this turn already");
    if (!may_draw_card()) return outcome(choice_refused, "The deck is empty");
    draw_from_deck(&players.data[current_player]);
    card_drawn = 1;
    return outcome(choice_made, nullptr);
}

bool may_end_turn_unmoved() { return card_drawn && deck.count > 0; }

ChoiceOutcome end_turn_unmoved() {
    if (!card_drawn) return outcome(choice_refused, "Draw a card before you end the turn without a move");
    if (!may_end_turn_unmoved()) return outcome(choice_refused, "The deck is empty");
    end_turn();
    return outcome(choice_made, nullptr);
}

bool remote_seat_may_choose(int64_t seat) {
    return !game_over() && move_delay <= 0 && seat >= 0 && seat < seats_in_play() && seat == current_player;
}
