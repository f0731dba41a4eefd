#include "model/net_client.h"

#include "model/game_record.h"
#include "model/kept_game.h"
#include "model/turn_state.h"

NetClient idle_net_client() {
    NetClient client{};
    client.link.socket = -1;
    client.selector = -1;
    client.seat = -1;
    return client;
}

namespace {

bool readable(NetClient* client) {
    if (!link_holds_socket(client->link)) return false;
    if (client->selector == -1) client->selector = network_selector_create();
    return socket_readable(client->selector, client->link.socket);
}

void copy_text(char* into, int64_t capacity, int64_t* length, string text) {
    *length = text.length < capacity ? text.length : capacity;
    if (*length > 0) memcpy(into, text.data, static_cast<size_t>(*length));
}

void fail(NetClient* client, const char* reason) { link_fail(&client->link, str(reason)); }

// The host's own words, shown on screen; anything but plain letters is shown as '?'.
string printable(string text) {
    char* letters = arena_push_array<char>(FRAME_ARENA, text.length > 0 ? text.length : 1);
    for (int64_t i = 0; i < text.length; i++) {
        char letter = text.data[i];
        letters[i] = letter >= ' ' && letter <= '~' ? letter : '?';
    }
    return string{letters, text.length};
}

void read_seats(NetClient* client, NetFieldCursor* fields) {
    int64_t count = net_take_u8(fields);
    if (count > host_seat_capacity) return fail(client, "the host sent seats the game does not have");
    OfferedSeat seats[host_seat_capacity]{};
    for (int64_t seat = 0; seat < count; seat++) {
        seats[seat].kind = net_take_u8(fields);
        seats[seat].color_index = net_take_u8(fields);
        seats[seat].taken = net_take_u8(fields);
        seats[seat].away = net_take_u8(fields);
        seats[seat].handed_to_computer = net_take_u8(fields);
    }
    if (!net_fields_done(fields)) return fail(client, "the host sent a message the game cannot read");
    memcpy(client->seats, seats, sizeof seats);
    client->seat_count = count;
    if (client->phase == client_connecting) client->phase = client_choosing_seat;
}

void read_seated(NetClient* client, NetFieldCursor* fields) {
    int64_t seat = net_take_u8(fields);
    string token = net_take_text(fields);
    if (!net_fields_done(fields) || seat >= host_seat_capacity || token.length != rejoin_token_length) {
        return fail(client, "the host sent a message the game cannot read");
    }
    client->seat = seat;
    memcpy(client->token, token.data, rejoin_token_length);
    client->phase = client_seated;
}

void read_state(NetClient* client, string record) {
    if (client->phase != client_seated || record.length > max_game_record_size) {
        return fail(client, "the host sent a message the game does not expect");
    }
    if (game_record_viewer(record) != client->seat) return fail(client, "the host sent a game this seat may not see");
    net_keep_bytes(&client->record, record);
    if (game_record_carries_map(record)) {
        net_keep_bytes(&client->map_record, record);
        client->map_record_waiting = 1;
    }
    client->records_received++;
    // A new position: the same selection may be a different choice now.
    client->choice_sent = 0;
}

void read_refusal(NetClient* client, NetFieldCursor* fields) {
    uint8_t verdict = net_take_u8(fields);
    string reason = net_take_text(fields);
    if (!net_fields_done(fields) || verdict > choice_refused) return fail(client, "the host sent a message the game cannot read");
    client->refusal_verdict = verdict;
    copy_text(client->refusal_text, net_failure_capacity, &client->refusal_length, printable(reason));
    client->refusals_received++;
    client->seat_requested = 0;
    // A refused choice may be tried again; one only incomplete waits for the rest.
    if (verdict != choice_incomplete) client->choice_sent = 0;
}

void handle(NetClient* client, const NetMessage& message) {
    if (!net_kind_from_host(message.kind)) return fail(client, "the host sent a message the game does not expect");
    NetFieldCursor fields = net_fields(message.payload);
    switch (message.kind) {
        case net_welcome:
        case net_seat_status: return read_seats(client, &fields);
        case net_seated: return read_seated(client, &fields);
        case net_game_state: return read_state(client, message.payload);
        case net_refusal: return read_refusal(client, &fields);
        case net_goodbye: return link_fail(&client->link, printable(message.payload));
        default: return;
    }
}

bool connect(NetClient* client, string host, uint16_t port, double now) {
    reset_net_client(client);
    copy_text(client->host, client_host_capacity, &client->host_length, host);
    client->port = port;
    client->phase = client_connecting;
    if (link_connect(&client->link, host, port, net_host_message_limit, now)) return true;
    client->phase = client_ended;
    return false;
}

}  // namespace

NetClient net_client = idle_net_client();

void reset_net_client(NetClient* client) {
    link_fail(&client->link, str("left the game"));
    if (client->selector != -1) network_selector_destroy(client->selector);
    *client = idle_net_client();
}

bool join_host(NetClient* client, string host, uint16_t port, double now) { return connect(client, host, port, now); }

bool rejoin_host(NetClient* client, string host, uint16_t port, string token, double now) {
    if (!connect(client, host, port, now)) return false;
    client->rejoining = 1;
    // Kept, so a rejoin that fails can be tried again with the same token.
    if (token.length == rejoin_token_length) memcpy(client->token, token.data, rejoin_token_length);
    GrowableArray<uint8_t> payload{};
    payload.arena_id = FRAME_ARENA;
    net_put_text(&payload, token);
    link_send(&client->link, net_rejoin, net_bytes_view(payload));
    return true;
}

void take_offered_seat(NetClient* client, int64_t seat) {
    if (client->phase != client_choosing_seat || client->seat_requested || seat < 0 || seat >= client->seat_count) return;
    client->seat_requested = 1;
    GrowableArray<uint8_t> payload{};
    payload.arena_id = FRAME_ARENA;
    net_put_u8(&payload, static_cast<uint8_t>(seat));
    link_send(&client->link, net_take_seat, net_bytes_view(payload));
}

void send_move_choice(NetClient* client, const MoveChoice& choice) {
    if (client->phase != client_seated) return;
    bool same = client->sent_choice.source_state == choice.source_state && client->sent_choice.target_state == choice.target_state &&
                client->sent_choice.transition == choice.transition && client->sent_choice.hand_card == choice.hand_card;
    if (client->choice_sent && same) return;
    GrowableArray<uint8_t> payload{};
    payload.arena_id = FRAME_ARENA;
    net_put_i64(&payload, choice.source_state);
    net_put_i64(&payload, choice.target_state);
    net_put_i64(&payload, choice.transition);
    net_put_i64(&payload, choice.hand_card);
    link_send(&client->link, net_choose_move, net_bytes_view(payload));
    client->sent_choice = choice;
    client->choice_sent = 1;
}

void send_draw_card(NetClient* client) {
    if (client->phase == client_seated) link_send(&client->link, net_draw_card, string{nullptr, 0});
}

void send_end_turn(NetClient* client) {
    if (client->phase == client_seated) link_send(&client->link, net_end_turn, string{nullptr, 0});
}

void update_client(NetClient* client, double now) {
    if (client->phase == client_ended) return link_linger(&client->link, readable(client), now);
    if (client->phase == client_idle) return;
    link_flush(&client->link, now);
    bool ready = readable(client);
    if (ready) link_receive(&client->link, now);
    NetMessage message;
    while (link_open(client->link) && link_next(&client->link, &message) == net_read_message) {
        client->bytes_received += net_header_size + message.payload.length;
        handle(client, message);
    }
    link_check_silence(&client->link, now);
    if (client->link.failed) {
        // The socket goes at once: a host that is gone reads nothing more.
        link_fail(&client->link, link_failure(client->link));
        client->phase = client_ended;
    }
}

bool install_client_record(NetClient* client) {
    if (client->phase != client_seated || client->records_installed == client->records_received) return false;
    client->records_installed = client->records_received;
    string newest = net_bytes_view(client->record);
    bool map_first = client->map_record_waiting && !game_record_carries_map(newest);
    client->map_record_waiting = 0;
    if (map_first && !read_game_record(net_bytes_view(client->map_record))) return false;
    if (!read_game_record(newest)) return false;
    // Every other seat is played elsewhere: this game only shows what the host decides.
    for (int64_t seat = 0; seat < players.count; seat++) {
        players.data[seat].is_remote = seat != client->seat;
        if (seat == client->seat) players.data[seat].is_computer = 0;
    }
    hand_revealed = 1;
    // The host keeps this game; a copy here would offer to continue someone else's.
    kept_game.not_ours = true;
    return true;
}

void leave_host(NetClient* client, string reason, double now) {
    if (!link_open(client->link)) return;
    link_say_goodbye(&client->link, reason, now);
    client->phase = client_ended;
}

string client_failure(const NetClient& client) { return link_failure(client.link); }
