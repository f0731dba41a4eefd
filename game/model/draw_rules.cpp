#include "model/draw_rules.h"

#include "model/game_data.h"
#include "model/stone_multiset.h"
#include "model/turn_state.h"

namespace {

// Every position of the game so far: its hash, the seat to move and its sorted stone states.
struct PositionHistory {
    GrowableArray<uint64_t> hashes;
    GrowableArray<int8_t> seats;
    GrowableArray<int16_t> stone_states;
    int64_t stones_per_position;
};

PositionHistory history;

// Records the current position; returns how often it has now been seen.
int64_t record_position() {
    int64_t count = stones.count;
    if (history.hashes.count > 0 && count != history.stones_per_position) reset_position_history();
    history.stones_per_position = count;
    int64_t start = history.stone_states.count;
    for (int64_t i = 0; i < count; i++) array_push(&history.stone_states, stones.data[i]);
    int16_t* sorted = history.stone_states.data + start;
    sort_stone_states(sorted, count);
    uint64_t hash = hash_stone_states(sorted, count) ^ (static_cast<uint64_t>(current_player) * 0x9e3779b97f4a7c15ull);
    int64_t seen = 1;
    for (int64_t i = 0; i < history.hashes.count; i++) {
        if (history.hashes.data[i] != hash || history.seats.data[i] != current_player) continue;
        const int16_t* earlier = history.stone_states.data + i * count;
        seen += memcmp(earlier, sorted, static_cast<size_t>(count) * sizeof(int16_t)) == 0 ? 1 : 0;
    }
    array_push(&history.hashes, hash);
    array_push(&history.seats, current_player);
    return seen;
}

}  // namespace

void reset_position_history() { history = PositionHistory{}; }

void start_position_history() {
    history.hashes.count = 0;
    history.seats.count = 0;
    history.stone_states.count = 0;
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
