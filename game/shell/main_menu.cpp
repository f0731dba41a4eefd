// The title screen: the machine kind with its breathing picture, then play, edit, join a game
// hosted elsewhere or quit.
#include "shell/menus.h"

#include "model/game_data.h"
#include "model/kept_game.h"
#include "model/map_list.h"
#include "model/turn_state.h"
#include "render/primitives.h"
#include "render/text.h"
#include "screen/screen_state.h"
#include "screen/editor.h"
#include "screen/game_screen.h"
#include "screen/network_play.h"
#include "screen/ui.h"
#include "render/resources.h"
#include "shell/application.h"

#include <kestrune_system.h>

namespace {

constexpr double two_pi = 6.283185307179586;

string kind_name(uint8_t kind) {
    switch (kind) {
        case state_machine: return str("State");
        case pushdown_machine: return str("Pushdown");
        default: return str("Turing");
    }
}

// Computed signed: in the unsigned byte, 0 - 1 would be 255, which is 0 modulo 3.
uint8_t wrapped_kind(int64_t kind) {
    return static_cast<uint8_t>(((kind % machine_kind_count) + machine_kind_count) % machine_kind_count);
}

// The editor starts from the kind's first map with its machine and deck settings cleared;
// the view (map_x, map_y) and the hand size carry over.
void empty_map_for_editing() {
    array_clear(&states);
    array_clear(&transitions);
    array_clear(&stones);
    array_clear(&stack);
    array_clear(&deck);
    array_clear(&goals);
    map_scale = 1;
    deck_copies = 1;
    deck_colors = 4;
    deck_shapes = 4;
    deck_numbers = 4;
    tape_length = 4;
    win_mode = immediate;
}

void draw_machine_picture(ScreenPoint center) {
    title_angle += two_pi / 3 * frame_time;
    double width = 512 + 15 * math_sin(title_angle);
    double height = 512 + 15 * math_cos(title_angle);
    draw_quad(machine_textures[machine_kind], center.x - width / 2, center.y - 16 - height / 2, width, height,
              ui_text_color, screen_projection);
}

}  // namespace

void draw_main_menu() {
    ScreenPoint center = window_center();
    draw_centered_panel(800, 800, menu_panel_color);

    int64_t step = arrow_row(center.x - 160, center.x + 160, center.y + 304, 64);
    machine_kind = wrapped_kind(machine_kind + step);
    draw_caption(str("Game Mode"), center.x, center.y + 352);
    draw_screen_text(str("F1: help"), center.x + 304, center.y + 352, 192, Color{0.7f, 0.7f, 0.7f, 1}, text_centered);
    draw_caption(kind_name(machine_kind), center.x, center.y + 304);
    draw_machine_picture(center);

    if (draw_button(str("Play Game"), center.x, center.y - 336, 256, 64)) {
        main_menu_open = false;
        player_setup_open = true;
        select_kind_maps();
    }
    // The kept game's button lies over the foot of the picture, which it hides only while a game is kept.
    // A kept game that no longer reads is not offered again; its file stays for the player to look at.
    if (kept_game.present && draw_button(str("Continue"), center.x, center.y - 256, 256, 56)) {
        main_menu_open = !resume_kept_game();
        kept_game.present = !main_menu_open;
        // A game hosted before is hosted again at once, so its players can rejoin with their tokens.
        host_screen_open = !main_menu_open && game_has_remote_seat() && !resume_kept_hosting(network_now());
    }
    if (draw_button(str("Quit"), center.x - 304, center.y - 336, 128, 64)) running = false;
    if (draw_button(str("Join"), center.x + 304, center.y - 256, 128, 56)) {
        main_menu_open = false;
        join_screen_open = true;
    }
    if (draw_button(str("Editor"), center.x + 304, center.y - 336, 128, 64)) {
        main_menu_open = false;
        editor_mode = true;
        leave_game_screen();
        select_kind_maps();
        empty_map_for_editing();
        start_editing();
    }
}
