// The one loaded map and the one game in progress, with their small helpers.
#pragma once

#include "base/arena.h"
#include "base/color.h"
#include "base/strings.h"

#include <cstdint>

enum : uint8_t {
    state_machine = 0,
    pushdown_machine = 1,
    turing_machine = 2
};

enum : uint8_t {
    immediate = 0,
    all_accepting = 1,
    any_accepting = 2
};

enum : uint8_t {
    exactly = 0,
    at_most = 1,
    at_least = 2
};

enum : uint8_t {
    sum = 0,
    distinct_colors = 1,
    distinct_shapes = 2,
    distinct_numbers = 3,
    color_count = 4,
    shape_count = 5,
    number_count = 6,
    color_pair_count = 7,
    shape_pair_count = 8,
    number_pair_count = 9
};

constexpr int64_t max_states = 256;
constexpr uint8_t no_winner = 255;
constexpr uint8_t unknown_nimber = 255;
constexpr int64_t card_property_count = 6;

struct Card {
    uint8_t color;
    uint8_t shape;
    int8_t number;
};
static_assert(sizeof(Card) == 3);

constexpr Card default_card{0, 0, 1};
// A card whose face this computer does not know: in a joined game, another seat's hand and the deck.
constexpr Card hidden_card{255, 255, 0};

struct State {
    double x;
    double y;
    uint8_t marked;
    uint8_t accepting;
};

struct Transition {
    int16_t from;
    int16_t to;
    int16_t bend;
    float label_dx;
    float label_dy;
    string rule;
};

struct Goal {
    uint8_t kind;
    uint8_t comparison;
    int64_t amount;
    uint8_t color_a, shape_a, number_a;
    uint8_t color_b, shape_b, number_b;
};
static_assert(sizeof(Goal) == 24);

constexpr Goal default_goal{sum, exactly, 0, 0, 0, 1, 0, 0, 1};
// Another seat's goal in a joined game, until the game is over.
constexpr uint8_t hidden_goal_kind = 255;

struct Player {
    int64_t difficulty;
    GrowableArray<Card> hand;
    uint8_t is_computer;
    // Played from another computer: neither a computer seat nor one of the people at this screen.
    uint8_t is_remote;
    uint8_t color_index;
    Color color;
    Goal goal;
};

struct MapListEntry {
    string name;
    string path;
};

extern uint8_t machine_kind;
extern double map_x, map_y, map_scale;
extern GrowableArray<State> states;
extern GrowableArray<Transition> transitions;
extern GrowableArray<int16_t> stones;
extern GrowableArray<Goal> goals;
extern uint8_t win_mode;
extern int64_t deck_copies, deck_colors, deck_shapes, deck_numbers, hand_size, tape_length;
extern GrowableArray<uint8_t> nimbers;
extern GrowableArray<Player> players;
extern int64_t player_count;
// The seats taking part: player_count, or fewer while the players array has not grown to it.
int64_t seats_in_play();
// How many of the seats in play a person at this screen plays.
int64_t human_seats();
extern int8_t current_player;
extern uint8_t winner;
extern GrowableArray<Card> deck;
extern GrowableArray<Card> stack;
extern GrowableArray<Card> tape;
extern int64_t tape_head;

Card top_card(const GrowableArray<Card>& cards);
void remove_card(GrowableArray<Card>* cards, int64_t index);
void remove_transition(int64_t index);
int16_t first_stone_on(int16_t state);
// The state's centre in world units; (0, 0) for an index that names no state.
void state_center(int16_t state, float* x, float* y);

// The map (its machine, deck and tape parameters) and the game in progress back to their start values.
void reset_map();
void reset_game();

// A player record as the set-up screen appends it: easy, human, its own colour, the default goal.
Player new_player(int64_t index);
void set_player_color(Player* player, uint8_t color_index);

// The deck parameters as dealing and counting use them: clamped to what the six letters
// and the eight-entry counting table can hold, so no value in a file reads out of bounds.
int64_t used_deck_copies();
int64_t used_deck_colors();
int64_t used_deck_shapes();
int64_t used_deck_numbers();
// Appends every card the map's deck settings make, in order, unshuffled.
void push_full_deck(GrowableArray<Card>* cards);

// Whether stones on these states satisfy the map's win mode, as end_turn asks after a move.
bool stones_win_by_mode(const int16_t* stone_states, int64_t count);
