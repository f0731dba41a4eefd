#include "screen/network_play.h"

#include "base/text_format.h"
#include "model/move_choice.h"
#include "model/net_client.h"
#include "model/net_host.h"
#include "model/turn_state.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/heads_up.h"
#include "screen/layout.h"
#include "screen/play_texts.h"
#include "screen/selection.h"
#include "screen/stone_animation.h"
#include "screen/ui.h"

#include <kestrune_system.h>

bool joined_play;
// The host's refusals already shown, so each is shown and acted on once.
static int64_t refusals_shown;

void reset_network_play() {
    joined_play = false;
    refusals_shown = 0;
}

int64_t joined_seat() { return net_client.seat; }

double network_now() { return static_cast<double>(system_ticks()) / 1000.0; }

void linger_connections() {
    double now = network_now();
    if (!net_host.active) update_hosting(now);
    if (net_client.phase == client_ended) update_client(&net_client, now);
}

void update_hosted_play() {
    if (!net_host.active) return;
    int64_t moves_before = last_move.number;
    update_hosting(network_now());
    if (last_move.number != moves_before) start_stone_animation();
}

// After this seat's move the host pauses before the turn passes; a choice made then would be refused.
static bool own_seat_to_move() {
    return net_client.phase == client_seated && current_player == net_client.seat && !game_over() && move_delay <= 0 &&
           !moved_this_turn;
}

static void show_received_state() {
    bool first = net_client.records_installed == 0;
    int64_t moves_before = last_move.number;
    if (!install_client_record(&net_client)) return;
    human_count = human_seats();
    // A game joined or rejoined shows the position as it stands; only a move made since moves a stone.
    if (first) {
        animated_move_number = last_move.number;
        refusals_shown = net_client.refusals_received;
    }
    if (last_move.number != moves_before && !first) {
        start_stone_animation();
        source_state = -1;
        target_state = -1;
        selected_transition = -1;
        selected_card = -1;
    }
}

static bool selection_complete() {
    if (source_state < 0 || target_state < 0) return false;
    return machine_kind != pushdown_machine || selected_card >= 0;
}

void update_joined_play() {
    update_client(&net_client, network_now());
    show_received_state();
    if (net_client.refusals_received > refusals_shown) {
        refusals_shown = net_client.refusals_received;
        take_back_selection(net_client.refusal_verdict);
        show_notice(string{net_client.refusal_text, net_client.refusal_length});
    }
    if (own_seat_to_move() && selection_complete()) {
        send_move_choice(&net_client, MoveChoice{source_state, target_state, selected_transition, selected_card});
    }
}

void choose_card_draw() {
    if (joined_play) {
        if (own_seat_to_move()) send_draw_card(&net_client);
        return;
    }
    draw_chosen_card();
}

void choose_turn_end() {
    if (joined_play) {
        if (own_seat_to_move()) send_end_turn(&net_client);
        return;
    }
    end_turn_unmoved();
}

namespace {

constexpr double network_text_scale = 192;
const Color waiting_color{1, 0.9f, 0.5f, 1};
const Color detail_color{0.7f, 0.7f, 0.7f, 1};

// Just under the seat strip, where the machine's framing leaves room.
double below_seat_strip() { return window_height - top_panel_height - seat_strip_height - 32; }

// A small line against the window's right edge under the seat strip.
void draw_corner_line(string line) {
    TextSize size = measure_text(line, network_text_scale, false);
    draw_screen_text(line, window_width - 16 - size.width, below_seat_strip(), network_text_scale, detail_color, text_plain);
}

bool seat_away(int64_t seat) {
    if (joined_play) {
        if (seat < 0 || seat >= net_client.seat_count) return false;
        const OfferedSeat& offered = net_client.seats[seat];
        return offered.kind == 2 && offered.away && !offered.handed_to_computer;
    }
    return net_host.active && seat >= 0 && seat < players.count && players.data[seat].is_remote && seat_waiting(seat);
}

bool any_remote_seat_waits() {
    for (int64_t seat = 0; seat < seats_in_play(); seat++) {
        if (players.data[seat].is_remote && seat_waiting(seat)) return true;
    }
    return false;
}

void draw_waiting_line() {
    if (game_over() || !seat_away(current_player)) return;
    char letters[64];
    FixedText text{letters, sizeof letters, 0, 0};
    fixed_put_string(&text, str("Waiting for "));
    fixed_put_string(&text, color_name(players.data[current_player].color_index));
    fixed_put_string(&text, str("..."));
    draw_screen_text(fixed_view(&text), window_width / 2.0, below_seat_strip(), 256, waiting_color, text_centered);
}

void draw_ended_connection() {
    string reason = client_failure(net_client);
    draw_centered_panel(800, 240, Color{0, 0, 0, 0.9f});
    double middle = window_height / 2.0;
    draw_screen_text(str("The connection to the host ended"), window_width / 2.0, middle + 48, 256, waiting_color, text_centered);
    draw_fitted_caption(reason, window_width / 2.0, middle, 760);
    draw_screen_text(str("Press <esc> to leave; Join can take the seat back"), window_width / 2.0, middle - 64, 192,
                     detail_color, text_centered);
}

}  // namespace

void draw_network_texts() {
    if (!joined_play && !net_host.active) return;
    draw_waiting_line();
    char letters[64];
    FixedText text{letters, sizeof letters, 0, 0};
    if (joined_play && net_client.seat >= 0) {
        fixed_put_string(&text, str("Token: "));
        fixed_put_string(&text, client_token(net_client));
        draw_corner_line(fixed_view(&text));
    } else if (!joined_play && any_remote_seat_waits()) {
        fixed_put_string(&text, str("Hosting on port "));
        fixed_put_integer(&text, net_host.port);
        draw_corner_line(fixed_view(&text));
    }
    if (joined_play && net_client.phase == client_ended) draw_ended_connection();
}
