#include "screen/screen_state.h"

#include "model/game_data.h"
#include "model/map_list.h"
#include "model/turn_state.h"
#include "screen/camera.h"
#include "screen/editor.h"
#include "screen/game_screen.h"
#include "screen/hint.h"
#include "screen/stone_animation.h"
#include "screen/text_entry.h"

void reset_screens() {
    reset_turn_state();
    reset_stone_animation();
    reset_hint();
    reset_camera();
    reset_game_screen();
    reset_text_entry();
    reset_editor();
}

void reset_model_and_screens() {
    reset_map();
    reset_game();
    reset_map_lists();
    reset_screens();
}
