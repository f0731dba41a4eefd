#include "model/net_host.h"

#include "base/text_cursor.h"
#include "base/text_format.h"
#include "model/game_record.h"
#include "model/move_choice.h"
#include "model/turn_state.h"

namespace {

NetHost idle_host() {
    NetHost host{};
    host.listener = -1;
    host.selector = -1;
    for (HostClient& client : host.clients) {
        client.link.socket = -1;
        client.seat = -1;
    }
    return host;
}

// Letters that cannot be misread for one another on a screen (no 0/O, 1/I).
constexpr char token_letters[] = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";

void set_host_failure(string reason) {
    int64_t length = reason.length < net_failure_capacity ? reason.length : net_failure_capacity;
    if (length > 0) memcpy(net_host.failure_text, reason.data, static_cast<size_t>(length));
    net_host.failure_length = length;
}

// Its own sequence, apart from the game's random numbers, so hosting never changes a game's dice.
uint64_t next_token_word() {
    uint64_t z = (net_host.token_random += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

void new_token(HostedSeat* seat) {
    for (;;) {
        for (char& letter : seat->token) letter = token_letters[next_token_word() % (sizeof token_letters - 1)];
        bool unique = true;
        for (const HostedSeat& other : net_host.seats) {
            if (&other != seat && other.taken && memcmp(other.token, seat->token, rejoin_token_length) == 0) unique = false;
        }
        if (unique) return;
    }
}

bool readable(network_socket socket) { return socket_readable(net_host.selector, socket); }

void send(HostClient* client, uint8_t kind, string payload) {
    link_send(&client->link, kind, payload);
    net_host.messages_sent++;
    net_host.bytes_sent += net_header_size + payload.length;
    if (net_header_size + payload.length > net_host.largest_message) net_host.largest_message = net_header_size + payload.length;
}

void send_refusal(HostClient* client, ChoiceVerdict verdict, string reason) {
    GrowableArray<uint8_t> payload{};
    payload.arena_id = FRAME_ARENA;
    net_put_u8(&payload, verdict);
    net_put_text(&payload, reason);
    send(client, net_refusal, net_bytes_view(payload));
}

// The seat leaves its client: away from now, until the token brings it back.
void seat_left(int64_t seat, double now) {
    if (seat < 0) return;
    net_host.seats[seat].client = -1;
    net_host.seats[seat].away_since = now;
}

void drop_client(int64_t index, string reason, double now) {
    HostClient* client = &net_host.clients[index];
    if (client->seat >= 0) seat_left(client->seat, now);
    client->seat = -1;
    client->said_goodbye = 1;
    link_say_goodbye(&client->link, reason, now);
}

constexpr const char* unexpected = "a message the game does not expect";

void give_seat(int64_t index, int64_t seat) {
    HostClient* client = &net_host.clients[index];
    HostedSeat* hosted = &net_host.seats[seat];
    client->seat = seat;
    client->map_sent = 0;
    array_clear(&client->sent_record);
    hosted->client = index;
    if (hosted->handed_to_computer) {
        players.data[seat].is_computer = 0;
        players.data[seat].is_remote = 1;
        hosted->handed_to_computer = 0;
    }
    GrowableArray<uint8_t> payload{};
    payload.arena_id = FRAME_ARENA;
    net_put_u8(&payload, static_cast<uint8_t>(seat));
    net_put_text(&payload, string{hosted->token, rejoin_token_length});
    send(client, net_seated, net_bytes_view(payload));
}

void take_seat(int64_t index, NetFieldCursor* fields, double now) {
    HostClient* client = &net_host.clients[index];
    int64_t seat = net_take_u8(fields);
    if (!net_fields_done(fields) || client->seat >= 0) return drop_client(index, str(unexpected), now);
    if (seat >= seats_in_play() || !net_host.seats[seat].remote) {
        return send_refusal(client, choice_refused, str("That seat is not played from another computer"));
    }
    HostedSeat* hosted = &net_host.seats[seat];
    if (hosted->taken) return send_refusal(client, choice_refused, str("That seat is taken"));
    hosted->taken = 1;
    new_token(hosted);
    give_seat(index, seat);
}

void rejoin(int64_t index, NetFieldCursor* fields, double now) {
    HostClient* client = &net_host.clients[index];
    string token = net_take_text(fields);
    if (!net_fields_done(fields) || client->seat >= 0) return drop_client(index, str(unexpected), now);
    for (int64_t seat = 0; seat < seats_in_play(); seat++) {
        HostedSeat* hosted = &net_host.seats[seat];
        if (!hosted->taken || token.length != rejoin_token_length || memcmp(hosted->token, token.data, rejoin_token_length) != 0) {
            continue;
        }
        // The same player on another computer: the old connection, if it still seems up, is stale.
        if (hosted->client >= 0) drop_client(hosted->client, str("This seat was taken back from another computer"), now);
        give_seat(index, seat);
        return;
    }
    send_refusal(client, choice_refused, str("No seat has that token"));
}

ChoiceOutcome refused(const char* reason) { return ChoiceOutcome{choice_refused, str(reason)}; }

// The same rules as a click at the host's screen, and only for the seat whose turn it is.
void carry_out_choice(int64_t index, const NetMessage& message, double now) {
    HostClient* client = &net_host.clients[index];
    NetFieldCursor fields = net_fields(message.payload);
    MoveChoice choice{};
    if (message.kind == net_choose_move) {
        choice.source_state = static_cast<int16_t>(net_take_i64(&fields));
        choice.target_state = static_cast<int16_t>(net_take_i64(&fields));
        choice.transition = static_cast<int16_t>(net_take_i64(&fields));
        choice.hand_card = net_take_i64(&fields);
    }
    if (!net_fields_done(&fields) || client->seat < 0) return drop_client(index, str(unexpected), now);
    ChoiceOutcome outcome{};
    if (!remote_seat_may_choose(client->seat) || !players.data[client->seat].is_remote) {
        outcome = refused("It is not your turn");
    } else if (message.kind == net_choose_move) {
        outcome = make_chosen_move(choice);
    } else if (message.kind == net_draw_card) {
        outcome = draw_chosen_card();
    } else {
        outcome = end_turn_unmoved();
    }
    if (outcome.verdict != choice_made) send_refusal(client, outcome.verdict, outcome.refusal);
}

void handle(int64_t index, const NetMessage& message, double now) {
    if (!net_kind_from_client(message.kind)) return drop_client(index, str(unexpected), now);
    NetFieldCursor fields = net_fields(message.payload);
    switch (message.kind) {
        case net_still_here: return;
        case net_take_seat: return take_seat(index, &fields, now);
        case net_rejoin: return rejoin(index, &fields, now);
        default: return carry_out_choice(index, message, now);
    }
}

void accept_clients(double now) {
    if (!readable(net_host.listener)) return;
    network_socket socket = network_tcp_accept(net_host.listener, nullptr);
    if (socket == -1) return;
    for (int64_t index = 0; index < host_client_capacity; index++) {
        HostClient* client = &net_host.clients[index];
        if (link_holds_socket(client->link)) continue;
        link_adopt(&client->link, socket, net_client_message_limit, now);
        client->seat = -1;
        client->map_sent = 0;
        client->said_goodbye = 0;
        array_clear(&client->sent_record);
        array_clear(&client->sent_seats);
        return;
    }
    set_host_failure(str("a player was turned away: too many connections"));
    network_tcp_disconnect(socket);
    network_socket_destroy(socket);
}

void read_client(int64_t index, double now) {
    HostClient* client = &net_host.clients[index];
    bool ready = readable(client->link.socket);
    if (client->link.failed) return link_linger(&client->link, ready, now);
    if (ready) link_receive(&client->link, now);
    NetMessage message;
    while (link_open(client->link) && link_next(&client->link, &message) == net_read_message) handle(index, message, now);
    link_check_silence(&client->link, now);
    if (client->link.failed && !client->said_goodbye) drop_client(index, link_failure(client->link), now);
}

void hand_over_empty_seats(double now) {
    for (int64_t seat = 0; seat < seats_in_play(); seat++) {
        HostedSeat* hosted = &net_host.seats[seat];
        if (!hosted->taken || hosted->client >= 0 || hosted->handed_to_computer) continue;
        if (now - hosted->away_since < net_host.hand_over_delay) continue;
        hosted->handed_to_computer = 1;
        players.data[seat].is_remote = 0;
        players.data[seat].is_computer = 1;
    }
}

// Per seat: its kind, colour, whether a client holds or held it, away, handed to a computer.
string seats_payload() {
    GrowableArray<uint8_t> payload{};
    payload.arena_id = FRAME_ARENA;
    int64_t seats = seats_in_play();
    net_put_u8(&payload, static_cast<uint8_t>(seats));
    for (int64_t seat = 0; seat < seats; seat++) {
        const HostedSeat& hosted = net_host.seats[seat];
        const Player& player = players.data[seat];
        net_put_u8(&payload, hosted.remote ? 2 : player.is_computer ? 1 : 0);
        net_put_u8(&payload, player.color_index);
        net_put_u8(&payload, hosted.taken);
        net_put_u8(&payload, hosted.taken && hosted.client < 0);
        net_put_u8(&payload, hosted.handed_to_computer);
    }
    return net_bytes_view(payload);
}

bool same_bytes(const GrowableArray<uint8_t>& bytes, string text) {
    return bytes.count == text.length && (text.length == 0 || memcmp(bytes.data, text.data, static_cast<size_t>(text.length)) == 0);
}

void send_changes(HostClient* client, string seats) {
    if (!same_bytes(client->sent_seats, seats)) {
        send(client, client->seat >= 0 ? net_seat_status : net_welcome, seats);
        net_keep_bytes(&client->sent_seats, seats);
    }
    if (client->seat < 0) return;
    string record = write_game_record(client->seat, false);
    if (client->map_sent && same_bytes(client->sent_record, record)) return;
    // The first state a seat receives carries the map, so a joining game never needs the file.
    send(client, net_game_state, client->map_sent ? record : write_game_record(client->seat, true));
    net_host.states_sent++;
    client->map_sent = 1;
    net_keep_bytes(&client->sent_record, record);
}

}  // namespace

NetHost net_host = idle_host();

void reset_net_host() {
    for (HostClient& client : net_host.clients) link_fail(&client.link, str("the game was reset"));
    if (net_host.active) {
        network_socket_destroy(net_host.listener);
        network_selector_destroy(net_host.selector);
    }
    net_host = idle_host();
}

bool start_hosting(uint16_t port, double hand_over_delay, double now) {
    reset_net_host();
    net_host.hand_over_delay = hand_over_delay;
    net_host.token_random = system_performance_counter() ^ static_cast<uint64_t>(system_time());
    network_socket listener = network_socket_create(NETWORK_TCP | NETWORK_IPV4);
    network_address address = network_address_find(str("0.0.0.0"), port, NETWORK_TCP | NETWORK_IPV4);
    if (network_socket_failed(listener) || !network_socket_bind(listener, &address) || !network_tcp_listen(listener)) {
        if (!network_socket_failed(listener)) network_socket_destroy(listener);
        set_host_failure(str("That port cannot be had: another program may be using it"));
        return false;
    }
    network_socket_set_blocking(listener, false);
    network_address bound{};
    net_host.port = network_socket_get_address(listener, &bound) ? network_address_get_port(&bound) : port;
    net_host.listener = listener;
    net_host.selector = network_selector_create();
    net_host.active = 1;
    for (int64_t seat = 0; seat < seats_in_play() && seat < host_seat_capacity; seat++) {
        net_host.seats[seat].remote = players.data[seat].is_remote;
        net_host.seats[seat].client = -1;
        net_host.seats[seat].away_since = now;
    }
    return true;
}

void stop_hosting(string reason, double now) {
    if (!net_host.active) return;
    for (int64_t index = 0; index < host_client_capacity; index++) {
        if (link_open(net_host.clients[index].link)) drop_client(index, reason, now);
    }
    network_socket_destroy(net_host.listener);
    net_host.listener = -1;
    net_host.active = 0;
}

void update_hosting(double now) {
    if (net_host.selector == -1) return;
    if (!net_host.active) {
        // After hosting stopped, the goodbyes still get their moment to arrive.
        for (HostClient& client : net_host.clients) link_linger(&client.link, readable(client.link.socket), now);
        return;
    }
    accept_clients(now);
    for (int64_t index = 0; index < host_client_capacity; index++) {
        if (link_holds_socket(net_host.clients[index].link)) read_client(index, now);
    }
    hand_over_empty_seats(now);
    string seats = seats_payload();
    for (HostClient& client : net_host.clients) {
        if (!link_open(client.link)) continue;
        send_changes(&client, seats);
        link_flush(&client.link, now);
    }
}

string host_failure() { return string{net_host.failure_text, net_host.failure_length}; }

bool seat_waiting(int64_t seat) {
    if (!net_host.active || seat < 0 || seat >= host_seat_capacity) return false;
    const HostedSeat& hosted = net_host.seats[seat];
    return hosted.remote && hosted.client < 0 && !hosted.handed_to_computer;
}

string seat_token(int64_t seat) {
    if (seat < 0 || seat >= host_seat_capacity || !net_host.seats[seat].taken) return string{nullptr, 0};
    return string{net_host.seats[seat].token, rejoin_token_length};
}

string write_hosting_record() {
    TextBuilder text{nullptr, 0, 0, FRAME_ARENA, 0};
    text_put_string(&text, str("hosting "));
    text_put_integer(&text, net_host.port);
    text_put_char(&text, ' ');
    text_put_integer(&text, static_cast<int64_t>(net_host.hand_over_delay * 1000));
    for (int64_t seat = 0; seat < seats_in_play() && seat < host_seat_capacity; seat++) {
        text_put_char(&text, ' ');
        const HostedSeat& hosted = net_host.seats[seat];
        text_put_string(&text, hosted.taken ? string{hosted.token, rejoin_token_length} : str("-"));
    }
    text_put_char(&text, '\n');
    return text_view(&text);
}

namespace {

bool token_letter(char letter) {
    for (const char* known = token_letters; *known; known++) {
        if (*known == letter) return true;
    }
    return false;
}

}  // namespace

bool resume_hosting(string line, double now) {
    TextCursor cursor{line.data, line.length, line.length, 0};
    if (!matches_at(&cursor, str("hosting "))) return false;
    cursor.position += 8;
    int64_t port = parse_integer(&cursor);
    if (cursor.position >= cursor.size || cursor.data[cursor.position] != ' ') return false;
    cursor.position++;
    int64_t delay = parse_integer(&cursor);
    if (port < 0 || port > 65535 || delay < 0 || delay > 24 * 3600 * 1000) return false;
    char tokens[host_seat_capacity][rejoin_token_length];
    uint8_t taken[host_seat_capacity]{};
    int64_t seats = seats_in_play();
    for (int64_t seat = 0; seat < seats; seat++) {
        if (seat >= host_seat_capacity || cursor.position >= cursor.size || cursor.data[cursor.position] != ' ') return false;
        cursor.position++;
        if (cursor.position < cursor.size && cursor.data[cursor.position] == '-') {
            cursor.position++;
            continue;
        }
        if (cursor.size - cursor.position < rejoin_token_length) return false;
        for (int64_t i = 0; i < rejoin_token_length; i++) {
            char letter = cursor.data[cursor.position + i];
            if (!token_letter(letter)) return false;
            tokens[seat][i] = letter;
        }
        cursor.position += rejoin_token_length;
        taken[seat] = 1;
    }
    if (cursor.position >= cursor.size || cursor.data[cursor.position] != '\n') return false;
    if (!start_hosting(static_cast<uint16_t>(port), static_cast<double>(delay) / 1000, now)) return false;
    for (int64_t seat = 0; seat < seats; seat++) {
        if (!taken[seat]) continue;
        net_host.seats[seat].taken = 1;
        memcpy(net_host.seats[seat].token, tokens[seat], rejoin_token_length);
    }
    return true;
}
