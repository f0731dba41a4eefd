// The map-list reader on any bytes. Every entry must lie inside the bytes read, and the list
// written out in the list format ("name path" lines, as the list is saved) must read back as
// the same entries.
#include "fuzz_support.h"

#include "base/arena.h"
#include "model/game_data.h"
#include "model/map_list.h"

#include <vector>

namespace {

std::string list_path;

struct Entry {
    std::string name;
    std::string path;
    bool operator==(const Entry&) const = default;
};

std::vector<Entry> read_list(const void* data, size_t size) {
    fuzz_write_file(list_path, data, size);
    arena_empty(PERSISTENT_ARENA);
    reset_map_lists();
    GrowableArray<MapListEntry> list{};
    list.arena_id = PERSISTENT_ARENA;
    FUZZ_CHECK(load_map_list(&list, fuzz_view(list_path)));
    std::vector<Entry> entries;
    int64_t total = 0;
    for (int64_t i = 0; i < list.count; i++) {
        const MapListEntry& entry = list.data[i];
        FUZZ_CHECK(entry.name.length >= 0 && entry.path.length >= 0);
        total += entry.name.length + entry.path.length;
        entries.push_back(Entry{fuzz_text(entry.name), fuzz_text(entry.path)});
    }
    // Each entry takes at least its name, its path and one separator of the bytes.
    FUZZ_CHECK(total <= static_cast<int64_t>(size));
    FUZZ_CHECK(list.count <= static_cast<int64_t>(size));
    return entries;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    create_arenas(int64_t{64} << 20, int64_t{1} << 20);
    list_path = fuzz_scratch_folder() + "/maps.txt";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<Entry> entries = read_list(data, size);
    std::string written;
    for (const Entry& entry : entries) written += entry.name + " " + entry.path + "\n";
    FUZZ_CHECK(read_list(written.data(), written.size()) == entries);
    return 0;
}
