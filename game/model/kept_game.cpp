#include "model/kept_game.h"

#include "base/arena.h"
#include "base/game_folders.h"
#include "base/text_output.h"
#include "base/whole_file.h"
#include "model/game_record.h"
#include "model/net_host.h"
#include "model/turn_state.h"

#include <kestrune_system.h>

KeptGame kept_game;

namespace {

// The file is replaced by writing a new one beside it, deleting the old and renaming; a program
// killed between the last two leaves only the new one, which is whole.
string fresh_copy_path() { return arena_concat(kept_game_path(), str(".new"), FRAME_ARENA); }
// A hosted game's port and tokens lie beside it.
string hosting_path() { return arena_concat(kept_game_path(), str(".host"), FRAME_ARENA); }

bool kept_file_there() { return file_exists(kept_game_path()) || file_exists(fresh_copy_path()); }

void note_written() {
    kept_game.written_move = last_move.number;
    kept_game.written_turn = turns_played;
    kept_game.written = true;
}

}  // namespace

void reset_kept_game() {
    kept_game = KeptGame{};
    kept_game.present = kept_file_there();
}

void set_kept_game_path(string path) {
    int64_t length = path.length < kept_game_path_capacity ? path.length : kept_game_path_capacity - 1;
    if (length > 0) memcpy(kept_game.path, path.data, static_cast<size_t>(length));
    kept_game.path_length = length;
    kept_game.present = kept_file_there();
    kept_game.written = false;
}

string kept_game_path() {
    if (kept_game.path_length > 0) return string{kept_game.path, kept_game.path_length};
    return player_file_path(str("current_game.txt"));
}

bool keep_game_now() {
    if (kept_game.not_ours) return false;
    if (game_over() || states.count == 0) {
        forget_kept_game();
        note_written();
        return true;
    }
    bool kept = replace_whole_file(kept_game_path(), write_game_record(every_seat, true));
    if (net_host.active) {
        kept = replace_whole_file(hosting_path(), write_hosting_record()) && kept;
    } else if (file_exists(hosting_path())) {
        file_delete(hosting_path());
    }
    if (!kept) print(str("failed to keep the game in progress\n"));
    kept_game.present = kept_game.present || kept;
    note_written();
    return kept;
}

bool keep_game_when_changed() {
    if (kept_game.written && kept_game.written_move == last_move.number && kept_game.written_turn == turns_played &&
        !(game_over() && kept_game.present))
        return true;
    return keep_game_now();
}

bool continue_kept_game() {
    string contents;
    string path = file_exists(kept_game_path()) ? kept_game_path() : fresh_copy_path();
    if (!read_whole_file(path, max_game_record_size, &contents) || !read_game_record(contents)) return false;
    kept_game.not_ours = false;
    note_written();
    return true;
}

bool resume_kept_hosting(double now) {
    string line;
    if (!file_exists(hosting_path()) || !read_whole_file(hosting_path(), 4096, &line)) return false;
    return resume_hosting(line, now);
}

void forget_kept_game() {
    if (file_exists(hosting_path())) file_delete(hosting_path());
    file_delete(kept_game_path());
    file_delete(fresh_copy_path());
    kept_game.present = false;
}
