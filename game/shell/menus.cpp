// Placeholder until the menus land.
#include "shell/menus.h"

void draw_main_menu() {}
void draw_player_setup() {}
void draw_map_list() {}
