// The map reader on any bytes, read under each machine kind. Besides never failing, what it
// reads must describe a consistent map, and writing it out must give a fixed point: the written
// text reads back as the same map, so writing that again gives the same text.
#include "fuzz_support.h"

#include "base/arena.h"
#include "model/game_data.h"
#include "model/map_file.h"
#include "model/nimbers.h"

namespace {

std::string map_path;

void check_consistent(uint8_t kind) {
    FUZZ_CHECK(states.count <= max_states);
    FUZZ_CHECK(stones.count <= max_stones && transitions.count <= max_transitions && goals.count <= max_goals);
    for (int64_t i = 0; i < stones.count; i++) FUZZ_CHECK(stones.data[i] >= 0 && stones.data[i] < states.count);
    for (int64_t i = 0; i < transitions.count; i++) {
        const Transition& t = transitions.data[i];
        FUZZ_CHECK(t.from >= 0 && t.from < states.count && t.to >= 0 && t.to < states.count);
        FUZZ_CHECK(t.rule.length >= 0);
    }
    if (kind == state_machine) FUZZ_CHECK(nimbers.count == states.count);
}

std::string load_and_write(const void* data, size_t size, uint8_t kind) {
    fuzz_write_file(map_path, data, size);
    FUZZ_CHECK(load_map(fuzz_view(map_path)));
    check_consistent(kind);
    return fuzz_text(write_map());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    create_arenas(int64_t{64} << 20, int64_t{16} << 20);
    map_path = fuzz_scratch_folder() + "/map.txt";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (static_cast<int64_t>(size) > max_map_file_size) return -1;
    for (uint8_t kind : {state_machine, pushdown_machine, turing_machine}) {
        arena_empty(PERSISTENT_ARENA);
        arena_empty(FRAME_ARENA);
        reset_map();
        reset_game();
        machine_kind = kind;
        std::string written = load_and_write(data, size, kind);
        std::string rewritten = load_and_write(written.data(), written.size(), kind);
        FUZZ_CHECK(rewritten == written);
    }
    return 0;
}
