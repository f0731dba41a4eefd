#include "model/map_history.h"

#include "base/arena.h"
#include "model/game_data.h"
#include "model/goals.h"

#include <cstring>

namespace {

struct MapSnapshot {
    GrowableArray<State> states;
    GrowableArray<Transition> transitions;
    GrowableArray<int16_t> stones;
    GrowableArray<Goal> goals;
    uint8_t win_mode;
    int64_t deck_copies, deck_colors, deck_shapes, deck_numbers, hand_size, tape_length;
    // Every snapshot taken gets a new one, so a saved step is known even after the ring wraps.
    uint64_t id;
};

// Steps are numbered from the start of the history; step s lives in slot s modulo the capacity.
struct MapHistory {
    MapSnapshot* slots;
    int64_t first_step, last_step, current_step;
    uint64_t next_id, saved_id;
};

MapHistory history;

MapSnapshot* slot_of(int64_t step) { return &history.slots[step % map_history_capacity]; }

// The slots keep their arrays' room from step to step, so the ring stops growing once it has been round.
template <typename T>
void copy_array(GrowableArray<T>* into, const GrowableArray<T>& from) {
    int64_t doubled = 2 * into->capacity;
    if (from.count > into->capacity) array_reserve(into, from.count > doubled ? from.count : doubled);
    if (from.count > 0) memcpy(static_cast<void*>(into->data), from.data, static_cast<size_t>(from.count) * sizeof(T));
    into->count = from.count;
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

bool map_matches(const MapSnapshot& shot) {
    return shot.win_mode == win_mode && shot.deck_copies == deck_copies && shot.deck_colors == deck_colors &&
           shot.deck_shapes == deck_shapes && shot.deck_numbers == deck_numbers && shot.hand_size == hand_size &&
           shot.tape_length == tape_length && same_array(shot.states, states, same_state) &&
           same_array(shot.transitions, transitions, same_transition) &&
           same_array(shot.stones, stones, [](int16_t a, int16_t b) { return a == b; }) &&
           same_array(shot.goals, goals, same_goal);
}

void take_snapshot(MapSnapshot* shot) {
    copy_array(&shot->states, states);
    copy_array(&shot->transitions, transitions);
    copy_array(&shot->stones, stones);
    copy_array(&shot->goals, goals);
    shot->win_mode = win_mode;
    shot->deck_copies = deck_copies;
    shot->deck_colors = deck_colors;
    shot->deck_shapes = deck_shapes;
    shot->deck_numbers = deck_numbers;
    shot->hand_size = hand_size;
    shot->tape_length = tape_length;
    shot->id = history.next_id++;
}

void restore_snapshot(const MapSnapshot& shot) {
    copy_array(&states, shot.states);
    copy_array(&transitions, shot.transitions);
    copy_array(&stones, shot.stones);
    copy_array(&goals, shot.goals);
    win_mode = shot.win_mode;
    deck_copies = shot.deck_copies;
    deck_colors = shot.deck_colors;
    deck_shapes = shot.deck_shapes;
    deck_numbers = shot.deck_numbers;
    hand_size = shot.hand_size;
    tape_length = shot.tape_length;
}

}  // namespace

void reset_map_history() { history = MapHistory{}; }

void start_map_history() {
    if (!history.slots) {
        history.slots = arena_push_array<MapSnapshot>(PERSISTENT_ARENA, map_history_capacity);
        memset(static_cast<void*>(history.slots), 0, sizeof(MapSnapshot) * map_history_capacity);
    }
    history.first_step = history.last_step = history.current_step = 0;
    take_snapshot(slot_of(0));
    history.saved_id = slot_of(0)->id;
}

bool record_map_edit() {
    if (!history.slots) start_map_history();
    if (map_matches(*slot_of(history.current_step))) return false;
    history.last_step = history.current_step + 1;
    history.current_step = history.last_step;
    if (history.last_step - history.first_step >= map_history_capacity) history.first_step += 1;
    take_snapshot(slot_of(history.current_step));
    return true;
}

bool undo_map_edit() {
    record_map_edit();
    if (history.current_step <= history.first_step) return false;
    history.current_step -= 1;
    restore_snapshot(*slot_of(history.current_step));
    return true;
}

bool redo_map_edit() {
    record_map_edit();
    if (history.current_step >= history.last_step) return false;
    history.current_step += 1;
    restore_snapshot(*slot_of(history.current_step));
    return true;
}

void mark_map_saved() {
    record_map_edit();
    history.saved_id = slot_of(history.current_step)->id;
}

bool map_has_unsaved_edits() {
    record_map_edit();
    return slot_of(history.current_step)->id != history.saved_id;
}
