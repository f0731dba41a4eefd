#include "model/referee.h"

#include "base/clamp.h"
#include "base/random.h"
#include "base/text_format.h"
#include "model/draw_rules.h"
#include "model/goal_evidence.h"
#include "model/goals.h"
#include "model/map_file.h"
#include "model/map_list.h"
#include "model/move_options.h"
#include "model/turn_state.h"


static Card deal_card() {
    Card card = top_card(deck);
    if (deck.count > 0) deck.count--;
    return card;
}

// A new game has no last move to show; the move count goes on, so no screen takes an old move
// for a new one.
static void reset_turn_progress() {
    int64_t moves_so_far = last_move.number;
    turn_progress = {};
    last_move.number = moves_so_far;
}

static bool a_goal_is_met() {
    for (int64_t p = 0; p < player_count && p < players.count; p++) {
        if (goal_met(players.data[p].goal)) return true;
    }
    return false;
}

// The tape's first cards come from the deck; past the deck's end it holds blank cards. Returns how
// many came from the deck.
static int64_t deal_tape() {
    int64_t from_deck = deck.count < tape_length ? deck.count : tape_length;
    array_clear(&tape);
    for (int64_t i = 0; i < tape_length; i++) array_push(&tape, deal_card());
    tape_head = 0;
    return from_deck;
}

// A tape that already meets a goal would hand the game to whoever moves first, without a choice.
// Some goals hold for every tape (a sum of at least zero); after this many deals the last one stays.
static void redeal_tape_while_a_goal_is_met(int64_t from_deck) {
    for (int64_t deal = 0; deal < max_tape_deals && a_goal_is_met(); deal++) {
        for (int64_t i = 0; i < from_deck; i++) array_push(&deck, tape.data[i]);
        shuffle_deck();
        from_deck = deal_tape();
    }
}

bool start_game() {
    move_delay = 0;
    if (current_map_list && current_map_index >= 0 && current_map_index < current_map_list->count) {
        load_map(current_map_list->data[current_map_index].path);
    }
    reset_turn_progress();
    current_player = 0;
    winner = no_winner;
    if (states.count == 0) {
        print(str("failed to start game: the map has no states\n"));
        game_blocked = 1;
        return false;
    }
    player_count = clamp<int64_t>(player_count, 1, card_property_count);
    hand_size = clamp<int64_t>(hand_size, 0, max_hand_cards);
    tape_length = clamp<int64_t>(tape_length, 0, max_tape_cells);

    array_clear(&stack);
    array_clear(&deck);
    push_full_deck(&deck);
    shuffle_deck();

    int64_t tape_from_deck = deal_tape();

    while (players.count < player_count) array_push(&players, new_player(players.count));
    for (int64_t p = 0; p < player_count; p++) {
        Player* player = &players.data[p];
        array_clear(&player->hand);
        if (machine_kind == pushdown_machine) {
            for (int64_t i = 0; i < hand_size; i++) array_push(&player->hand, deal_card());
        } else if (machine_kind == turing_machine) {
            player->goal = goals.count > 0 ? goals.data[random_below(static_cast<uint64_t>(goals.count))] : default_goal;
        }
    }
    if (machine_kind == turing_machine) redeal_tape_while_a_goal_is_met(tape_from_deck);
    start_goal_evidence();
    // With two or more humans at the screen the first seat, too, shows its turn before its hand.
    hand_revealed = !players.data[0].is_computer && human_seats() <= 1 ? 1 : 0;
    if (stones.count == 0) {
        array_push(&stones, int16_t{0});
        array_push(&stones, int16_t{0});
    }
    start_position_history();
    return true;
}

int16_t transition_taken(int16_t from, int16_t to, string rule) {
    int16_t first = -1;
    for (int64_t i = 0; i < transitions.count; i++) {
        const Transition& t = transitions.data[i];
        if (t.from != from || t.to != to) continue;
        if (t.rule.data == rule.data && t.rule.length == rule.length) return static_cast<int16_t>(i);
        if (first < 0) first = static_cast<int16_t>(i);
    }
    return first;
}

void apply_move(int16_t stone, int16_t target, string rule, Card card, int64_t hand_index) {
    if (stone < 0 || stone >= stones.count || target < 0 || target >= states.count) return;
    int16_t from = stones.data[stone];
    int64_t written_cell = machine_kind == turing_machine && rule.length > 0 && tape.count > 0 ? tape_head : -1;
    last_move = LastMove{stone, from, transition_taken(from, target, rule), static_cast<uint8_t>(current_player),
                         written_cell, last_move.number + 1};
    stones.data[stone] = target;
    if (machine_kind == pushdown_machine && current_player >= 0 && current_player < players.count) {
        remove_card(&players.data[current_player].hand, hand_index);
        array_push(&stack, card);
    }
    if (machine_kind == turing_machine) apply_tape_action(rule);
    moved_this_turn = 1;
    last_mover = static_cast<uint8_t>(current_player);
    move_delay = move_pause;
}

void apply_tape_action(string rule) {
    if (rule.length <= 0 || tape.count == 0) return;
    if (tape_head < 0 || tape_head >= tape.count) tape_head = 0;
    Card* cell = &tape.data[tape_head];
    char write = rule.data[0];
    if (write >= 'A' && write <= 'F') cell->color = static_cast<uint8_t>(write - 'A');
    if (write >= 'a' && write <= 'f') cell->shape = static_cast<uint8_t>(write - 'a');
    if (write >= '1' && write <= '6') cell->number = static_cast<int8_t>(write - '0');
    if (rule.length < 2) return;
    int64_t step = rule.data[1] == 'L' ? -1 : rule.data[1] == 'R' ? 1 : 0;
    tape_head = ((tape_head + step) % tape.count + tape.count) % tape.count;
}

void draw_from_deck(Player* player) {
    if (deck.count > 0) deck_card_drawn_this_turn = 1;
    array_push(&player->hand, deal_card());
}

void recycle_stack() {
    if (deck.count > 0) return;
    for (int64_t i = 0; i < stack.count; i++) array_push(&deck, stack.data[i]);
    array_clear(&stack);
    shuffle_deck();
}

void shuffle_deck() {
    for (int64_t i = deck.count - 1; i >= 1; i--) {
        int64_t j = static_cast<int64_t>(random_below(static_cast<uint64_t>(i + 1)));
        Card swap = deck.data[i];
        deck.data[i] = deck.data[j];
        deck.data[j] = swap;
    }
}

static bool kind_condition_met(const Player& player) {
    switch (machine_kind) {
        case pushdown_machine: return player.hand.count == 0;
        case turing_machine: return goal_met(player.goal);
        default: return true;
    }
}

void end_turn() {
    if (player_count > 1) hand_revealed = 0;
    source_state = -1;
    target_state = -1;
    selected_transition = -1;
    selected_card = -1;
    card_drawn = 0;
    if (current_player < 0 || current_player >= players.count) current_player = 0;
    if (players.count == 0) return;
    if (kind_condition_met(players.data[current_player]) && stones_win_by_mode(stones.data, stones.count)) {
        winner = static_cast<uint8_t>(current_player);
        return;
    }
    note_goals_unmet(current_player);
    idle_turns = moved_this_turn || deck_card_drawn_this_turn ? 0 : idle_turns + 1;
    moved_this_turn = 0;
    deck_card_drawn_this_turn = 0;
    int64_t seats = seats_in_play();
    current_player = static_cast<int8_t>(current_player + 1 < seats ? current_player + 1 : 0);
    // A whole round of seats that could neither move nor take a card from the deck, and no
    // seat able to move now: nothing can ever change again.
    if (idle_turns >= seats && !any_seat_can_move()) {
        game_blocked = 1;
        return;
    }
    note_turn_passed();
    if (game_drawn) return;
    if (players.data[current_player].is_computer) {
        computer_delay = computer_pause;
    } else if (human_count <= 1) {
        hand_revealed = 1;
    }
}
