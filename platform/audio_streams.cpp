// Up to 64 sound files read or written piece by piece.
#include "audio_internal.h"

#include <cstdio>
#include <cstring>

audio_stream audio_streams[AUDIO_STREAM_COUNT];
int32_t num_audio_streams;
// The Ogg Vorbis decoder of each slot, which its decoder field points to while open.
static VorbisReader vorbis_readers[AUDIO_STREAM_COUNT];

static bool text_is(string text, const char* expected) {
    size_t length = strlen(expected);
    return text.length == static_cast<int64_t>(length) && memcmp(text.data, expected, length) == 0;
}

static audio_stream* stream_at(int32_t slot) {
    if (slot < 0 || slot >= num_audio_streams || !audio_streams[slot].in_use) {
        set_error(SYSTEM_ERROR_INVALID_HANDLE, "audio stream %d is not open", slot);
        return nullptr;
    }
    return &audio_streams[slot];
}

static int32_t refuse_stream(const char* reason) {
    set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "%s", reason);
    return -1;
}

static int32_t take_slot(uint8_t format, string source, bool from_file, bool for_writing) {
    if (format == AUDIO_FORMAT_UNSIGNED_8 || format == AUDIO_FORMAT_SIGNED_8)
        return refuse_stream("streams do not read or write 8-bit samples");
    if (from_file && (source.length < 0 || source.length >= AUDIO_STREAM_PATH_SIZE))
        return refuse_stream("the stream's path is longer than 4095 bytes");
    int32_t slot = 0;
    while (slot < num_audio_streams && audio_streams[slot].in_use) ++slot;
    if (slot == AUDIO_STREAM_COUNT) {
        set_error(SYSTEM_ERROR_OUT_OF_MEMORY, "all %d audio streams are open", AUDIO_STREAM_COUNT);
        return -1;
    }
    if (slot == num_audio_streams) ++num_audio_streams;
    audio_stream* stream = &audio_streams[slot];
    *stream = audio_stream{};
    stream->in_use = true;
    stream->format = format;
    stream->source = source;
    // The path is used again when the decoder or writer opens, so the slot keeps its own copy.
    if (from_file) {
        if (source.length > 0) memcpy(stream->path, source.data, static_cast<size_t>(source.length));
        stream->source.data = stream->path;
    }
    stream->from_file = from_file;
    stream->for_writing = for_writing;
    return slot;
}

int32_t audio_stream_open(uint8_t format, string path, bool for_writing) {
    int32_t slot = take_slot(format, path, true, for_writing);
    if (slot < 0 || for_writing) return slot;
    string extension = audio_path_extension(path);
    audio_streams[slot].container = text_is(extension, "ogg")    ? AUDIO_CONTAINER_OGG
                                    : text_is(extension, "flac") ? AUDIO_CONTAINER_FLAC
                                                                 : AUDIO_CONTAINER_WAV;
    return slot;
}

int32_t audio_stream_open_from_memory(uint8_t format, int64_t size, const void* data) {
    if (!data || size < 0) return refuse_stream("the stream's memory is null or of negative size");
    int32_t slot = take_slot(format, string{static_cast<const char*>(data), size}, false, false);
    if (slot < 0) return slot;
    const char* bytes = static_cast<const char*>(data);
    bool has_magic = size >= 4;
    audio_streams[slot].container = has_magic && memcmp(bytes, "OggS", 4) == 0   ? AUDIO_CONTAINER_OGG
                                    : has_magic && memcmp(bytes, "fLaC", 4) == 0 ? AUDIO_CONTAINER_FLAC
                                                                                 : AUDIO_CONTAINER_WAV;
    return slot;
}

// Opens the decoder on first use and fills the info record; false when the source cannot be decoded.
static bool open_reader(audio_stream* stream) {
    if (stream->info_ready) return true;
    if (stream->for_writing) {
        set_error(SYSTEM_ERROR_INVALID_HANDLE, "the audio stream was opened for writing");
        return false;
    }
    AudioLayout layout;
    if (!audio_reader_open(stream, &vorbis_readers[stream - audio_streams], &layout)) {
        set_error(SYSTEM_ERROR_UNSUPPORTED, "the audio stream cannot be decoded");
        return false;
    }
    stream->info.format = stream->format;
    stream->info.channels = layout.channels;
    stream->info.frequency = layout.frequency;
    // libsndfile gives the largest count for a stream of unknown length; the size then saturates.
    int64_t frame_bytes = static_cast<int64_t>(layout.channels) * audio_format_bytes(stream->format);
    stream->info.size = layout.frames <= 0 || frame_bytes <= 0 ? 0
                        : layout.frames > INT64_MAX / frame_bytes ? INT64_MAX
                                                                  : layout.frames * frame_bytes;
    stream->info_ready = true;
    return true;
}

audio_stream_info audio_stream_read_info(int32_t slot) {
    audio_stream* stream = stream_at(slot);
    if (!stream || !open_reader(stream)) return audio_stream_info{};
    return stream->info;
}

uint64_t audio_stream_read(int32_t slot, uint64_t frames, void* buffer) {
    audio_stream* stream = stream_at(slot);
    if (!stream) return 0;
    if (!buffer) {
        refuse_stream("the stream's read buffer is null");
        return 0;
    }
    if (frames == 0) return 0;
    if (stream->format > AUDIO_FORMAT_FLOAT) {
        library_message("invalid audio format");
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "invalid audio format");
        return 0;
    }
    if (!open_reader(stream)) return 0;
    int64_t wanted = frames > uint64_t{INT64_MAX} ? INT64_MAX : static_cast<int64_t>(frames);
    uint8_t decode_format = audio_decode_format(stream->container, stream->format);
    int64_t got = audio_reader_read(stream, decode_format, wanted, stream->info.channels, buffer);
    if (got <= 0) return 0;
    audio_wave piece{decode_format, stream->info.channels, stream->info.frequency,
                     got * stream->info.channels * audio_format_bytes(decode_format), buffer};
    audio_wave_convert(&piece, stream->format);
    return static_cast<uint64_t>(got);
}

// What the WAV writer stores for a stream format: 16-bit and 32-bit signed integers.
static uint8_t storage_format(uint8_t format) {
    switch (format) {
    case AUDIO_FORMAT_UNSIGNED_16: return AUDIO_FORMAT_SIGNED_16;
    case AUDIO_FORMAT_UNSIGNED_32:
    case AUDIO_FORMAT_FLOAT: return AUDIO_FORMAT_SIGNED_32;
    default: return format;
    }
}

void audio_stream_write_info(int32_t slot, const audio_stream_info* info) {
    audio_stream* stream = stream_at(slot);
    if (!stream || stream->info_ready) return;
    if (!stream->for_writing || !info || stream->format > AUDIO_FORMAT_FLOAT || info->channels == 0) {
        refuse_stream("write info needs a stream opened for writing, a format of 1 to 6 and channels");
        return;
    }
    int bits = static_cast<int>(audio_format_bytes(storage_format(stream->format)) * 8);
    SNDFILE* file = audio_sndfile_open_writer(stream->source, info->size, info->channels, info->frequency, bits);
    if (!file) {
        set_error(SYSTEM_ERROR_OPERATING_SYSTEM, "cannot write the stream: %s", sf_strerror(nullptr));
        return;
    }
    stream->decoder = file;
    stream->info = *info;
    stream->info_ready = true;
}

uint64_t audio_stream_write(int32_t slot, uint64_t frames, void* samples) {
    audio_stream* stream = stream_at(slot);
    if (!stream) return 0;
    if (!samples || !stream->for_writing || !stream->info_ready) {
        refuse_stream("writing needs samples and a stream opened for writing with its info written");
        return 0;
    }
    if (frames == 0) return 0;
    int64_t count = frames > uint64_t{INT64_MAX} / 8 ? INT64_MAX / 8 : static_cast<int64_t>(frames);
    uint32_t channels = stream->info.channels;
    audio_wave piece{stream->format, channels, stream->info.frequency,
                     count * channels * audio_format_bytes(stream->format), samples};
    audio_wave_convert(&piece, storage_format(stream->format));
    int bits = static_cast<int>(audio_format_bytes(piece.format) * 8);
    int64_t written = audio_sndfile_write(static_cast<SNDFILE*>(stream->decoder), samples, count, channels, bits);
    return written > 0 ? static_cast<uint64_t>(written) : 0;
}

bool audio_stream_seek(int32_t slot, uint64_t frame) {
    audio_stream* stream = stream_at(slot);
    if (!stream || !open_reader(stream)) return false;
    if (frame <= uint64_t{INT64_MAX} && audio_reader_seek(stream, static_cast<int64_t>(frame))) return true;
    set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "the stream cannot seek to frame %llu", static_cast<unsigned long long>(frame));
    return false;
}

void audio_stream_close(int32_t slot) {
    audio_stream* stream = stream_at(slot);
    if (!stream) return;
    if (stream->decoder && stream->for_writing) {
        sf_close(static_cast<SNDFILE*>(stream->decoder));
    } else if (stream->decoder) {
        audio_reader_close(stream);
    }
    *stream = audio_stream{};
}
