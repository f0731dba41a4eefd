// The map and the game in progress as one plain copy that owns its arrays. The editor's undo keeps
// the map part; look-aheads set the play part aside and put it back; a saved game is read into one.
#pragma once

#include "base/random.h"
#include "model/draw_rules.h"
#include "model/game_data.h"
#include "model/goal_evidence.h"
#include "model/turn_state.h"

enum SnapshotParts : uint8_t {
    // States, transitions, goals, win mode, deck, hand and tape sizes, and the stones.
    snapshot_map = 1,
    // Seats and their hands, stones, deck, stack, tape, whose turn, the turn record, the positions
    // seen, what the table tells about goals, and the random numbers.
    snapshot_play = 2,
    snapshot_whole = 3
};

struct GameSnapshot {
    GrowableArray<State> states;
    GrowableArray<Transition> transitions;
    GrowableArray<Goal> goals;
    uint8_t win_mode;
    int64_t deck_copies, deck_colors, deck_shapes, deck_numbers, hand_size, tape_length;
    GrowableArray<int16_t> stones;

    // Each seat's hand lies in the snapshot's own storage.
    GrowableArray<Player> players;
    int64_t player_count;
    GrowableArray<Card> deck, stack, tape;
    int64_t tape_head;
    int8_t current_player;
    uint8_t winner;
    int16_t source_state, target_state, selected_transition;
    int64_t selected_card;
    uint8_t hand_revealed, card_drawn;
    double move_delay, computer_delay;
    int64_t human_count;
    TurnProgress progress;
    PositionHistory positions;
    GoalEvidence evidence;
    RandomState random;
};

// An empty snapshot whose arrays grow in the given arena.
GameSnapshot new_game_snapshot(uint8_t arena_id);
// Copies the parts from the model into the snapshot, reusing its arrays' room.
void take_game_snapshot(GameSnapshot* into, uint8_t parts);
// Copies the parts from the snapshot back into the model.
void restore_game_snapshot(const GameSnapshot& from, uint8_t parts);
// True when the model's map part equals the snapshot's.
bool map_matches_snapshot(const GameSnapshot& snapshot);
