// One TCP connection between a host and a client over the library's sockets: messages out are
// queued and sent as the socket takes them, bytes in are read only when a selector reports them,
// so nothing here ever waits. A silent peer is taken for gone after a while.
#pragma once

#include "model/net_message.h"

#include <kestrune_system.h>

// A side with nothing else to say says so this often, so the other side can tell silence from loss.
constexpr double net_still_here_interval = 1.0;
// Heard nothing for this long: the connection has stalled or its cable is out.
constexpr double net_silence_limit = 6.0;
// A connect the host does not answer within this long is given up.
constexpr double net_connect_limit = 10.0;
constexpr int64_t net_failure_capacity = 160;
// How long a goodbye is given to reach the other side before its connection is closed.
constexpr double net_goodbye_linger = 1.0;

struct NetLink {
    network_socket socket;
    NetReader reader;
    GrowableArray<uint8_t> outgoing;
    int64_t outgoing_sent;
    uint32_t next_sequence;
    double opened_at, last_heard, last_sent;
    uint8_t heard_anything;
    // Set from the first failure on; the text says why the connection ended.
    uint8_t failed;
    char failure_text[net_failure_capacity];
    int64_t failure_length;
    // For the figures: everything this link has queued, and its largest message.
    int64_t bytes_queued, largest_message;
    // When a goodbye was sent; the socket stays open a little longer for it to arrive.
    double lingering_since;
};

inline bool link_open(const NetLink& link) { return link.socket != -1 && !link.failed; }
inline string link_failure(const NetLink& link) { return string{link.failure_text, link.failure_length}; }

// Starts connecting to host:port without waiting; false (with the reason) when the address or socket fails.
bool link_connect(NetLink* link, string host, uint16_t port, int64_t size_limit, double now);
// Takes over a connection the host accepted.
void link_adopt(NetLink* link, network_socket socket, int64_t size_limit, double now);
// Queues one message; a peer that lets too much pile up has stalled and the link fails.
void link_send(NetLink* link, uint8_t kind, string payload);
// Sends what the socket takes now, and a still-here message when the link has been quiet.
void link_flush(NetLink* link, double now);
// Reads once from a socket its selector reported readable; a closed or broken socket fails the link.
void link_receive(NetLink* link, double now);
// The next whole message received; a bad one fails the link with the reader's reason, keeping the
// socket for link_say_goodbye or link_fail.
NetReadResult link_next(NetLink* link, NetMessage* message);
// Fails the link when nothing has been heard for too long.
void link_check_silence(NetLink* link, double now);
// Ends the connection, keeping the first reason given; the buffers stay for the link's next use.
void link_fail(NetLink* link, string reason);
// Tells the peer why with a goodbye message (also after a failure) and ends the link; its socket lingers until the peer
// closes or net_goodbye_linger runs out (link_linger), so the goodbye is not lost to a reset.
void link_say_goodbye(NetLink* link, string reason, double now);
// Drives a lingering socket: drops what arrives, sends what is left, closes it when its time is up.
void link_linger(NetLink* link, bool readable, double now);
// Whether a socket has bytes (or its end) waiting, asked of the selector without waiting.
bool socket_readable(int32_t selector, network_socket socket);
// Whether the link still holds a socket, open or lingering, for its selector to watch.
inline bool link_holds_socket(const NetLink& link) { return link.socket != -1; }
