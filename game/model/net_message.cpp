#include "model/net_message.h"

bool net_kind_from_host(uint8_t kind) { return (kind >= net_welcome && kind <= net_goodbye) || kind == net_still_here; }

bool net_kind_from_client(uint8_t kind) {
    return (kind >= net_take_seat && kind <= net_end_turn) || kind == net_still_here;
}

void net_reader_restart(NetReader* reader, int64_t size_limit) {
    array_clear(&reader->bytes);
    reader->start = 0;
    reader->next_sequence = 0;
    reader->size_limit = size_limit;
    reader->failure = string{nullptr, 0};
}

void net_reader_feed(NetReader* reader, const void* data, int64_t size) {
    if (reader->failure.length > 0 || size <= 0) return;
    // What was read already goes, so the buffer holds at most one message and a piece of the next.
    int64_t left = reader->bytes.count - reader->start;
    if (reader->start > 0) {
        memmove(reader->bytes.data, reader->bytes.data + reader->start, static_cast<size_t>(left));
        reader->bytes.count = left;
        reader->start = 0;
    }
    if (left + size > reader->bytes.capacity) {
        int64_t capacity = reader->bytes.capacity > 0 ? reader->bytes.capacity : 1024;
        while (capacity < left + size) capacity *= 2;
        array_reserve(&reader->bytes, capacity);
    }
    memcpy(reader->bytes.data + left, data, static_cast<size_t>(size));
    reader->bytes.count = left + size;
}

static uint32_t read_u32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
           static_cast<uint32_t>(bytes[2]) << 8 | static_cast<uint32_t>(bytes[3]);
}

static NetReadResult fail(NetReader* reader, const char* reason) {
    reader->failure = str(reason);
    return net_read_failed;
}

NetReadResult net_reader_next(NetReader* reader, NetMessage* message) {
    if (reader->failure.length > 0) return net_read_failed;
    int64_t available = reader->bytes.count - reader->start;
    const uint8_t* header = reader->bytes.data + reader->start;
    // Each header field is judged as soon as it has arrived, so a wrong peer is told at once.
    if (available >= 1 && header[0] != net_protocol_version) return fail(reader, "wrong version");
    if (available < net_header_size) return net_read_waiting;
    uint32_t sequence = read_u32(header + 2);
    if (sequence != reader->next_sequence) return fail(reader, "out of order");
    int64_t length = read_u32(header + 6);
    if (length > reader->size_limit) return fail(reader, "message too large");
    if (available < net_header_size + length) return net_read_waiting;
    message->kind = header[1];
    message->sequence = sequence;
    message->payload = string{reinterpret_cast<const char*>(header + net_header_size), length};
    reader->start += net_header_size + length;
    reader->next_sequence++;
    return net_read_message;
}

static void put_u32(GrowableArray<uint8_t>* out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) array_push(out, static_cast<uint8_t>(value >> shift));
}

// Doubling as array_push does, so a long message grows its buffer a few times, not once a byte.
static void make_room(GrowableArray<uint8_t>* out, int64_t extra) {
    if (out->count + extra <= out->capacity) return;
    array_reserve(out, out->count + extra > 2 * out->capacity ? out->count + extra : 2 * out->capacity);
}

static void put_bytes(GrowableArray<uint8_t>* out, const void* data, int64_t size) {
    if (size <= 0) return;
    make_room(out, size);
    memcpy(out->data + out->count, data, static_cast<size_t>(size));
    out->count += size;
}

void net_write_message(GrowableArray<uint8_t>* out, uint8_t kind, uint32_t sequence, string payload) {
    make_room(out, net_header_size + payload.length);
    array_push(out, net_protocol_version);
    array_push(out, kind);
    put_u32(out, sequence);
    put_u32(out, static_cast<uint32_t>(payload.length));
    put_bytes(out, payload.data, payload.length);
}

void net_put_u8(GrowableArray<uint8_t>* out, uint8_t value) { array_push(out, value); }

void net_put_i64(GrowableArray<uint8_t>* out, int64_t value) {
    uint64_t bits = static_cast<uint64_t>(value);
    for (int shift = 56; shift >= 0; shift -= 8) array_push(out, static_cast<uint8_t>(bits >> shift));
}

void net_put_text(GrowableArray<uint8_t>* out, string text) {
    put_u32(out, static_cast<uint32_t>(text.length));
    put_bytes(out, text.data, text.length);
}

NetFieldCursor net_fields(string payload) { return NetFieldCursor{payload, 0, false}; }

static const uint8_t* take(NetFieldCursor* cursor, int64_t size) {
    if (cursor->failed || size < 0 || cursor->payload.length - cursor->at < size) {
        cursor->failed = true;
        return nullptr;
    }
    const uint8_t* at = reinterpret_cast<const uint8_t*>(cursor->payload.data) + cursor->at;
    cursor->at += size;
    return at;
}

uint8_t net_take_u8(NetFieldCursor* cursor) {
    const uint8_t* at = take(cursor, 1);
    return at ? at[0] : 0;
}

int64_t net_take_i64(NetFieldCursor* cursor) {
    const uint8_t* at = take(cursor, 8);
    if (!at) return 0;
    uint64_t bits = 0;
    for (int k = 0; k < 8; k++) bits = bits << 8 | at[k];
    return static_cast<int64_t>(bits);
}

string net_take_text(NetFieldCursor* cursor) {
    const uint8_t* length_bytes = take(cursor, 4);
    if (!length_bytes) return string{nullptr, 0};
    int64_t length = read_u32(length_bytes);
    const uint8_t* at = take(cursor, length);
    if (!at) return string{nullptr, 0};
    return string{reinterpret_cast<const char*>(at), length};
}

bool net_fields_done(const NetFieldCursor* cursor) { return !cursor->failed && cursor->at == cursor->payload.length; }

void net_keep_bytes(GrowableArray<uint8_t>* bytes, string text) {
    array_clear(bytes);
    if (text.length > bytes->capacity) array_reserve(bytes, text.length > 2 * bytes->capacity ? text.length : 2 * bytes->capacity);
    if (text.length > 0) memcpy(bytes->data, text.data, static_cast<size_t>(text.length));
    bytes->count = text.length;
}
