#include "model/map_history.h"

#include "base/arena.h"
#include "model/game_snapshot.h"

namespace {

// A step of the map, and a number that every step taken gets anew, so a saved step is known even
// after the ring wraps.
struct MapStep {
    GameSnapshot map;
    uint64_t id;
};

// Steps are numbered from the start of the history; step s lives in slot s modulo the capacity.
struct MapHistory {
    MapStep* slots;
    int64_t first_step, last_step, current_step;
    uint64_t next_id, saved_id;
};

MapHistory history;

MapStep* slot_of(int64_t step) { return &history.slots[step % map_history_capacity]; }

void take_step(MapStep* step) {
    take_game_snapshot(&step->map, snapshot_map);
    step->id = history.next_id++;
}

}  // namespace

void reset_map_history() { history = MapHistory{}; }

void start_map_history() {
    if (!history.slots) {
        history.slots = arena_push_array<MapStep>(PERSISTENT_ARENA, map_history_capacity);
        for (int64_t i = 0; i < map_history_capacity; i++) history.slots[i] = MapStep{new_game_snapshot(PERSISTENT_ARENA), 0};
    }
    history.first_step = history.last_step = history.current_step = 0;
    take_step(slot_of(0));
    history.saved_id = slot_of(0)->id;
}

bool record_map_edit() {
    if (!history.slots) start_map_history();
    if (map_matches_snapshot(slot_of(history.current_step)->map)) return false;
    history.last_step = history.current_step + 1;
    history.current_step = history.last_step;
    if (history.last_step - history.first_step >= map_history_capacity) history.first_step += 1;
    take_step(slot_of(history.current_step));
    return true;
}

bool undo_map_edit() {
    record_map_edit();
    if (history.current_step <= history.first_step) return false;
    history.current_step -= 1;
    restore_game_snapshot(slot_of(history.current_step)->map, snapshot_map);
    return true;
}

bool redo_map_edit() {
    record_map_edit();
    if (history.current_step >= history.last_step) return false;
    history.current_step += 1;
    restore_game_snapshot(slot_of(history.current_step)->map, snapshot_map);
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
