// Whole sound files decoded into the audio arena in one call, and waves saved as WAV.
#include "audio_internal.h"

#include <cstring>

static bool text_is(string text, const char* expected) {
    size_t length = strlen(expected);
    return text.length == static_cast<int64_t>(length) && memcmp(text.data, expected, length) == 0;
}

static audio_wave finished_wave(audio_wave decoded, uint8_t format) {
    if (!decoded.samples) return audio_wave{};
    audio_wave_convert(&decoded, format);
    return decoded;
}

static audio_wave decode(audio_stream* source, uint8_t format) {
    VorbisReader vorbis;
    AudioLayout layout;
    if (!audio_reader_open(source, &vorbis, &layout)) return audio_wave{};
    audio_wave wave{};
    wave.format = audio_decode_format(source->container, format);
    wave.channels = layout.channels;
    wave.frequency = layout.frequency;
    int64_t bytes = audio_format_bytes(wave.format);
    void* samples = nullptr;
    if (layout.frames >= 0 && layout.frames <= INT64_MAX / 8 / layout.channels)
        samples = audio_memory_allocate(layout.frames * layout.channels * bytes);
    if (samples) {
        int64_t frames = audio_reader_read(source, wave.format, layout.frames, wave.channels, samples);
        wave.size = frames * layout.channels * bytes;
        wave.samples = samples;
    }
    audio_reader_close(source);
    return finished_wave(wave, format);
}

audio_wave audio_wave_load(uint8_t format, string path) {
    if (format > AUDIO_FORMAT_FLOAT) return audio_wave{};
    string extension = audio_path_extension(path);
    bool vorbis = text_is(extension, "ogg");
    if (!vorbis && !text_is(extension, "wav") && !text_is(extension, "flac")) return audio_wave{};
    audio_stream source{};
    source.from_file = true;
    source.source = path;
    source.container = vorbis ? AUDIO_CONTAINER_OGG : AUDIO_CONTAINER_WAV;
    return decode(&source, format);
}

audio_wave audio_wave_load_from_memory(uint8_t format, int64_t size, const void* data) {
    if (format > AUDIO_FORMAT_FLOAT || size < 4 || !data) return audio_wave{};
    const char* bytes = static_cast<const char*>(data);
    bool vorbis = memcmp(bytes, "OggS", 4) == 0;
    if (!vorbis && memcmp(bytes, "RIFF", 4) != 0 && memcmp(bytes, "fLaC", 4) != 0) return audio_wave{};
    audio_stream source{};
    source.source = string{bytes, size};
    source.container = vorbis ? AUDIO_CONTAINER_OGG : AUDIO_CONTAINER_WAV;
    return decode(&source, format);
}

// WAV keeps unsigned and float samples as signed integers of the same or full width.
static uint8_t storage_format(uint8_t format) {
    switch (format) {
    case AUDIO_FORMAT_UNSIGNED_16: return AUDIO_FORMAT_SIGNED_16;
    case AUDIO_FORMAT_UNSIGNED_8: return AUDIO_FORMAT_SIGNED_8;
    case AUDIO_FORMAT_UNSIGNED_32:
    case AUDIO_FORMAT_FLOAT: return AUDIO_FORMAT_SIGNED_32;
    default: return format;
    }
}

bool audio_wave_save(audio_wave wave, string path) {
    if (wave.format > AUDIO_FORMAT_FLOAT || wave.channels == 0 || !wave.samples || wave.size <= 0) return false;
    audio_wave_convert(&wave, storage_format(wave.format));
    int64_t bytes = audio_format_bytes(wave.format);
    int64_t frames = wave.size / (bytes * wave.channels);
    SNDFILE* file = audio_sndfile_open_writer(path, wave.size, wave.channels, wave.frequency, static_cast<int>(bytes * 8));
    if (!file) return false;
    int64_t written = audio_sndfile_write(file, wave.samples, frames, wave.channels, static_cast<int>(bytes * 8));
    sf_close(file);
    return written > 0;
}
