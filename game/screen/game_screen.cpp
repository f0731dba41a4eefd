// Placeholder until the game screen lands.
#include "screen/game_screen.h"

double hand_scroll;
uint8_t hand_scroll_dragging;
uint8_t show_state_numbers;
double bottom_panel_height;
double top_panel_height;
CardSlot deck_slot;
CardSlot stack_slot;

void update_play() {}
void game_screen_frame() {}
void reset_game_screen() {
    bottom_panel_height = 176;
    top_panel_height = 160;
}
