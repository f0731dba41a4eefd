// The sound loader from memory on any bytes, for every sample format, whole and as a stream.
// The first byte chooses the format and the way; the rest is the file (WAV, FLAC or Ogg Vorbis
// by its first four bytes). A decoded wave must hold whole frames inside the caller's block; a
// stream must read no more than its buffer takes.
#include "fuzz_support.h"

#include <cstdlib>
#include <vector>

namespace {

constexpr int64_t block_size = 16777216;
uint8_t* block;
// Streams read this many frames a call, up to a bound so a long file cannot stall the run.
constexpr uint64_t frames_per_read = 512;
constexpr uint64_t max_stream_frames = 1 << 18;

int64_t sample_bytes(uint8_t format) {
    switch (format) {
        case AUDIO_FORMAT_UNSIGNED_8:
        case AUDIO_FORMAT_SIGNED_8: return 1;
        case AUDIO_FORMAT_UNSIGNED_16:
        case AUDIO_FORMAT_SIGNED_16: return 2;
        default: return 4;
    }
}

void check_wave(uint8_t format, const uint8_t* data, size_t size) {
    audio_wave wave = audio_wave_load_from_memory(format, static_cast<int64_t>(size), data);
    if (!wave.samples) {
        FUZZ_CHECK(audio_get_buffer_position() == 0);  // a failed load gives its block back
        return;
    }
    FUZZ_CHECK(wave.format == format && wave.channels > 0 && wave.size >= 0);
    FUZZ_CHECK(wave.size % (sample_bytes(format) * wave.channels) == 0);
    const uint8_t* samples = static_cast<const uint8_t*>(wave.samples);
    FUZZ_CHECK(samples >= block && samples + wave.size <= block + audio_get_buffer_position());
    FUZZ_CHECK(audio_get_buffer_position() <= block_size);
    volatile uint8_t sum = 0;
    for (int64_t i = 0; i < wave.size; i++) sum = static_cast<uint8_t>(sum + samples[i]);
}

void check_stream(uint8_t format, const uint8_t* data, size_t size) {
    int32_t slot = audio_stream_open_from_memory(format, static_cast<int64_t>(size), data);
    if (slot < 0) return;
    audio_stream_info info = audio_stream_read_info(slot);
    if (info.channels > 0 && info.channels <= 256) {
        int64_t frame_bytes = sample_bytes(format) * info.channels;
        // One spare frame past the end, which the reader must leave alone.
        std::vector<uint8_t> buffer(static_cast<size_t>(frame_bytes * (frames_per_read + 1)), 0xA5);
        uint64_t total = 0;
        while (total < max_stream_frames) {
            uint64_t got = audio_stream_read(slot, frames_per_read, buffer.data());
            FUZZ_CHECK(got <= frames_per_read);
            if (got == 0) break;
            total += got;
        }
        for (size_t i = static_cast<size_t>(frame_bytes * frames_per_read); i < buffer.size(); i++) FUZZ_CHECK(buffer[i] == 0xA5);
        if (audio_stream_seek(slot, 0)) audio_stream_read(slot, frames_per_read, buffer.data());
    }
    audio_stream_close(slot);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    block = static_cast<uint8_t*>(malloc(block_size));
    FUZZ_CHECK(block != nullptr);
    audio_set_buffer(block_size, block);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return -1;
    uint8_t format = static_cast<uint8_t>(data[0] % (AUDIO_FORMAT_FLOAT + 1));
    audio_set_buffer_position(0);
    if (data[0] & 0x80) {
        check_stream(format, data + 1, size - 1);
    } else {
        check_wave(format, data + 1, size - 1);
    }
    return 0;
}
