// Before a game with remote seats: the port it waits on, how long a dropped player's seat is held
// before a computer plays it, and why the port could not be had.
#include "shell/menus.h"

#include "base/clamp.h"
#include "base/text_format.h"
#include "model/game_data.h"
#include "model/net_host.h"
#include "screen/heads_up.h"
#include "screen/network_play.h"
#include "screen/text_entry.h"
#include "screen/ui.h"
#include "shell/application.h"
#include "shell/typed_field.h"

#include <kestrune_system.h>

namespace {

constexpr double shortest_hand_over_delay = 10;
constexpr double longest_hand_over_delay = 600;
constexpr double hand_over_delay_step = 10;
constexpr int32_t addresses_shown = 4;
constexpr int64_t address_line_capacity = 256;

struct HostScreen {
    TypedField port;
    double hand_over_delay;
    char failure[net_failure_capacity];
    int64_t failure_length;
    // This computer's addresses, read once each time the screen opens; -1 until then.
    char addresses[address_line_capacity];
    int64_t addresses_length;
};

HostScreen host_screen;

void draw_hand_over_delay(ScreenPoint center) {
    draw_caption(str("Seat handed to a computer after"), center.x, center.y + 176);
    int64_t step = arrow_row(center.x - 160, center.x + 160, center.y + 112, 64);
    host_screen.hand_over_delay = clamp(host_screen.hand_over_delay + hand_over_delay_step * static_cast<double>(step),
                                        shortest_hand_over_delay, longest_hand_over_delay);
    char letters[32];
    FixedText text{letters, sizeof letters, 0, 0};
    fixed_put_integer(&text, static_cast<int64_t>(host_screen.hand_over_delay));
    fixed_put_string(&text, str(" s"));
    draw_caption(fixed_view(&text), center.x, center.y + 112);
}

void draw_where_to_join(ScreenPoint center) {
    if (string_equals(field_text(host_screen.port), str("0"))) {
        draw_caption(str("Players join at the port shown in the game"), center.x, center.y + 16);
        return;
    }
    char letters[64];
    FixedText text{letters, sizeof letters, 0, 0};
    fixed_put_string(&text, str("Players join at port "));
    fixed_put_string(&text, field_text(host_screen.port));
    draw_caption(fixed_view(&text), center.x, center.y + 16);
}

bool is_ipv6(string ip) {
    for (int64_t i = 0; i < ip.length; i++) {
        if (ip.data[i] == ':') return true;
    }
    return false;
}

// Loopback last, as the library lists them: a player at another computer wants the first. The
// host listens on IPv4 only, so only those addresses would reach it.
void read_local_addresses() {
    network_address found[addresses_shown];
    int32_t count = network_local_addresses(found, addresses_shown);
    FixedText text{host_screen.addresses, address_line_capacity, 0, 0};
    bool first = true;
    for (int32_t k = 0; k < count && k < addresses_shown; k++) {
        string ip = network_address_get_ip(&found[k]);
        if (is_ipv6(ip)) continue;
        if (!first) fixed_put_string(&text, str(", "));
        fixed_put_string(&text, ip);
        first = false;
    }
    host_screen.addresses_length = text.length;
}

void draw_addresses(ScreenPoint center) {
    if (host_screen.addresses_length < 0) read_local_addresses();
    if (host_screen.addresses_length == 0) return;
    draw_caption(str("This computer's addresses:"), center.x, center.y - 48);
    draw_fitted_caption(string{host_screen.addresses, host_screen.addresses_length}, center.x, center.y - 96, 760);
}

void leave_host_screen() {
    host_screen_open = false;
    host_screen.addresses_length = -1;
}

void start_hosting_from_screen() {
    uint16_t port = default_host_port;
    read_port(field_text(host_screen.port), &port);
    if (start_hosting(port, host_screen.hand_over_delay, network_now())) {
        leave_host_screen();
        host_screen.failure_length = 0;
        return;
    }
    FixedText text{host_screen.failure, net_failure_capacity, 0, 0};
    fixed_put_string(&text, host_failure());
    host_screen.failure_length = text.length;
}

}  // namespace

bool game_has_remote_seat() {
    for (int64_t seat = 0; seat < seats_in_play(); seat++) {
        if (players.data[seat].is_remote) return true;
    }
    return false;
}

void reset_host_screen() {
    host_screen = HostScreen{};
    FixedText port{host_screen.port.text, typed_field_capacity, 0, 0};
    fixed_put_integer(&port, default_host_port);
    host_screen.port.length = port.length;
    host_screen.hand_over_delay = default_hand_over_delay;
    host_screen.addresses_length = -1;
}

void leave_host_screen_for_map_list() {
    leave_host_screen();
    map_list_open = true;
}

void draw_host_screen() {
    take_typed_text(entry_for_port, &host_screen.port, is_port);
    ScreenPoint center = window_center();
    draw_centered_panel(800, 800, menu_panel_color);
    if (entry_open) {
        text_entry_frame(port_note);
        return;
    }
    draw_caption(str("Host a game"), center.x, center.y + 352);
    draw_typed_field(host_screen.port, entry_for_port, str("Port"), str("The port to wait on (0: any free one)"),
                     str("4747"), center.y + 256);
    draw_hand_over_delay(center);
    draw_where_to_join(center);
    draw_addresses(center);
    if (host_screen.failure_length > 0) {
        draw_caption(str("The game cannot be hosted:"), center.x, center.y - 176);
        draw_fitted_caption(string{host_screen.failure, host_screen.failure_length}, center.x, center.y - 224, 760);
    }
    if (draw_button(str("Host"), center.x, center.y - 336, 256, 64)) start_hosting_from_screen();
    if (draw_button(str("Back"), center.x - 304, center.y - 336, 128, 64)) leave_host_screen_for_map_list();
}
