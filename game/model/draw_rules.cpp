#include "model/draw_rules.h"

#include "model/game_data.h"
#include "model/stone_multiset.h"
#include "model/turn_state.h"

PositionHistory position_history;

namespace {

// Records the current position; returns how often it has now been seen.
int64_t record_position() {
    int64_t count = stones.count;
    if (position_history.hashes.count > 0 && count != position_history.stones_per_position) reset_position_history();
    position_history.stones_per_position = count;
    int64_t start = position_history.stone_states.count;
    for (int64_t i = 0; i < count; i++) array_push(&position_history.stone_states, stones.data[i]);
    int16_t* sorted = position_history.stone_states.data + start;
    sort_stone_states(sorted, count);
    uint64_t hash = hash_stone_states(sorted, count) ^ (static_cast<uint64_t>(current_player) * 0x9e3779b97f4a7c15ull);
    int64_t seen = 1;
    for (int64_t i = 0; i < position_history.hashes.count; i++) {
        if (position_history.hashes.data[i] != hash || position_history.seats.data[i] != current_player) continue;
        const int16_t* earlier = position_history.stone_states.data + i * count;
        seen += memcmp(earlier, sorted, static_cast<size_t>(count) * sizeof(int16_t)) == 0 ? 1 : 0;
    }
    array_push(&position_history.hashes, hash);
    array_push(&position_history.seats, current_player);
    return seen;
}

}  // namespace

void reset_position_history() { position_history = PositionHistory{}; }

void start_position_history() {
    position_history.hashes.count = 0;
    position_history.seats.count = 0;
    position_history.stone_states.count = 0;
    if (machine_kind == state_machine) record_position();
}

void note_turn_passed() {
    turns_played++;
    if (machine_kind == state_machine) {
        if (record_position() >= 3) game_drawn = 1;
    } else if (turns_played >= max_game_turns) {
        game_drawn = 1;
    }
}
