#include "model/game_snapshot.h"

#include "model/goals.h"

#include <cstring>

namespace {

// Arrays keep their room from copy to copy, so a snapshot taken again and again stops growing.
template <typename T>
void copy_array(GrowableArray<T>* into, const GrowableArray<T>& from) {
    int64_t doubled = 2 * into->capacity;
    if (from.count > into->capacity) array_reserve(into, from.count > doubled ? from.count : doubled);
    if (from.count > 0) memcpy(static_cast<void*>(into->data), from.data, static_cast<size_t>(from.count) * sizeof(T));
    into->count = from.count;
}

// Each seat keeps the hand storage of the side copied into; only its cards are copied.
void copy_players(GrowableArray<Player>* into, const GrowableArray<Player>& from, uint8_t hand_arena) {
    while (into->count < from.count) {
        Player fresh = new_player(into->count);
        fresh.hand = GrowableArray<Card>{nullptr, 0, 0, hand_arena};
        array_push(into, fresh);
    }
    into->count = from.count;
    for (int64_t seat = 0; seat < from.count; seat++) {
        GrowableArray<Card> hand = into->data[seat].hand;
        into->data[seat] = from.data[seat];
        into->data[seat].hand = hand;
        copy_array(&into->data[seat].hand, from.data[seat].hand);
    }
}

void copy_positions(PositionHistory* into, const PositionHistory& from) {
    copy_array(&into->hashes, from.hashes);
    copy_array(&into->seats, from.seats);
    copy_array(&into->stone_states, from.stone_states);
    into->stones_per_position = from.stones_per_position;
}

bool same_state(const State& a, const State& b) {
    return a.x == b.x && a.y == b.y && a.marked == b.marked && a.accepting == b.accepting;
}

bool same_transition(const Transition& a, const Transition& b) {
    return a.from == b.from && a.to == b.to && a.bend == b.bend && a.label_dx == b.label_dx &&
           a.label_dy == b.label_dy && string_equals(a.rule, b.rule);
}

template <typename T, typename Same>
bool same_array(const GrowableArray<T>& a, const GrowableArray<T>& b, Same same) {
    if (a.count != b.count) return false;
    for (int64_t i = 0; i < a.count; i++) {
        if (!same(a.data[i], b.data[i])) return false;
    }
    return true;
}

}  // namespace

GameSnapshot new_game_snapshot(uint8_t arena_id) {
    GameSnapshot snapshot{};
    snapshot.states.arena_id = snapshot.transitions.arena_id = snapshot.goals.arena_id = arena_id;
    snapshot.stones.arena_id = snapshot.players.arena_id = arena_id;
    snapshot.deck.arena_id = snapshot.stack.arena_id = snapshot.tape.arena_id = arena_id;
    snapshot.positions.hashes.arena_id = snapshot.positions.seats.arena_id = arena_id;
    snapshot.positions.stone_states.arena_id = arena_id;
    snapshot.winner = no_winner;
    return snapshot;
}

void take_game_snapshot(GameSnapshot* into, uint8_t parts) {
    copy_array(&into->stones, stones);
    if (parts & snapshot_map) {
        copy_array(&into->states, states);
        copy_array(&into->transitions, transitions);
        copy_array(&into->goals, goals);
        into->win_mode = win_mode;
        into->deck_copies = deck_copies;
        into->deck_colors = deck_colors;
        into->deck_shapes = deck_shapes;
        into->deck_numbers = deck_numbers;
        into->hand_size = hand_size;
        into->tape_length = tape_length;
    }
    if (!(parts & snapshot_play)) return;
    copy_players(&into->players, players, into->players.arena_id);
    into->player_count = player_count;
    copy_array(&into->deck, deck);
    copy_array(&into->stack, stack);
    copy_array(&into->tape, tape);
    into->tape_head = tape_head;
    into->current_player = current_player;
    into->winner = winner;
    into->source_state = source_state;
    into->target_state = target_state;
    into->selected_transition = selected_transition;
    into->selected_card = selected_card;
    into->hand_revealed = hand_revealed;
    into->card_drawn = card_drawn;
    into->move_delay = move_delay;
    into->computer_delay = computer_delay;
    into->human_count = human_count;
    into->progress = turn_progress;
    copy_positions(&into->positions, position_history);
    into->evidence = goal_evidence;
    into->random = random_state;
}

void restore_game_snapshot(const GameSnapshot& from, uint8_t parts) {
    copy_array(&stones, from.stones);
    if (parts & snapshot_map) {
        copy_array(&states, from.states);
        copy_array(&transitions, from.transitions);
        copy_array(&goals, from.goals);
        win_mode = from.win_mode;
        deck_copies = from.deck_copies;
        deck_colors = from.deck_colors;
        deck_shapes = from.deck_shapes;
        deck_numbers = from.deck_numbers;
        hand_size = from.hand_size;
        tape_length = from.tape_length;
    }
    if (!(parts & snapshot_play)) return;
    copy_players(&players, from.players, players.arena_id);
    player_count = from.player_count;
    copy_array(&deck, from.deck);
    copy_array(&stack, from.stack);
    copy_array(&tape, from.tape);
    tape_head = from.tape_head;
    current_player = from.current_player;
    winner = from.winner;
    source_state = from.source_state;
    target_state = from.target_state;
    selected_transition = from.selected_transition;
    selected_card = from.selected_card;
    hand_revealed = from.hand_revealed;
    card_drawn = from.card_drawn;
    move_delay = from.move_delay;
    computer_delay = from.computer_delay;
    human_count = from.human_count;
    turn_progress = from.progress;
    copy_positions(&position_history, from.positions);
    goal_evidence = from.evidence;
    random_state = from.random;
}

bool map_matches_snapshot(const GameSnapshot& shot) {
    return shot.win_mode == win_mode && shot.deck_copies == deck_copies && shot.deck_colors == deck_colors &&
           shot.deck_shapes == deck_shapes && shot.deck_numbers == deck_numbers && shot.hand_size == hand_size &&
           shot.tape_length == tape_length && same_array(shot.states, states, same_state) &&
           same_array(shot.transitions, transitions, same_transition) &&
           same_array(shot.stones, stones, [](int16_t a, int16_t b) { return a == b; }) &&
           same_array(shot.goals, goals, same_goal);
}
