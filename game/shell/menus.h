// The three menu screens before a game: each draws itself and acts on its buttons in one call per frame.
#pragma once

#include "base/color.h"

constexpr Color menu_panel_color{0, 0, 0, 0.8f};

void draw_main_menu();
void draw_player_setup();
void draw_map_list();

// Closes the map list's question before deleting a map; true when one was up.
bool close_map_list_question();
void reset_map_list_screen();
