// WAV files whose LIST chunks libsndfile 1.2 would read for ever. It walks a LIST chunk's parts,
// skipping each by its size; a size that takes its count of bytes read past 2^32 wraps that count
// back under the chunk's length, and the skip, taken as a signed number, jumps back to a part it
// has read. Such files are damaged, and are refused before libsndfile opens them.
#include "audio_internal.h"

#include <cstring>

namespace {

// The bytes of a sound, in memory or in a file.
struct SoundBytes {
    const uint8_t* memory;
    FILE* file;
    int64_t length;
};

bool read_word(const SoundBytes& bytes, int64_t offset, uint32_t* word) {
    if (offset < 0 || offset + 4 > bytes.length) return false;
    uint8_t b[4];
    if (bytes.memory) {
        memcpy(b, bytes.memory + offset, 4);
    } else if (fseeko(bytes.file, offset, SEEK_SET) != 0 || fread(b, 1, 4, bytes.file) != 4) {
        return false;
    }
    *word = uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
    return true;
}

constexpr uint32_t marker(const char (&name)[5]) {
    return uint32_t(uint8_t(name[0])) | uint32_t(uint8_t(name[1])) << 8 | uint32_t(uint8_t(name[2])) << 16 |
           uint32_t(uint8_t(name[3])) << 24;
}

// The parts walked in all, over every LIST marker of a file: no sound's lists come near it, and a
// file made to need more is refused rather than walked for as long as it asks.
constexpr int64_t part_budget = 1 << 20;

// Walks the parts of the LIST or INFO chunk at start as libsndfile does, with its 32-bit count;
// true also when the walk would take more parts than are left.
bool list_walk_jumps_back(const SoundBytes& bytes, int64_t start, int64_t* parts_left) {
    uint32_t length;
    if (!read_word(bytes, start + 4, &length) || length <= 8) return false;
    int64_t parts = start + 8;
    if (parts + length > bytes.length) length = static_cast<uint32_t>(bytes.length - parts);
    uint32_t done = 0;
    while (done < length) {
        if (--*parts_left < 0) return true;
        uint32_t part;
        if (!read_word(bytes, parts + done, &part)) return false;
        done += 4;
        // These two have no size; the others end the walk.
        if (part == marker("INFO") || part == marker("adtl")) continue;
        if (part == 0 || part == marker("data") || part == marker("exif")) return false;
        uint32_t size;
        if (!read_word(bytes, parts + done, &size)) return false;
        done += 4;
        size += size & 1;
        if (static_cast<uint32_t>(done + size) > length) return false;
        if (size >= 0x80000000u) return true;
        done += size;
    }
    return false;
}

// libsndfile walks LIST chunks in RIFF and RF64 files, whatever the file's name.
bool is_riff(const SoundBytes& bytes) {
    uint32_t magic;
    return read_word(bytes, 0, &magic) && (magic == marker("RIFF") || magic == marker("RF64"));
}

bool is_list_marker(const uint8_t* at) { return memcmp(at, "LIST", 4) == 0 || memcmp(at, "INFO", 4) == 0; }

// Every place in the block, a part of the bytes from first on, where a LIST or INFO marker could
// be read from, aligned or not: libsndfile steps through a damaged header byte by byte.
bool block_list_jumps_back(const SoundBytes& bytes, const uint8_t* block, int64_t block_length, int64_t first,
                           int64_t* parts_left) {
    for (int64_t i = 0; i + 4 <= block_length; i++) {
        if (is_list_marker(block + i) && list_walk_jumps_back(bytes, first + i, parts_left)) return true;
    }
    return false;
}

bool some_list_jumps_back(const SoundBytes& bytes) {
    if (!is_riff(bytes)) return false;
    int64_t parts_left = part_budget;
    if (bytes.memory) return block_list_jumps_back(bytes, bytes.memory, bytes.length, 0, &parts_left);
    constexpr int64_t block_size = 65536;
    uint8_t block[block_size];
    // Each block starts 3 bytes before the last one ended, so a marker across the seam is seen.
    for (int64_t block_start = 0; block_start + 8 <= bytes.length; block_start += block_size - 3) {
        if (fseeko(bytes.file, block_start, SEEK_SET) != 0) return false;
        int64_t got = static_cast<int64_t>(fread(block, 1, block_size, bytes.file));
        if (block_list_jumps_back(bytes, block, got, block_start, &parts_left)) return true;
        if (got < block_size) break;
    }
    return false;
}

}  // namespace

bool audio_wav_lists_are_sound(const audio_stream* stream) {
    if (!stream->from_file) {
        return !some_list_jumps_back(SoundBytes{reinterpret_cast<const uint8_t*>(stream->source.data), nullptr,
                                                stream->source.length});
    }
    // A file that cannot be read here fails in libsndfile's own open.
    FILE* file = fopen(append_character(stream->source).data, "rb");
    if (!file) return true;
    bool jumps_back = fseeko(file, 0, SEEK_END) == 0 && some_list_jumps_back(SoundBytes{nullptr, file, ftello(file)});
    fclose(file);
    return !jumps_back;
}
