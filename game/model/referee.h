// The referee: sets up a game, carries out moves and decides each turn's end.
#pragma once

#include "model/game_data.h"

// What a single game deals at most, so a map's sizes can never exhaust the arena.
constexpr int64_t max_hand_cards = 1024;
constexpr int64_t max_tape_cells = 1024;
// How often a Turing game deals its tape again when the dealt tape already meets a seat's goal.
constexpr int64_t max_tape_deals = 64;

// Reloads the selected map and deals; a Turing tape that meets a seat's goal is dealt again. A map without states cannot be played: prints
// "failed to start game: the map has no states", ends the game at once and returns false.
// Closing the menu screens is left to the caller.
bool start_game();
// The transition from `from` to `to` whose own rule text a move was given (the same bytes, not a
// copy); else the first joining the two states; -1 when none does.
int16_t transition_taken(int16_t from, int16_t to, string rule);

void apply_move(int16_t stone, int16_t target, string rule, Card card, int64_t hand_index);
void apply_tape_action(string rule);
void draw_from_deck(Player* player);
void recycle_stack();
void shuffle_deck();
// Appends every card the map's deck settings make, in order, unshuffled.
void push_full_deck(GrowableArray<Card>* cards);
void end_turn();

// Whether stones on these states satisfy the map's win mode, as end_turn asks after a move.
bool stones_win_by_mode(const int16_t* stone_states, int64_t count);
