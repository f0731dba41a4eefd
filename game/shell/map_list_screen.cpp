// Browsing the chosen kind's maps with a live preview, then playing one, or in the editor opening
// or deleting it.
#include "shell/menus.h"

#include "model/game_log.h"
#include "model/map_file.h"
#include "model/map_list.h"
#include "model/map_save.h"
#include "screen/game_screen.h"
#include "render/primitives.h"
#include "screen/frame_input.h"
#include "screen/pointer_boxes.h"
#include "screen/replay_view.h"
#include "screen/ui.h"
#include "shell/application.h"
#include "shell/map_preview.h"

namespace {

// "Delete" asks first, naming the map and its file.
bool delete_asked;

// The selected map's newest saved game log, for "Replay"; the map it was looked for.
constexpr int64_t replay_path_capacity = 4096;
char newest_log_path[replay_path_capacity];
int64_t newest_log_path_length;
int64_t replay_checked_for = -1;

void draw_map_choice(ScreenPoint center) {
    int64_t count = current_map_list->count;
    int64_t step = arrow_row(center.x - 160, center.x + 160, center.y + 304, 64);
    current_map_index += step;
    if (current_map_index > count - 1) current_map_index = count - 1;
    if (current_map_index < 0) current_map_index = 0;
    const MapListEntry& entry = current_map_list->data[current_map_index];
    if (step != 0) load_map(entry.path);
    draw_caption(str("Map"), center.x, center.y + 352);
    draw_caption(entry.name, center.x, center.y + 304);
}

// The flags change only for a game that started; a refused map leaves the player here. A game with
// remote seats waits on the Host screen until it is hosted.
void draw_play_buttons(ScreenPoint center) {
    if (draw_button(str("Play"), center.x, center.y - 336, 256, 64) && restart_game()) {
        main_menu_open = false;
        player_setup_open = false;
        map_list_open = false;
        host_screen_open = game_has_remote_seat();
    }
    if (draw_button(str("Back"), center.x - 304, center.y - 336, 128, 64)) {
        map_list_open = false;
        player_setup_open = true;
    }
    // Looked for again only when another map is chosen, not in every frame.
    if (replay_checked_for != current_map_index) {
        replay_checked_for = current_map_index;
        newest_log_path_length = 0;
        string newest = newest_game_log();
        if (newest.length > 0 && newest.length < replay_path_capacity) {
            memcpy(newest_log_path, newest.data, static_cast<size_t>(newest.length));
            newest_log_path_length = newest.length;
        }
    }
    if (newest_log_path_length > 0 && draw_button(str("Replay"), center.x + 304, center.y - 336, 128, 64) &&
        start_replay(string{newest_log_path, newest_log_path_length})) {
        map_list_open = false;
        replay_open = true;
    }
}

void ask_before_deleting() {
    if (current_map_index < 0 || current_map_index >= current_map_list->count) {
        delete_asked = false;
        return;
    }
    const MapListEntry& entry = current_map_list->data[current_map_index];
    string line = arena_concat(arena_concat(str("Delete the map "), entry.name, FRAME_ARENA), str("?"), FRAME_ARENA);
    DialogAnswer answer = draw_question(line, entry.path, str("Delete"));
    if (answer.ok) delete_selected_map();
    if (answer.ok || answer.cancel) delete_asked = false;
}

}  // namespace

bool close_map_list_question() {
    bool was_asked = delete_asked;
    delete_asked = false;
    return was_asked;
}

void reset_map_list_screen() {
    delete_asked = false;
    newest_log_path_length = 0;
    replay_checked_for = -1;
}

void draw_map_list() {
    ScreenPoint center = window_center();
    draw_centered_panel(800, 800, menu_panel_color);
    if (current_map_list->count > 0) draw_map_choice(center);
    draw_map_preview();

    if (editor_mode) {
        if (draw_button(str("Edit"), center.x, center.y - 336, 256, 64)) map_list_open = false;
        if (current_map_list->count > 0 && draw_button(str("Delete"), center.x + 304, center.y - 336, 128, 64)) {
            delete_asked = true;
        }
    } else {
        draw_play_buttons(center);
    }
    int32_t question_boxes = pointer_box_mark();
    if (delete_asked) ask_before_deleting();
    if (!delete_asked) take_back_pointer_boxes(question_boxes);
}
