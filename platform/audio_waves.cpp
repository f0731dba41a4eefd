// Whole sound files decoded into the audio arena in one call, and waves saved as WAV.
#include "audio_internal.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

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

// A failed load gives back what its decoder took from the arena, and says why it failed.
static audio_wave decode_or_give_back(audio_stream* source, uint8_t format) {
    int64_t start = audio_memory.pos;
    audio_memory.exhausted = false;
    audio_wave wave = decode(source, format);
    if (wave.samples) return wave;
    audio_memory.pos = start;
    if (!audio_memory.exhausted) set_error(SYSTEM_ERROR_UNSUPPORTED, "the sound data cannot be decoded");
    return audio_wave{};
}

// The content decides, whatever the name says: RIFF, RF64 and Wave64 ("riff") WAV, FLAC or Ogg.
static bool container_of(const char* magic, uint8_t* container) {
    if (memcmp(magic, "OggS", 4) == 0) {
        *container = AUDIO_CONTAINER_OGG;
        return true;
    }
    *container = memcmp(magic, "fLaC", 4) == 0 ? AUDIO_CONTAINER_FLAC : AUDIO_CONTAINER_WAV;
    if (*container == AUDIO_CONTAINER_FLAC || memcmp(magic, "RIFF", 4) == 0 || memcmp(magic, "RF64", 4) == 0 ||
        memcmp(magic, "riff", 4) == 0)
        return true;
    set_error(SYSTEM_ERROR_UNSUPPORTED, "the sound is not WAV, FLAC or Ogg Vorbis");
    return false;
}

static bool refuse_format(uint8_t format) {
    if (format <= AUDIO_FORMAT_FLOAT) return false;
    set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "audio format %d is none of 0 to 6", format);
    return true;
}

audio_wave audio_wave_load(uint8_t format, string path) {
    if (refuse_format(format)) return audio_wave{};
    FILE* file = fopen(append_character(path).data, "rb");
    if (!file) {
        set_error_from_errno("cannot open the sound");
        return audio_wave{};
    }
    char magic[4] = {};
    size_t got = fread(magic, 1, sizeof magic, file);
    fclose(file);
    audio_stream source{};
    if (got < sizeof magic || !container_of(magic, &source.container)) {
        if (got < sizeof magic) set_error(SYSTEM_ERROR_UNSUPPORTED, "the sound file is shorter than 4 bytes");
        return audio_wave{};
    }
    source.from_file = true;
    source.source = path;
    return decode_or_give_back(&source, format);
}

audio_wave audio_wave_load_from_memory(uint8_t format, int64_t size, const void* data) {
    if (refuse_format(format)) return audio_wave{};
    if (size < 4 || !data) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "the sound data is null or shorter than 4 bytes");
        return audio_wave{};
    }
    audio_stream source{};
    if (!container_of(static_cast<const char*>(data), &source.container)) return audio_wave{};
    source.source = string{static_cast<const char*>(data), size};
    return decode_or_give_back(&source, format);
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

// Only WAV is written, so only a .wav name (in any case) is accepted.
static bool is_wav_path(string path) {
    string extension = audio_path_extension(path);
    return extension.length == 3 && strncasecmp(extension.data, "wav", 3) == 0;
}

bool audio_wave_save(audio_wave wave, string path) {
    if (refuse_format(wave.format)) return false;
    if (wave.channels == 0 || !wave.samples || wave.size <= 0) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "the wave has no channels or no samples");
        return false;
    }
    if (!is_wav_path(path)) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "waves are saved as .wav only");
        return false;
    }
    audio_wave_convert(&wave, storage_format(wave.format));
    int64_t bytes = audio_format_bytes(wave.format);
    int64_t frames = wave.size / (bytes * wave.channels);
    SNDFILE* file = audio_sndfile_open_writer(path, wave.size, wave.channels, wave.frequency, static_cast<int>(bytes * 8));
    if (!file) {
        set_error(SYSTEM_ERROR_OPERATING_SYSTEM, "cannot write the wave: %s", sf_strerror(nullptr));
        return false;
    }
    int64_t written = audio_sndfile_write(file, wave.samples, frames, wave.channels, static_cast<int>(bytes * 8));
    sf_close(file);
    return written > 0;
}
