// The menu screens before a game: each draws itself and acts on its buttons in one call per frame.
#pragma once

#include "base/color.h"

constexpr Color menu_panel_color{0, 0, 0, 0.8f};

void draw_main_menu();
void draw_player_setup();
void draw_map_list();
// Between the map list and a game with remote seats.
void draw_host_screen();
void draw_join_screen();

// Closes the map list's question before deleting a map; true when one was up.
bool close_map_list_question();
void reset_map_list_screen();
// A game with remote seats opens on the Host screen, a new one and a continued one alike.
bool game_has_remote_seat();
void reset_host_screen();
// Back to the map list without hosting.
void leave_host_screen_for_map_list();
void reset_join_screen();
// The Join screen's address, port and token set to come back to the joined game just left.
void prefill_rejoin();
// Back to the main menu, ending a connection that has not reached its game yet.
void leave_join_screen();
