// Joining a game hosted at another computer: its address and port as the player types them (and a
// token to take back a seat), the host's free seats to take, and why a connection failed.
#include "shell/menus.h"

#include "base/text_format.h"
#include "model/net_client.h"
#include "screen/hand.h"
#include "screen/hint.h"
#include "screen/machine_view.h"
#include "screen/network_play.h"
#include "screen/play_texts.h"
#include "screen/text_entry.h"
#include "screen/ui.h"
#include "shell/application.h"
#include "shell/typed_field.h"

namespace {

struct JoinScreen {
    TypedField address, port, token;
    // Why the last attempt failed before it could reach the host (an address that does not resolve).
    char failure[net_failure_capacity];
    int64_t failure_length;
};

JoinScreen join_screen;

bool connection_in_progress() {
    return net_client.phase == client_connecting || net_client.phase == client_choosing_seat ||
           net_client.phase == client_seated;
}

string seat_kind_text(const OfferedSeat& seat) {
    if (seat.kind == 0) return str(": played at the host");
    if (seat.kind == 1) return str(": a computer");
    if (seat.handed_to_computer) return str(": a computer while its player is away");
    if (seat.taken) return str(seat.away ? ": its player is away" : ": taken");
    return str(": free");
}

bool seat_free(const OfferedSeat& seat) { return seat.kind == 2 && !seat.taken; }

// Every seat of the host's game, the free remote ones as buttons that take them.
void draw_offered_seats(ScreenPoint center) {
    for (int64_t k = 0; k < net_client.seat_count; k++) {
        const OfferedSeat& seat = net_client.seats[k];
        double y = center.y - 24 - 52 * static_cast<double>(k);
        string name = color_name(seat.color_index);
        if (seat_free(seat)) {
            // In the frame arena: a test finds the button by its label after the frame.
            string label = arena_concat(str("Take "), name, FRAME_ARENA);
            if (draw_button(label, center.x, y, 320, 48)) take_offered_seat(&net_client, k);
        } else {
            draw_caption(arena_concat(name, seat_kind_text(seat), FRAME_ARENA), center.x, y);
        }
    }
}

string status_line() {
    switch (net_client.phase) {
        case client_connecting: return str("Connecting...");
        case client_choosing_seat: return str("Choose a seat:");
        case client_seated: return str("Waiting for the game...");
        case client_ended: return client_failure(net_client);
        default: return string{join_screen.failure, join_screen.failure_length};
    }
}

void keep_failure(string reason) {
    FixedText text{join_screen.failure, net_failure_capacity, 0, 0};
    fixed_put_string(&text, reason);
    join_screen.failure_length = text.length;
}

void connect_from_screen(bool with_token) {
    uint16_t port = 0;
    if (!read_port(field_text(join_screen.port), &port) || port == 0 || join_screen.address.length == 0) {
        keep_failure(str("Type the host's address and port first"));
        return;
    }
    double now = network_now();
    bool started = with_token ? rejoin_host(&net_client, field_text(join_screen.address), port, field_text(join_screen.token), now)
                              : join_host(&net_client, field_text(join_screen.address), port, now);
    if (!started) {
        keep_failure(client_failure(net_client));
        return;
    }
    join_screen.failure_length = 0;
    joined_play = true;
}

void take_typed_fields() {
    take_typed_text(entry_for_address, &join_screen.address, nullptr);
    take_typed_text(entry_for_port, &join_screen.port, is_port);
    take_typed_text(entry_for_token, &join_screen.token, nullptr);
    // Tokens are written in capitals; one typed in small letters is the same token.
    for (int64_t i = 0; i < join_screen.token.length; i++) {
        char& letter = join_screen.token.text[i];
        if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    }
}

void draw_fields(ScreenPoint center) {
    draw_typed_field(join_screen.address, entry_for_address, str("Address"), str("The host's address"),
                     str("Type the address"), center.y + 272);
    draw_typed_field(join_screen.port, entry_for_port, str("Port"), str("The host's port"), str("Type the port"),
                     center.y + 192);
    draw_typed_field(join_screen.token, entry_for_token, str("Token"), str("Your seat's token, to rejoin"),
                     str("Only to rejoin"), center.y + 112);
}

}  // namespace

void reset_join_screen() {
    join_screen = JoinScreen{};
    FixedText port{join_screen.port.text, typed_field_capacity, 0, 0};
    fixed_put_integer(&port, default_host_port);
    join_screen.port.length = port.length;
}

void prefill_rejoin() {
    set_field_text(&join_screen.address, string{net_client.host, net_client.host_length});
    FixedText port{join_screen.port.text, typed_field_capacity, 0, 0};
    fixed_put_integer(&port, net_client.port);
    join_screen.port.length = port.length;
    if (net_client.seat >= 0) set_field_text(&join_screen.token, client_token(net_client));
}

void leave_join_screen() {
    if (connection_in_progress()) leave_host(&net_client, str("The player left the game"), network_now());
    joined_play = false;
    join_screen_open = false;
    main_menu_open = true;
}

void draw_join_screen() {
    take_typed_fields();
    ScreenPoint center = window_center();
    draw_centered_panel(800, 832, menu_panel_color);
    if (entry_open) {
        text_entry_frame(entry_purpose == entry_for_port ? port_note : nullptr);
        return;
    }
    if (joined_play) update_joined_play();
    // The game opens with the first state the host sends for the seat taken.
    if (net_client.phase == client_seated && net_client.records_installed > 0) {
        join_screen_open = false;
        frame_whole_map();
        reset_hand_view();
        reset_hint();
        return;
    }
    draw_caption(str("Join a game"), center.x, center.y + 368);
    draw_fields(center);
    draw_fitted_caption(status_line(), center.x, center.y + 40, 760);
    if (net_client.phase == client_choosing_seat) draw_offered_seats(center);
    if (!connection_in_progress()) {
        if (draw_button(str("Join"), center.x, center.y - 352, 256, 64)) connect_from_screen(false);
        if (join_screen.token.length > 0 && draw_button(str("Rejoin"), center.x + 304, center.y - 352, 128, 64)) {
            connect_from_screen(true);
        }
    }
    if (draw_button(str("Back"), center.x - 304, center.y - 352, 128, 64)) leave_join_screen();
}
