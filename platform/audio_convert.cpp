// In-place conversion of interleaved samples between the seven sample formats.
#include "audio_internal.h"

#include <cstring>

static bool is_signed_format(uint8_t format) {
    return format == AUDIO_FORMAT_SIGNED_8 || format == AUDIO_FORMAT_SIGNED_16 || format == AUDIO_FORMAT_SIGNED_32;
}

static uint32_t load_raw(const uint8_t* at, int64_t bytes) {
    uint8_t b8;
    uint16_t b16;
    uint32_t b32;
    switch (bytes) {
    case 1: memcpy(&b8, at, 1); return b8;
    case 2: memcpy(&b16, at, 2); return b16;
    default: memcpy(&b32, at, 4); return b32;
    }
}

static void store_raw(uint8_t* at, int64_t bytes, uint32_t raw) {
    uint8_t b8 = static_cast<uint8_t>(raw);
    uint16_t b16 = static_cast<uint16_t>(raw);
    switch (bytes) {
    case 1: memcpy(at, &b8, 1); break;
    case 2: memcpy(at, &b16, 2); break;
    default: memcpy(at, &raw, 4); break;
    }
}

static uint32_t top_bit(int64_t bytes) { return uint32_t{1} << (bytes * 8 - 1); }

// Full scale of a signed integer of that width, as the float conversions use it.
static double full_scale(int64_t bytes) {
    switch (bytes) {
    case 1: return 127.0;
    case 2: return 32767.0;
    default: return 2147483647.0;
    }
}

// The raw bits of a signed integer of that width, read back as a signed value.
static int64_t as_signed(uint32_t raw, int64_t bytes) {
    switch (bytes) {
    case 1: return static_cast<int8_t>(raw);
    case 2: return static_cast<int16_t>(raw);
    default: return static_cast<int32_t>(raw);
    }
}

static uint32_t convert_sample(const uint8_t* at, uint8_t from, uint8_t to) {
    int64_t from_bytes = audio_format_bytes(from);
    int64_t to_bytes = audio_format_bytes(to);
    if (from == AUDIO_FORMAT_FLOAT) {
        float sample;
        memcpy(&sample, at, 4);
        double scaled = static_cast<double>(sample) * full_scale(to_bytes);
        // Out-of-range samples saturate rather than wrap.
        double limit = full_scale(to_bytes);
        if (scaled > limit) scaled = limit;
        if (scaled < -limit - 1.0) scaled = -limit - 1.0;
        if (scaled != scaled) scaled = 0.0;
        uint32_t raw = static_cast<uint32_t>(static_cast<int32_t>(scaled));
        if (to_bytes < 4) raw &= (uint32_t{1} << (to_bytes * 8)) - 1;
        return is_signed_format(to) ? raw : raw ^ top_bit(to_bytes);
    }
    uint32_t raw = load_raw(at, from_bytes);
    if (to == AUDIO_FORMAT_FLOAT) {
        if (!is_signed_format(from)) raw ^= top_bit(from_bytes);
        float sample = static_cast<float>(static_cast<double>(as_signed(raw, from_bytes)) / full_scale(from_bytes));
        uint32_t bits;
        memcpy(&bits, &sample, 4);
        return bits;
    }
    if (to_bytes < from_bytes) raw >>= (from_bytes - to_bytes) * 8;
    if (to_bytes > from_bytes) raw <<= (to_bytes - from_bytes) * 8;
    if (is_signed_format(from) != is_signed_format(to)) raw ^= top_bit(to_bytes);
    return raw;
}

void audio_wave_convert(audio_wave* wave, uint8_t format) {
    if (!wave || wave->format == format || wave->format > AUDIO_FORMAT_FLOAT || format > AUDIO_FORMAT_FLOAT) return;
    int64_t from_bytes = audio_format_bytes(wave->format);
    int64_t to_bytes = audio_format_bytes(format);
    int64_t count = wave->size / from_bytes;
    uint8_t* samples = static_cast<uint8_t*>(wave->samples);
    if (samples) {
        // Widening walks from the end and narrowing from the start, so no sample is overwritten unread.
        if (to_bytes > from_bytes) {
            for (int64_t i = count - 1; i >= 0; --i)
                store_raw(samples + i * to_bytes, to_bytes, convert_sample(samples + i * from_bytes, wave->format, format));
        } else {
            for (int64_t i = 0; i < count; ++i)
                store_raw(samples + i * to_bytes, to_bytes, convert_sample(samples + i * from_bytes, wave->format, format));
        }
    }
    wave->size = to_bytes >= from_bytes ? wave->size * (to_bytes / from_bytes) : wave->size / (from_bytes / to_bytes);
    wave->format = format;
}
