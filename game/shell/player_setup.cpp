// The seats of the next game: how many, and for each whether a person here, a computer or a player at
// another computer plays it, its colour and a computer's strength.
#include "shell/menus.h"

#include "base/clamp.h"
#include "model/game_data.h"
#include "render/primitives.h"
#include "screen/play_texts.h"
#include "screen/ui.h"
#include "render/resources.h"
#include "shell/application.h"

namespace {

constexpr int64_t min_players = 1;
constexpr int64_t max_players = card_property_count;
constexpr int64_t hardest_difficulty = 3;

uint8_t wrapped_color(int64_t color) { return static_cast<uint8_t>(((color % max_players) + max_players) % max_players); }

// Two seats of one colour could not be told apart, in play or in "Orange wins!".
bool color_taken(int64_t color, int64_t by_other_than_seat) {
    for (int64_t seat = 0; seat < players.count; seat++) {
        if (seat != by_other_than_seat && players.data[seat].color_index == color) return true;
    }
    return false;
}

// The next colour from `color` in the direction of `step` that no other seat has; the seat's own when none.
uint8_t next_free_color(int64_t seat, int64_t color, int64_t step) {
    for (int64_t tries = 1; tries < max_players; tries++) {
        uint8_t candidate = wrapped_color(color + step * tries);
        if (!color_taken(candidate, seat)) return candidate;
    }
    return wrapped_color(color);
}

// Seats past the old count start fresh, so a seat removed and added again forgets its settings; each
// takes its own colour, or the first one free.
void match_seats_to_player_count() {
    if (players.count == player_count) return;
    array_reserve(&players, player_count);
    // Counted up seat by seat, so the colour test sees only seats already set.
    for (int64_t seat = players.count; seat < player_count; seat++) {
        players.data[seat] = new_player(seat);
        if (color_taken(seat, seat)) set_player_color(&players.data[seat], next_free_color(seat, seat, 1));
        players.count = seat + 1;
    }
    players.count = player_count;
}

string seat_kind_label(const Player& player) {
    if (player.is_remote) return str("remote");
    return str(player.is_computer ? "ai" : "human");
}

// human, then ai, then remote, then human again.
void next_seat_kind(Player* player) {
    if (player->is_remote) {
        player->is_remote = 0;
    } else if (player->is_computer) {
        player->is_computer = 0;
        player->is_remote = 1;
    } else {
        player->is_computer = 1;
    }
}

void draw_seat(Player* player, ScreenPoint center, double y) {
    if (draw_button(seat_kind_label(*player), center.x - 256, y, 78, 64)) next_seat_kind(player);

    int64_t color_step = arrow_row(center.x - 160, center.x - 32, y, 64);
    if (color_step != 0) set_player_color(player, next_free_color(player - players.data, player->color_index, color_step));
    draw_quad(player_texture, center.x - 128, y - 32, 64, 64, player->color, screen_projection);

    // A human or remote seat keeps its difficulty, unseen, for when it becomes a computer again.
    if (!player->is_computer) return;
    int64_t step = arrow_row(center.x + 64, center.x + 256, y, 64);
    if (step != 0) player->difficulty = clamp<int64_t>(player->difficulty + step, 0, hardest_difficulty);
    draw_caption(difficulty_name(player->difficulty), center.x + 160, y);
}

}  // namespace

void draw_player_setup() {
    ScreenPoint center = window_center();
    draw_centered_panel(800, 832, menu_panel_color);

    if (draw_button(str("OK"), center.x, center.y - 352, 256, 64)) {
        player_setup_open = false;
        map_list_open = true;
    }
    if (draw_button(str("Back"), center.x - 304, center.y - 352, 128, 64)) {
        player_setup_open = false;
        main_menu_open = true;
    }

    int64_t step = arrow_row(center.x - 160, center.x + 160, center.y + 320, 64);
    player_count = clamp<int64_t>(player_count + step, min_players, max_players);
    match_seats_to_player_count();

    draw_caption(str("Number of players"), center.x, center.y + 368);
    char digit = static_cast<char>('0' + player_count);
    draw_caption(string{&digit, 1}, center.x, center.y + 320);

    for (int64_t seat = 0; seat < player_count; seat++) draw_seat(&players.data[seat], center, center.y + 224 - 96 * seat);
}
