#include "model/player_folder.h"

#include "base/file_failure.h"
#include "base/game_folders.h"
#include "model/game_data.h"
#include "model/map_list.h"

bool prepare_player_folder() {
    if (!game_folders.installed) return true;
    string folder = player_folder();
    if (!create_folder_chain(folder)) return report_file_failure(str("cannot create the player's folder "), folder);
    for (uint8_t kind = state_machine; kind <= turing_machine; kind++) {
        string list = map_list_path(kind);
        if (!file_exists(list) && !file_copy(shipped_map_list_path(kind), list)) {
            return report_file_failure(str("cannot copy the shipped map list to "), list);
        }
        create_folder_chain(player_file_path(custom_map_directory(kind)));
    }
    return true;
}
