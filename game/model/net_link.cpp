#include "model/net_link.h"

// Much more than one record in flight means the peer is not reading.
constexpr int64_t outgoing_limit = 4 * net_host_message_limit;
constexpr int64_t receive_chunk = 65536;

static void set_failure(NetLink* link, string reason) {
    if (link->failed) return;
    link->failed = 1;
    int64_t length = reason.length < net_failure_capacity ? reason.length : net_failure_capacity;
    if (length > 0) memcpy(link->failure_text, reason.data, static_cast<size_t>(length));
    link->failure_length = length;
}

static void close_socket(NetLink* link) {
    if (link->socket == -1) return;
    network_tcp_disconnect(link->socket);
    network_socket_destroy(link->socket);
    link->socket = -1;
}

static void start(NetLink* link, network_socket socket, int64_t size_limit, double now) {
    link->socket = socket;
    net_reader_restart(&link->reader, size_limit);
    array_clear(&link->outgoing);
    link->outgoing_sent = 0;
    link->next_sequence = 0;
    link->opened_at = now;
    link->last_heard = now;
    link->last_sent = now;
    link->heard_anything = 0;
    link->failed = 0;
    link->failure_length = 0;
    link->bytes_queued = 0;
    link->largest_message = 0;
    link->lingering_since = 0;
}

bool link_connect(NetLink* link, string host, uint16_t port, int64_t size_limit, double now) {
    start(link, -1, size_limit, now);
    uint32_t family = NETWORK_IPV4;
    network_address address = network_address_find(host, port, NETWORK_TCP | NETWORK_IPV4);
    if (address.bytes[0] == 0 && address.bytes[1] == 0) {
        family = NETWORK_IPV6;
        address = network_address_find(host, port, NETWORK_TCP | NETWORK_IPV6);
    }
    if (address.bytes[0] == 0 && address.bytes[1] == 0) {
        set_failure(link, str("cannot find that address"));
        return false;
    }
    network_socket socket = network_socket_create(NETWORK_TCP | family);
    if (network_socket_failed(socket)) {
        set_failure(link, str("cannot make a network connection"));
        return false;
    }
    network_socket_set_blocking(socket, false);
    // Without waiting the connect reports only that it has begun; a refusal shows later as a
    // socket that reads as broken, and no answer at all as the connect limit running out.
    network_tcp_connect(socket, &address);
    link->socket = socket;
    return true;
}

void link_adopt(NetLink* link, network_socket socket, int64_t size_limit, double now) {
    start(link, socket, size_limit, now);
    network_socket_set_blocking(socket, false);
}

void link_send(NetLink* link, uint8_t kind, string payload) {
    if (!link_open(*link)) return;
    if (link->outgoing_sent == link->outgoing.count) {
        array_clear(&link->outgoing);
        link->outgoing_sent = 0;
    }
    if (link->outgoing.count - link->outgoing_sent + payload.length > outgoing_limit) {
        link_fail(link, str("the connection stalled"));
        return;
    }
    net_write_message(&link->outgoing, kind, link->next_sequence++, payload);
    link->bytes_queued += net_header_size + payload.length;
    if (net_header_size + payload.length > link->largest_message) link->largest_message = net_header_size + payload.length;
}

void link_flush(NetLink* link, double now) {
    if (!link_open(*link)) return;
    if (link->outgoing_sent == link->outgoing.count && now - link->last_sent >= net_still_here_interval) {
        link_send(link, net_still_here, string{nullptr, 0});
    }
    while (link->outgoing_sent < link->outgoing.count) {
        int64_t left = link->outgoing.count - link->outgoing_sent;
        uint32_t size = left > receive_chunk * 16 ? static_cast<uint32_t>(receive_chunk * 16) : static_cast<uint32_t>(left);
        // A full socket and a broken one both answer -1 here; a broken one also reads as broken,
        // which ends the link there.
        int sent = network_tcp_send(link->socket, size, link->outgoing.data + link->outgoing_sent);
        if (sent <= 0) break;
        link->outgoing_sent += sent;
        link->last_sent = now;
    }
}

void link_receive(NetLink* link, double now) {
    if (!link_open(*link)) return;
    uint8_t chunk[receive_chunk];
    int received = network_tcp_receive(link->socket, sizeof chunk, chunk);
    if (received == 0) {
        link_fail(link, str(link->heard_anything ? "the other side closed the connection" : "the connection was refused"));
        return;
    }
    if (received < 0) {
        link_fail(link, str(link->heard_anything ? "the connection was lost" : "could not reach the host"));
        return;
    }
    link->last_heard = now;
    link->heard_anything = 1;
    net_reader_feed(&link->reader, chunk, received);
}

NetReadResult link_next(NetLink* link, NetMessage* message) {
    if (link->failed) return net_read_failed;
    NetReadResult result = net_reader_next(&link->reader, message);
    // The socket stays for the goodbye that tells the peer why.
    if (result == net_read_failed) set_failure(link, link->reader.failure);
    return result;
}

void link_check_silence(NetLink* link, double now) {
    if (!link_open(*link)) return;
    if (!link->heard_anything && now - link->opened_at > net_connect_limit) {
        link_fail(link, str("no answer from the host"));
    } else if (link->heard_anything && now - link->last_heard > net_silence_limit) {
        link_fail(link, str("the connection stalled"));
    }
}

void link_fail(NetLink* link, string reason) {
    set_failure(link, reason);
    close_socket(link);
}

void link_say_goodbye(NetLink* link, string reason, double now) {
    set_failure(link, reason);
    if (link->socket == -1) return;
    if (link->outgoing_sent == link->outgoing.count) {
        array_clear(&link->outgoing);
        link->outgoing_sent = 0;
    }
    net_write_message(&link->outgoing, net_goodbye, link->next_sequence++, reason);
    // Closing a socket with bytes still unread resets it, and the reset can overtake the goodbye;
    // so the other side gets a moment to read it while what it still sends is read and dropped.
    link->lingering_since = now;
    link_linger(link, false, now);
}

void link_linger(NetLink* link, bool readable, double now) {
    if (link->socket == -1 || !link->failed) return;
    if (readable) {
        uint8_t chunk[receive_chunk];
        if (network_tcp_receive(link->socket, sizeof chunk, chunk) <= 0) close_socket(link);
    }
    if (link->outgoing_sent < link->outgoing.count) {
        int sent = network_tcp_send(link->socket, static_cast<uint32_t>(link->outgoing.count - link->outgoing_sent),
                                    link->outgoing.data + link->outgoing_sent);
        if (sent > 0) link->outgoing_sent += sent;
    }
    if (now - link->lingering_since > net_goodbye_linger) close_socket(link);
}

bool socket_readable(int32_t selector, network_socket socket) {
    if (socket == -1) return false;
    network_selector_add(selector, socket);
    network_socket ready[1];
    bool result = network_selector_wait(selector, 0, socket_view{ready, 1}) > 0;
    network_selector_remove(selector, socket);
    return result;
}
