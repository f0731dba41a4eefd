#include "model/game_log.h"

#include "base/game_folders.h"
#include "base/text_cursor.h"
#include "base/text_format.h"
#include "base/text_output.h"
#include "base/whole_file.h"
#include "model/game_data.h"
#include "model/game_record.h"
#include "model/map_list.h"
#include "model/turn_state.h"

#include <kestrune_system.h>

GameLog game_log;

namespace {

constexpr int64_t max_log_size = 256 * 1024 * 1024;
constexpr int64_t max_logs_per_map = 999;

void put_text(string piece) {
    for (int64_t i = 0; i < piece.length; i++) array_push(&game_log.text, piece.data[i]);
}

void put_number(int64_t value) {
    TextBuilder number{nullptr, 0, 0, FRAME_ARENA, 0};
    text_put_integer(&number, value);
    put_text(text_view(&number));
}

void add_step(int64_t seat, bool with_map) {
    string record = write_game_record(every_seat, with_map);
    put_text(str("step "));
    put_number(seat);
    put_text(str(" "));
    put_number(record.length);
    put_text(str("\n"));
    array_push(&game_log.steps, GameLogStep{seat, game_log.text.count, record.length});
    put_text(record);
}

// The map's logs are "game_logs/NAME_N.txt", NAME its list name with anything but letters, digits
// and "_" turned into "_".
string log_path(int64_t number) {
    TextBuilder path{nullptr, 0, 0, FRAME_ARENA, 0};
    text_put_string(&path, str("game_logs/"));
    string name = current_map_list && current_map_index >= 0 && current_map_index < current_map_list->count
                      ? current_map_list->data[current_map_index].name
                      : str("map");
    for (int64_t i = 0; i < name.length && i < 64; i++) {
        char c = name.data[i];
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        text_put_char(&path, plain ? c : '_');
    }
    text_put_char(&path, '_');
    text_put_integer(&path, number);
    text_put_string(&path, str(".txt"));
    return player_file_path(text_view(&path));
}

int64_t newest_log_number() {
    int64_t number = 0;
    while (number < max_logs_per_map && file_exists(log_path(number + 1))) number++;
    return number;
}

}  // namespace

void reset_game_log() { game_log = GameLog{}; }

void start_game_log() {
    array_clear(&game_log.text);
    array_clear(&game_log.steps);
    put_text(str("varnholt game log 1\n"));
    add_step(-1, true);
    game_log.logged_move = last_move.number;
    game_log.logged_end = game_over();
}

void log_game_when_changed() {
    if (game_log.steps.count == 0) return;
    if (last_move.number != game_log.logged_move) {
        add_step(last_move.seat, false);
        game_log.logged_move = last_move.number;
    }
    if (game_over() && !game_log.logged_end) add_step(-1, false);
    game_log.logged_end = game_over();
}

string save_game_log() {
    if (game_log.steps.count == 0) return {};
    int64_t number = newest_log_number() + 1;
    string path = log_path(number);
    create_folder_chain(player_file_path(str("game_logs")));
    string text{game_log.text.data, game_log.text.count};
    if (!replace_whole_file(path, text)) {
        print(arena_concat(arena_concat(str("failed to save the game log: "), path, FRAME_ARENA), str("\n"), FRAME_ARENA));
        return {};
    }
    return path;
}

string newest_game_log() {
    int64_t number = newest_log_number();
    return number > 0 ? log_path(number) : string{};
}

bool open_game_replay(string path) {
    string text;
    if (!read_whole_file(path, max_log_size, &text)) return false;
    array_clear(&game_log.steps);
    string header = str("varnholt game log 1\n");
    TextCursor cursor{text.data, text.length, text.length, 0};
    if (!matches_at(&cursor, header)) return false;
    cursor.position = header.length;
    while (cursor.position < cursor.size) {
        if (!matches_at(&cursor, str("step "))) return false;
        cursor.position += 5;
        int64_t seat = parse_integer(&cursor);
        if (cursor.position >= cursor.size || cursor.data[cursor.position] != ' ') return false;
        cursor.position++;
        int64_t length = parse_integer(&cursor);
        if (cursor.position >= cursor.size || cursor.data[cursor.position] != '\n') return false;
        cursor.position++;
        if (length < 0 || length > cursor.size - cursor.position || seat < -1 || seat >= card_property_count) return false;
        array_push(&game_log.steps, GameLogStep{seat, cursor.position, length});
        cursor.position += length;
    }
    // The text stays in the arena for the replay's steps to be read from.
    array_clear(&game_log.text);
    for (int64_t i = 0; i < text.length; i++) array_push(&game_log.text, text.data[i]);
    if (game_log.steps.count == 0) return false;
    game_log.replay_step = 0;
    return show_replay_step(0);
}

bool show_replay_step(int64_t step) {
    if (game_log.steps.count == 0) return false;
    if (step < 0) step = 0;
    if (step >= game_log.steps.count) step = game_log.steps.count - 1;
    // Later steps hold the play only, on the first step's map, which stays loaded.
    const GameLogStep& shown = game_log.steps.data[step];
    if (!read_game_record(string{game_log.text.data + shown.offset, shown.length})) return false;
    game_log.replay_step = step;
    return true;
}
