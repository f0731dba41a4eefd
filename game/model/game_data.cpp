#include "model/game_data.h"

#include "base/clamp.h"

uint8_t machine_kind;
double map_x, map_y, map_scale;
GrowableArray<State> states;
GrowableArray<Transition> transitions;
GrowableArray<int16_t> stones;
GrowableArray<Goal> goals;
uint8_t win_mode;
int64_t deck_copies, deck_colors, deck_shapes, deck_numbers, hand_size, tape_length;
GrowableArray<uint8_t> nimbers;
GrowableArray<Player> players;
int64_t player_count;
int8_t current_player;
uint8_t winner;
GrowableArray<Card> deck;
GrowableArray<Card> stack;
GrowableArray<Card> tape;
int64_t tape_head;

void reset_map() {
    machine_kind = pushdown_machine;
    map_x = 0;
    map_y = 0;
    map_scale = 128;
    states = {};
    transitions = {};
    stones = {};
    goals = {};
    win_mode = immediate;
    deck_copies = 1;
    deck_colors = 4;
    deck_shapes = 4;
    deck_numbers = 4;
    hand_size = 8;
    tape_length = 4;
    nimbers = {};
}

void reset_game() {
    players = {};
    player_count = 3;
    current_player = 0;
    winner = no_winner;
    deck = {};
    stack = {};
    tape = {};
    tape_head = 0;
}

Card top_card(const GrowableArray<Card>& cards) {
    if (cards.count <= 0) return default_card;
    return cards.data[cards.count - 1];
}

void remove_card(GrowableArray<Card>* cards, int64_t index) {
    if (index < 0 || index >= cards->count) return;
    memmove(cards->data + index, cards->data + index + 1, static_cast<size_t>(cards->count - index - 1) * sizeof(Card));
    cards->count -= 1;
}

void remove_transition(int64_t index) {
    if (index < 0 || index >= transitions.count) return;
    transitions.data[index] = transitions.data[transitions.count - 1];
    transitions.count -= 1;
}

int16_t first_stone_on(int16_t state) {
    for (int64_t i = 0; i < stones.count; i++) {
        if (stones.data[i] == state) return static_cast<int16_t>(i);
    }
    return -1;
}

void state_center(int16_t state, float* x, float* y) {
    *x = 0;
    *y = 0;
    if (state < 0 || state >= states.count) return;
    const State& s = states.data[state];
    *x = static_cast<float>(map_x + s.x * map_scale);
    *y = static_cast<float>(map_y + s.y * map_scale);
}

void set_player_color(Player* player, uint8_t color_index) {
    player->color_index = color_index;
    player->color = player_color(static_cast<uint8_t>(color_index % card_property_count));
}

Player new_player(int64_t index) {
    Player player{};
    player.difficulty = 0;
    player.is_computer = 0;
    player.goal = default_goal;
    set_player_color(&player, static_cast<uint8_t>(index));
    return player;
}

constexpr int64_t max_deck_copies = 64;

int64_t seats_in_play() { return player_count < players.count ? player_count : players.count; }

int64_t human_seats() {
    int64_t humans = 0;
    for (int64_t seat = 0; seat < seats_in_play(); seat++) humans += players.data[seat].is_computer || players.data[seat].is_remote ? 0 : 1;
    return humans;
}

int64_t used_deck_copies() { return clamp<int64_t>(deck_copies, 0, max_deck_copies); }
int64_t used_deck_colors() { return clamp<int64_t>(deck_colors, 0, card_property_count); }
int64_t used_deck_shapes() { return clamp<int64_t>(deck_shapes, 0, card_property_count); }
int64_t used_deck_numbers() { return clamp<int64_t>(deck_numbers, 0, card_property_count); }

void push_full_deck(GrowableArray<Card>* cards) {
    int64_t copies = used_deck_copies(), colors = used_deck_colors(), shapes = used_deck_shapes(),
            numbers = used_deck_numbers();
    for (int64_t copy = 0; copy < copies; copy++)
        for (int64_t color = 0; color < colors; color++)
            for (int64_t shape = 0; shape < shapes; shape++)
                for (int64_t number = 1; number <= numbers; number++)
                    array_push(cards, Card{static_cast<uint8_t>(color), static_cast<uint8_t>(shape), static_cast<int8_t>(number)});
}

bool stones_win_by_mode(const int16_t* stone_states, int64_t count) {
    int64_t accepting = 0;
    for (int64_t i = 0; i < count; i++) accepting += states.data[stone_states[i]].accepting ? 1 : 0;
    switch (win_mode) {
        case immediate: return true;
        case all_accepting: return accepting == count;
        case any_accepting: return accepting > 0;
        default: return false;
    }
}
