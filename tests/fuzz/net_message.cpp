// The network message reader on any bytes, fed in pieces the input's first byte chooses: it never
// reads out of bounds, and every message it yields lies inside the bytes and within the size limit;
// a game record in a message is installed or refused whole, never half.
#include "fuzz_support.h"

#include "base/arena.h"
#include "model/game_data.h"
#include "model/game_record.h"
#include "model/net_message.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    create_arenas(int64_t{64} << 20, int64_t{16} << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    arena_empty(PERSISTENT_ARENA);
    arena_empty(FRAME_ARENA);
    reset_map();
    reset_game();
    size_t piece = 1 + data[0] % 64;
    NetReader reader{};
    net_reader_restart(&reader, 1 + (data[0] >> 6) * 4096);
    int64_t fed = 0;
    for (size_t at = 1; at < size; at += piece) {
        int64_t length = static_cast<int64_t>(size - at < piece ? size - at : piece);
        net_reader_feed(&reader, data + at, length);
        fed += length;
        NetMessage message;
        NetReadResult result;
        while ((result = net_reader_next(&reader, &message)) == net_read_message) {
            FUZZ_CHECK(message.payload.length <= reader.size_limit);
            FUZZ_CHECK(message.payload.length <= fed);
            if (message.kind == net_game_state) read_game_record(message.payload);
        }
        if (result == net_read_failed) {
            FUZZ_CHECK(reader.failure.length > 0);
            break;
        }
    }
    return 0;
}
