#include "screen/screen_state.h"

#include "model/draw_rules.h"
#include "model/game_log.h"
#include "model/game_data.h"
#include "model/map_list.h"
#include "model/net_client.h"
#include "model/net_host.h"
#include "model/position_analysis.h"
#include "model/turn_state.h"
#include "screen/camera.h"
#include "screen/editor.h"
#include "screen/frame_input.h"
#include "screen/pointer_boxes.h"
#include "screen/game_screen.h"
#include "screen/goal_builder.h"
#include "screen/heads_up.h"
#include "screen/hint.h"
#include "screen/move_values.h"
#include "screen/network_play.h"
#include "screen/stone_animation.h"
#include "screen/text_entry.h"

void reset_screens() {
    reset_frame_input();
    reset_pointer_boxes();
    reset_turn_state();
    reset_stone_animation();
    reset_hint();
    reset_move_values();
    reset_camera();
    reset_game_screen();
    reset_heads_up();
    reset_text_entry();
    reset_editor();
    reset_network_play();
}

void reset_model_and_screens() {
    reset_map();
    reset_game();
    reset_position_history();
    forget_position_analysis();
    reset_map_lists();
    reset_game_log();
    reset_net_host();
    reset_net_client(&net_client);
    reset_screens();
}

void leave_game_screen() {
    reset_turn_state();
    reset_stone_animation();
    reset_heads_up();
    entry_open = 0;
    finish_text_entry();
    goal_builder_open = 0;
}
