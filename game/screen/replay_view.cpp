#include "screen/replay_view.h"

#include "base/text_format.h"
#include "model/game_data.h"
#include "model/game_log.h"
#include "model/turn_state.h"
#include "screen/frame_input.h"
#include "screen/game_screen.h"
#include "screen/heads_up.h"
#include "screen/layout.h"
#include "screen/machine_view.h"
#include "screen/play_texts.h"
#include "screen/stone_animation.h"
#include "render/scene_target.h"
#include "screen/ui.h"

namespace {

// The seat to move shows its hand, and no selection lingers from a click.
void show_step_as_it_stood() {
    hand_revealed = 1;
    source_state = target_state = selected_transition = -1;
    selected_card = -1;
    move_delay = computer_delay = 0;
}

void draw_step_line() {
    char letters[notice_capacity];
    FixedText text{letters, notice_capacity, 0, 0};
    fixed_put_string(&text, str("Replay: step "));
    fixed_put_integer(&text, game_log.replay_step);
    fixed_put_string(&text, str(" of "));
    fixed_put_integer(&text, game_log.steps.count - 1);
    int64_t seat = game_log.steps.data[game_log.replay_step].seat;
    if (seat >= 0 && seat < players.count) {
        fixed_put_string(&text, str(", "));
        fixed_put_string(&text, color_name(players.data[seat].color_index));
        fixed_put_string(&text, str(" moved"));
    }
    fixed_put_string(&text, str(" (Left, Right, Home, End; Escape: back)"));
    // Where notices stand, just above the hand, clear of the cards.
    draw_screen_text(fixed_view(&text), window_width / 2.0, bottom_panel_height + 24, 200, Color{1, 1, 1, 1}, text_centered);
}

}  // namespace

bool start_replay(string path) {
    reset_heads_up();
    if (!open_game_replay(path)) return false;
    show_step_as_it_stood();
    reset_stone_animation();
    frame_whole_map();
    return true;
}

void replay_frame() {
    int64_t step = game_log.replay_step;
    if (key_pressed(KEY_RIGHT)) step++;
    if (key_pressed(KEY_LEFT)) step--;
    if (key_pressed(KEY_HOME)) step = 0;
    if (key_pressed(KEY_END)) step = game_log.steps.count - 1;
    if (step != game_log.replay_step && show_replay_step(step)) reset_stone_animation();
    show_step_as_it_stood();
    game_screen_frame(false);
    show_step_as_it_stood();
    draw_step_line();
}
