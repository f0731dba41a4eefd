#include "model/map_list.h"

#include "base/file_failure.h"
#include "base/game_folders.h"
#include "base/text_format.h"
#include "base/text_cursor.h"
#include "base/whole_file.h"
#include "model/map_file.h"

GrowableArray<MapListEntry> state_map_list;
GrowableArray<MapListEntry> pushdown_map_list;
GrowableArray<MapListEntry> turing_map_list;
GrowableArray<MapListEntry>* current_map_list;
int64_t current_map_index;

void reset_map_lists() {
    state_map_list = {};
    pushdown_map_list = {};
    turing_map_list = {};
    current_map_list = &pushdown_map_list;
    current_map_index = 0;
}

// List files are small; anything larger is not a list.
constexpr int64_t max_list_file_size = 4 * 1024 * 1024;

namespace {

string checkout_map_list_path(uint8_t kind) {
    switch (kind) {
        case state_machine: return str("resources/state_maps.txt");
        case pushdown_machine: return str("resources/pushdown_maps.txt");
        case turing_machine: return str("resources/turing_maps.txt");
        default: return string{nullptr, 0};
    }
}

}  // namespace

string shipped_map_list_path(uint8_t kind) {
    string path = checkout_map_list_path(kind);
    return path.length > 0 ? shipped_file_path(path) : path;
}

string map_list_path(uint8_t kind) {
    string path = checkout_map_list_path(kind);
    return path.length > 0 ? player_file_path(path) : path;
}

string custom_map_directory(uint8_t kind) {
    switch (kind) {
        case state_machine: return str("custom_state_machines/");
        case pushdown_machine: return str("custom_pushdown_machines/");
        case turing_machine: return str("custom_turing_machines/");
        default: return string{nullptr, 0};
    }
}

GrowableArray<MapListEntry>* map_list_of_kind(uint8_t kind) {
    switch (kind) {
        case state_machine: return &state_map_list;
        case pushdown_machine: return &pushdown_map_list;
        case turing_machine: return &turing_map_list;
        default: return nullptr;
    }
}

bool load_map_list(GrowableArray<MapListEntry>* list, string path) {
    string contents;
    if (!read_whole_file(path, max_list_file_size, &contents)) return report_file_failure(str("failed to open "), path);
    const char* data = contents.data;
    int64_t size = contents.length;

    int64_t p = 0;
    while (p < size) {
        int64_t name_end = p;
        while (name_end < size && data[name_end] != ' ') name_end++;
        int64_t path_start = name_end + 1 < size ? name_end + 1 : size;
        int64_t path_end = line_end(data, size, path_start);
        array_push(list, MapListEntry{string{data + p, name_end - p}, string{data + path_start, path_end - path_start}});
        p = path_end + 1;
    }
    return true;
}

bool save_map_list() {
    GrowableArray<MapListEntry>* list = map_list_of_kind(machine_kind);
    if (!list) return false;
    current_map_list = list;
    TextBuilder text{nullptr, 0, 0, FRAME_ARENA, 0};
    for (int64_t i = 0; i < list->count; i++) {
        const MapListEntry& entry = list->data[i];
        text_put_string(&text, entry.name);
        text_put_char(&text, ' ');
        text_put_string(&text, entry.path);
        text_put_char(&text, '\n');
    }
    string path = map_list_path(machine_kind);
    if (!replace_whole_file(path, text_view(&text))) return report_file_failure(str("failed to save map list: "), path);
    return true;
}

void select_kind_maps() {
    GrowableArray<MapListEntry>* list = map_list_of_kind(machine_kind);
    if (list) current_map_list = list;
    current_map_index = 0;
    if (current_map_list->count > 0) load_map(current_map_list->data[0].path);
}
