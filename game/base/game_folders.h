// Where the game's files are. In a checkout (a "resources/" folder in the working directory) every
// path is used as written, relative to the working directory. An installed game reads its data from
// share/varnholt/ beside its program and keeps the player's map lists and maps in the player's data
// folder, so nothing is written under the install prefix.
#pragma once

#include "base/strings.h"

#include <cstdint>

constexpr int64_t game_folder_capacity = 4096;

struct GameFolders {
    bool installed;
    // Both end in "/"; used only when installed.
    char data[game_folder_capacity];
    int64_t data_length;
    char player[game_folder_capacity];
    int64_t player_length;
};

extern GameFolders game_folders;

// The checkout's layout.
void reset_game_folders();

// Keeps the checkout's layout when the working directory holds "resources/"; otherwise takes the
// installed data folder and the player's folder ($XDG_DATA_HOME/varnholt/, else
// ~/.local/share/varnholt/). False after printing one line naming the folders tried.
bool find_game_folders();

// Where the player's files are: empty in a checkout, ends in "/" when installed.
string player_folder();

// Paths are named as in a checkout ("resources/font_info.txt", "custom_state_machines/a") and come
// back unchanged there; when installed they are built in the frame arena.
// A shipped file: "resources/" stands for the data folder.
string shipped_file_path(string checkout_path);
// A file of the player's: "resources/" (the map lists) and everything else go to the player's folder.
string player_file_path(string checkout_path);
// A path from a map list: shipped maps under "resources/", absolute paths as they are, every other
// path in the player's folder.
string listed_map_path(string listed_path);
// True for a listed path of a shipped map that the installed game must not change.
bool listed_map_is_read_only(string listed_path);

// Creates the folder and every missing folder above it; true when it exists afterwards.
bool create_folder_chain(string folder);
