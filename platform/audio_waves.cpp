// Whole sound files decoded into the audio arena in one call, and waves saved as WAV.
#include "audio_internal.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <climits>
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

static audio_wave decode_with_sndfile(audio_stream* source, uint8_t format) {
    SF_INFO info;
    SNDFILE* file = audio_sndfile_open_reader(source, &info);
    if (!file) return audio_wave{};
    audio_wave wave{};
    wave.format = audio_decode_format(format);
    wave.channels = static_cast<uint32_t>(info.channels);
    wave.frequency = static_cast<uint32_t>(info.samplerate);
    int64_t bytes = audio_format_bytes(wave.format);
    void* samples = audio_memory_allocate(info.frames * info.channels * bytes);
    if (samples) {
        int64_t frames = audio_sndfile_read(file, wave.format, info.frames, wave.channels, samples);
        wave.size = frames * info.channels * bytes;
        wave.samples = samples;
    }
    sf_close(file);
    return finished_wave(wave, format);
}

static audio_wave decode_vorbis_as_float(stb_vorbis* decoder, uint8_t format) {
    if (!decoder) return audio_wave{};
    stb_vorbis_info info = stb_vorbis_get_info(decoder);
    int64_t frames = stb_vorbis_stream_length_in_samples(decoder);
    audio_wave wave{};
    wave.format = AUDIO_FORMAT_FLOAT;
    wave.channels = static_cast<uint32_t>(info.channels);
    wave.frequency = info.sample_rate;
    float* samples = static_cast<float*>(audio_memory_allocate(frames * info.channels * 4));
    if (samples && frames * info.channels <= INT_MAX) {
        int got = stb_vorbis_get_samples_float_interleaved(decoder, info.channels, samples,
                                                           static_cast<int>(frames * info.channels));
        wave.size = int64_t{got} * info.channels * 4;
        wave.samples = samples;
    }
    stb_vorbis_close(decoder);
    return finished_wave(wave, format);
}

static audio_wave vorbis_16_bit_wave(int frames, int channels, int frequency, short* samples, uint8_t format) {
    if (frames < 0 || !samples) return audio_wave{};
    audio_wave wave{AUDIO_FORMAT_SIGNED_16, static_cast<uint32_t>(channels), static_cast<uint32_t>(frequency),
                    int64_t{frames} * channels * 2, samples};
    return finished_wave(wave, format);
}

static bool decodes_vorbis_as_float(uint8_t format) { return audio_decode_format(format) != AUDIO_FORMAT_SIGNED_16; }

audio_wave audio_wave_load(uint8_t format, string path) {
    if (format > AUDIO_FORMAT_FLOAT) return audio_wave{};
    string extension = audio_path_extension(path);
    if (text_is(extension, "wav") || text_is(extension, "flac")) {
        audio_stream source{};
        source.from_file = true;
        source.source = path;
        return decode_with_sndfile(&source, format);
    }
    if (!text_is(extension, "ogg")) return audio_wave{};
    const char* name = append_character(path).data;
    int error = 0;
    if (decodes_vorbis_as_float(format)) return decode_vorbis_as_float(stb_vorbis_open_filename(name, &error, nullptr), format);
    int channels = 0, frequency = 0;
    short* samples = nullptr;
    int frames = stb_vorbis_decode_filename(name, &channels, &frequency, &samples);
    return vorbis_16_bit_wave(frames, channels, frequency, samples, format);
}

audio_wave audio_wave_load_from_memory(uint8_t format, int64_t size, const void* data) {
    if (format > AUDIO_FORMAT_FLOAT || size < 4 || !data) return audio_wave{};
    const char* bytes = static_cast<const char*>(data);
    if (memcmp(bytes, "RIFF", 4) == 0 || memcmp(bytes, "fLaC", 4) == 0) {
        audio_stream source{};
        source.source = string{bytes, size};
        return decode_with_sndfile(&source, format);
    }
    if (memcmp(bytes, "OggS", 4) != 0 || size > INT_MAX) return audio_wave{};
    const unsigned char* encoded = static_cast<const unsigned char*>(data);
    int length = static_cast<int>(size);
    int error = 0;
    if (decodes_vorbis_as_float(format))
        return decode_vorbis_as_float(stb_vorbis_open_memory(encoded, length, &error, nullptr), format);
    int channels = 0, frequency = 0;
    short* samples = nullptr;
    int frames = stb_vorbis_decode_memory(encoded, length, &channels, &frequency, &samples);
    return vorbis_16_bit_wave(frames, channels, frequency, samples, format);
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
