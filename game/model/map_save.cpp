#include "model/map_save.h"

#include "base/arena.h"
#include "base/file_failure.h"
#include "base/game_folders.h"
#include "base/text_format.h"
#include "base/whole_file.h"
#include "model/map_file.h"
#include "model/map_list.h"

namespace {

bool keeps_its_byte(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool has_parent_part(string path) {
    int64_t part_start = 0;
    for (int64_t i = 0; i <= path.length; i++) {
        if (i < path.length && path.data[i] != '/') continue;
        if (i - part_start == 2 && path.data[part_start] == '.' && path.data[part_start + 1] == '.') return true;
        part_start = i + 1;
    }
    return false;
}

int64_t entry_named(const GrowableArray<MapListEntry>& list, string name) {
    for (int64_t i = 0; i < list.count; i++) {
        if (string_equals(list.data[i].name, name)) return i;
    }
    return -1;
}

void remove_entry(GrowableArray<MapListEntry>* list, int64_t index) {
    for (int64_t i = index; i + 1 < list->count; i++) list->data[i] = list->data[i + 1];
    list->count -= 1;
}

// The first entry of that name or for that file takes the saved map; later ones for either go.
void list_saved_map(GrowableArray<MapListEntry>* list, string name, string path) {
    int64_t kept = -1;
    for (int64_t i = 0; i < list->count;) {
        const MapListEntry& entry = list->data[i];
        if (!string_equals(entry.name, name) && !string_equals(entry.path, path)) {
            i++;
        } else if (kept < 0) {
            kept = i++;
        } else {
            remove_entry(list, i);
        }
    }
    MapListEntry saved{arena_copy_string(name), path};
    if (kept >= 0) {
        list->data[kept] = saved;
    } else {
        array_push(list, saved);
    }
}

}  // namespace

string map_save_path(uint8_t kind, string typed_name, uint8_t arena_id) {
    string directory = custom_map_directory(kind);
    string path = arena_concat(directory, typed_name, arena_id);
    char* bytes = const_cast<char*>(path.data);
    for (int64_t i = directory.length; i < path.length; i++) {
        if (!keeps_its_byte(bytes[i])) bytes[i] = '_';
    }
    return path;
}

string map_replaced_by_save(string typed_name) {
    string path = map_save_path(machine_kind, typed_name, FRAME_ARENA);
    if (typed_name.length > 0 && file_exists(path)) return path;
    GrowableArray<MapListEntry>* list = map_list_of_kind(machine_kind);
    int64_t listed = list ? entry_named(*list, typed_name) : -1;
    return listed >= 0 ? list->data[listed].path : string{nullptr, 0};
}

bool save_map_as(string typed_name) {
    // The list keeps the path as in a checkout; the file goes where the player's files are.
    string path = map_save_path(machine_kind, typed_name, PERSISTENT_ARENA);
    string file_path = listed_map_path(path);
    print(str("saving map "));
    print(typed_name);
    print(str(" as "));
    print(file_path);
    print(str("\n"));
    string directory = custom_map_directory(machine_kind);
    // A fresh checkout has no map directories yet.
    if (directory.length > 0) create_folder_chain(player_file_path(directory));
    if (typed_name.length <= 0 || directory.length == 0 || !replace_whole_file(file_path, write_map())) {
        return report_file_failure(str("failed to save map: "), file_path);
    }
    GrowableArray<MapListEntry>* list = map_list_of_kind(machine_kind);
    if (list) {
        list_saved_map(list, typed_name, path);
        save_map_list();
    }
    return true;
}

bool map_path_deletable(string path) {
    if (path.length <= 0 || path.data[0] == '/' || has_parent_part(path)) return false;
    if (string_starts_with(path, str("resources/maps/"))) return true;
    for (uint8_t kind = state_machine; kind <= turing_machine; kind++) {
        if (string_starts_with(path, custom_map_directory(kind))) return true;
    }
    return false;
}

bool delete_selected_map() {
    GrowableArray<MapListEntry>* list = current_map_list;
    if (!list || current_map_index < 0 || current_map_index >= list->count) return false;
    string path = list->data[current_map_index].path;
    if (!map_path_deletable(path)) return report_file_failure(str("not deleting a map outside the map folders: "), path);
    // A shipped map of an installed game only leaves the player's list.
    if (!listed_map_is_read_only(path)) file_delete(listed_map_path(path));
    remove_entry(list, current_map_index);
    if (current_map_index >= list->count) current_map_index = list->count - 1;
    if (list->count > 0) load_map(list->data[current_map_index].path);
    save_map_list();
    return true;
}
