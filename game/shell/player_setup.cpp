// The seats of the next game: how many, and for each human or computer, its colour and strength.
#include "shell/menus.h"

#include "model/game_data.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "shell/application.h"
#include "shell/menu_widgets.h"

namespace {

constexpr int64_t min_players = 1;
constexpr int64_t max_players = card_property_count;
constexpr int64_t hardest_difficulty = 3;

int64_t clamped(int64_t value, int64_t low, int64_t high) { return value < low ? low : value > high ? high : value; }

// Seats past the old count start fresh, so a seat removed and added again forgets its settings.
void match_seats_to_player_count() {
    if (players.count == player_count) return;
    array_reserve(&players, player_count);
    for (int64_t seat = players.count; seat < player_count; seat++) players.data[seat] = new_player(seat);
    players.count = player_count;
}

string difficulty_name(int64_t difficulty) {
    switch (difficulty) {
        case 0: return str("easy");
        case 1: return str("normal");
        case 2: return str("hard");
        default: return str("expert");
    }
}

void draw_seat(Player* player, ScreenPoint center, double y) {
    if (draw_button(str(player->is_computer ? "ai" : "human"), center.x - 256, y, 78, 64)) {
        player->is_computer = !player->is_computer;
    }

    int64_t color = player->color_index + arrow_step(center.x - 160, center.x - 32, y);
    set_player_color(player, static_cast<uint8_t>(((color % max_players) + max_players) % max_players));
    draw_quad(player_texture, center.x - 128, y - 32, 64, 64, player->color, true);

    // A human seat keeps its difficulty, unseen, for when it becomes a computer again.
    if (!player->is_computer) return;
    int64_t step = arrow_step(center.x + 64, center.x + 256, y);
    if (step != 0) player->difficulty = clamped(player->difficulty + step, 0, hardest_difficulty);
    draw_caption(difficulty_name(player->difficulty), center.x + 160, y);
}

}  // namespace

void draw_player_setup() {
    ScreenPoint center = window_center();
    draw_menu_panel(832);

    if (draw_button(str("OK"), center.x, center.y - 352, 256, 64)) {
        player_setup_open = false;
        map_list_open = true;
    }
    if (draw_button(str("Back"), center.x - 304, center.y - 352, 128, 64)) {
        player_setup_open = false;
        main_menu_open = true;
    }

    int64_t step = arrow_step(center.x - 160, center.x + 160, center.y + 320);
    player_count = clamped(player_count + step, min_players, max_players);
    match_seats_to_player_count();

    draw_caption(str("Number of players"), center.x, center.y + 368);
    char digit = static_cast<char>('0' + player_count);
    draw_caption(string{&digit, 1}, center.x, center.y + 320);

    for (int64_t seat = 0; seat < player_count; seat++) draw_seat(&players.data[seat], center, center.y + 224 - 96 * seat);
}
