#include "base/game_folders.h"

#include "base/arena.h"
#include "base/text_format.h"

#include <kestrune_system.h>

GameFolders game_folders;

void reset_game_folders() { game_folders.installed = false; }

namespace {

const char shipped_prefix[] = "resources/";
// Checked for, so an empty or half-removed install is told apart from a working one.
const char data_marker[] = "font_info.txt";

string data_folder() { return string{game_folders.data, game_folders.data_length}; }

string without_shipped_prefix(string path) {
    string prefix = str(shipped_prefix);
    if (!string_starts_with(path, prefix)) return path;
    return string{path.data + prefix.length, path.length - prefix.length};
}

// Stores the pieces one after another; false when they do not fit.
bool keep_folder(char* into, int64_t* length, string first, string second, string third) {
    FixedText text{into, game_folder_capacity, 0, 0};
    fixed_put_string(&text, first);
    fixed_put_string(&text, second);
    fixed_put_string(&text, third);
    *length = text.length;
    return text.length == first.length + second.length + third.length;
}

string without_trailing_slashes(string folder) {
    while (folder.length > 1 && folder.data[folder.length - 1] == '/') folder.length -= 1;
    return folder;
}

// The program's folder with the install's relative way to its data applied; each leading "../"
// drops one folder, so the message names a plain path.
bool take_data_folder(string program_folder) {
    string relative = str(VARNHOLT_DATA_FROM_PROGRAM);
    int64_t kept = program_folder.length;
    while (string_starts_with(relative, str("../")) && kept > 1) {
        kept -= 1;
        while (kept > 0 && program_folder.data[kept - 1] != '/') kept -= 1;
        relative = string{relative.data + 3, relative.length - 3};
    }
    return keep_folder(game_folders.data, &game_folders.data_length, string{program_folder.data, kept}, relative,
                       str(""));
}

bool data_folder_holds_data() {
    char probe[game_folder_capacity + sizeof data_marker];
    FixedText text{probe, static_cast<int64_t>(sizeof probe), 0, 0};
    fixed_put_string(&text, data_folder());
    fixed_put_string(&text, str(data_marker));
    return file_exists(fixed_view(&text));
}

// Only absolute folders count, as the XDG rules ask.
bool take_player_folder() {
    string data_home = system_get_environment(str("XDG_DATA_HOME"));
    if (data_home.length > 0 && data_home.data[0] == '/') {
        return keep_folder(game_folders.player, &game_folders.player_length, without_trailing_slashes(data_home),
                           str("/varnholt/"), str(""));
    }
    string home = system_get_environment(str("HOME"));
    if (home.length > 0 && home.data[0] == '/') {
        return keep_folder(game_folders.player, &game_folders.player_length, without_trailing_slashes(home),
                           str("/.local/share"), str("/varnholt/"));
    }
    return false;
}

string in_folder(string folder, string name) { return arena_concat(folder, name, FRAME_ARENA); }

}  // namespace

string player_folder() {
    return game_folders.installed ? string{game_folders.player, game_folders.player_length} : str("");
}

bool find_game_folders() {
    reset_game_folders();
    if (directory_exists(str(shipped_prefix))) return true;
    string program_folder = system_get_program_folder();
    if (program_folder.length <= 0) {
        print(str("no game data: the working directory has no resources/ and the program's own folder is unknown\n"));
        return false;
    }
    if (!take_data_folder(program_folder) || !data_folder_holds_data()) {
        print(str("no game data: tried resources/ and "));
        print(data_folder());
        print(str("\n"));
        return false;
    }
    if (!take_player_folder()) {
        print(str("no folder for the player's maps: neither XDG_DATA_HOME nor HOME names an absolute folder\n"));
        return false;
    }
    game_folders.installed = true;
    return true;
}

string shipped_file_path(string checkout_path) {
    if (!game_folders.installed) return checkout_path;
    return in_folder(data_folder(), without_shipped_prefix(checkout_path));
}

string player_file_path(string checkout_path) {
    if (!game_folders.installed) return checkout_path;
    return in_folder(player_folder(), without_shipped_prefix(checkout_path));
}

string listed_map_path(string listed_path) {
    if (!game_folders.installed || (listed_path.length > 0 && listed_path.data[0] == '/')) return listed_path;
    if (string_starts_with(listed_path, str(shipped_prefix))) return shipped_file_path(listed_path);
    return player_file_path(listed_path);
}

bool listed_map_is_read_only(string listed_path) {
    return game_folders.installed && string_starts_with(listed_path, str(shipped_prefix));
}

bool create_folder_chain(string folder) {
    for (int64_t end = 1; end <= folder.length; end++) {
        if (end < folder.length && folder.data[end] != '/') continue;
        string part{folder.data, end};
        if (!directory_exists(part)) directory_create(part);
    }
    return directory_exists(folder);
}
