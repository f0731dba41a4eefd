// The network messages between a host and its clients: a fixed header (version, kind, sequence
// number, payload length) and a payload of plain fields, read from bytes as they arrive.
#pragma once

#include "base/arena.h"
#include "base/strings.h"

#include <cstdint>

// A peer of another version speaks another language: its first message ends the connection.
constexpr uint8_t net_protocol_version = 1;
// Version, kind, sequence number (4 bytes), payload length (4 bytes), all big-endian.
constexpr int64_t net_header_size = 10;
// A client only ever sends short choices.
constexpr int64_t net_client_message_limit = 4096;
// A host's largest message is a game record, which holds a whole map file.
constexpr int64_t net_host_message_limit = 16 * 1024 * 1024;

enum NetMessageKind : uint8_t {
    // Host to client.
    net_welcome = 1,      // the seats: count, then per seat its kind and whether a client holds it
    net_seated = 2,       // the seat this client plays and its rejoin token
    net_game_state = 3,   // the game record as this client's seat may know it
    net_seat_status = 4,  // per seat: away (its client dropped) and handed to a computer
    net_refusal = 5,      // a choice refused: what to take back, and why
    net_goodbye = 6,      // the host ends this connection, with the reason
    // Client to host.
    net_take_seat = 16,   // the seat a new client asks for
    net_rejoin = 17,      // the token of a seat held before
    net_choose_move = 18, // source state, target state, transition, hand card
    net_draw_card = 19,
    net_end_turn = 20,
    // Either way: sent when nothing else was for a while, so a silent peer is known to be gone.
    net_still_here = 32
};

// Whether a peer of this side may send the kind at all.
bool net_kind_from_host(uint8_t kind);
bool net_kind_from_client(uint8_t kind);

struct NetMessage {
    uint8_t kind;
    uint32_t sequence;
    // Into the reader's buffer: valid until the reader is fed again.
    string payload;
};

enum NetReadResult : uint8_t {
    net_read_waiting = 0,
    net_read_message = 1,
    net_read_failed = 2
};

// Takes the bytes of one connection in any pieces; the messages must come numbered 0, 1, 2...
struct NetReader {
    GrowableArray<uint8_t> bytes;
    int64_t start;
    uint32_t next_sequence;
    int64_t size_limit;
    // Why reading stopped, once it has; every later call fails the same way.
    string failure;
};

// Starts a connection's reading afresh (its buffer is kept for reuse).
void net_reader_restart(NetReader* reader, int64_t size_limit);
void net_reader_feed(NetReader* reader, const void* data, int64_t size);
// The next whole message, or waiting for more bytes, or failed with the reason in reader->failure.
NetReadResult net_reader_next(NetReader* reader, NetMessage* message);

// Appends one message's header and payload to out.
void net_write_message(GrowableArray<uint8_t>* out, uint8_t kind, uint32_t sequence, string payload);

// Payload fields, written in order and read back in the same order; a short or bad payload
// leaves the cursor failed rather than reading past its end.
void net_put_u8(GrowableArray<uint8_t>* out, uint8_t value);
void net_put_i64(GrowableArray<uint8_t>* out, int64_t value);
void net_put_text(GrowableArray<uint8_t>* out, string text);
inline string net_bytes_view(const GrowableArray<uint8_t>& bytes) {
    return string{reinterpret_cast<const char*>(bytes.data), bytes.count};
}
// Replaces the array's bytes with the text's, growing by doubling so a text that grows a little
// each time does not leave a block behind each time.
void net_keep_bytes(GrowableArray<uint8_t>* bytes, string text);

struct NetFieldCursor {
    string payload;
    int64_t at;
    bool failed;
};

NetFieldCursor net_fields(string payload);
uint8_t net_take_u8(NetFieldCursor* cursor);
int64_t net_take_i64(NetFieldCursor* cursor);
// A view into the payload.
string net_take_text(NetFieldCursor* cursor);
// True when every field was there and nothing is left over.
bool net_fields_done(const NetFieldCursor* cursor);
