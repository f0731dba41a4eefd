// libsndfile readers for WAV and FLAC and writers for WAV and Wave64, on files or on memory blocks.
#include "audio_internal.h"

#include <cstring>

static audio_stream* memory_of(void* user_data) { return static_cast<audio_stream*>(user_data); }

static sf_count_t memory_length(void* user_data) { return memory_of(user_data)->source.length; }

static sf_count_t memory_seek(sf_count_t offset, int whence, void* user_data) {
    audio_stream* stream = memory_of(user_data);
    sf_count_t base = whence == SEEK_CUR ? stream->source_position : whence == SEEK_END ? stream->source.length : 0;
    sf_count_t target = base + offset;
    if (target < 0 || target > stream->source.length) return -1;
    stream->source_position = target;
    return target;
}

static sf_count_t memory_read(void* destination, sf_count_t count, void* user_data) {
    audio_stream* stream = memory_of(user_data);
    sf_count_t left = stream->source.length - stream->source_position;
    if (count > left) count = left;
    if (count <= 0) return 0;
    memcpy(destination, stream->source.data + stream->source_position, static_cast<size_t>(count));
    stream->source_position += count;
    return count;
}

static sf_count_t memory_write(const void*, sf_count_t, void*) { return 0; }

static sf_count_t memory_tell(void* user_data) { return memory_of(user_data)->source_position; }

SF_VIRTUAL_IO audio_memory_io = {memory_length, memory_seek, memory_read, memory_write, memory_tell};

static int format_of(SNDFILE* file) {
    SF_INFO info;
    memset(&info, 0, sizeof info);
    sf_command(file, SFC_GET_CURRENT_SF_INFO, &info, sizeof info);
    return info.format;
}

// libsndfile takes Ogg whatever the file's name; it is the Vorbis reader's alone, so a damaged Ogg
// file named otherwise never reaches libsndfile's Ogg reader either.
static bool file_starts_as_ogg(const char* path) {
    FILE* file = fopen(path, "rb");
    if (!file) return false;
    char magic[4] = {};
    bool ogg = fread(magic, 1, 4, file) == 4 && memcmp(magic, "OggS", 4) == 0;
    fclose(file);
    return ogg;
}

SNDFILE* audio_sndfile_open_reader(audio_stream* stream, SF_INFO* info) {
    memset(info, 0, sizeof *info);
    if (!audio_wav_lists_are_sound(stream)) return nullptr;
    SNDFILE* file = nullptr;
    if (stream->from_file) {
        const char* path = append_character(stream->source).data;
        if (file_starts_as_ogg(path)) return nullptr;
        file = sf_open(path, SFM_READ, info);
    } else {
        stream->source_position = 0;
        file = sf_open_virtual(&audio_memory_io, SFM_READ, info, stream);
    }
    // Without channels there is nothing to read.
    if (file && info->channels <= 0) {
        sf_close(file);
        return nullptr;
    }
    return file;
}

SNDFILE* audio_sndfile_open_writer(string path, int64_t size, uint32_t channels, uint32_t frequency, int bits) {
    SF_INFO info;
    memset(&info, 0, sizeof info);
    info.samplerate = static_cast<int>(frequency);
    info.channels = static_cast<int>(channels);
    int container = size > int64_t{4294967295} ? SF_FORMAT_W64 : SF_FORMAT_WAV;
    int encoding = bits == 8 ? SF_FORMAT_PCM_U8 : bits == 16 ? SF_FORMAT_PCM_16 : SF_FORMAT_PCM_32;
    info.format = container | encoding;
    return sf_open(append_character(path).data, SFM_WRITE, &info);
}

// Signed 8-bit samples go through 32-bit integers, which libsndfile stores as unsigned WAV bytes.
// libsndfile allows at most 1024 channels, so a chunk always holds several frames.
static int64_t write_8_bit(SNDFILE* file, const int8_t* samples, int64_t frames, uint32_t channels) {
    constexpr int64_t chunk_samples = 8192;
    int chunk[chunk_samples];
    int64_t per_chunk = chunk_samples / channels;
    if (per_chunk < 1) return 0;
    int64_t written = 0;
    while (written < frames) {
        int64_t count = frames - written < per_chunk ? frames - written : per_chunk;
        for (int64_t i = 0; i < count * channels; ++i)
            chunk[i] = static_cast<int>(samples[written * channels + i]) * (1 << 24);
        int64_t done = sf_writef_int(file, chunk, count);
        written += done;
        if (done < count) break;
    }
    return written;
}

int64_t audio_sndfile_write(SNDFILE* file, const void* samples, int64_t frames, uint32_t channels, int bits) {
    if (frames <= 0 || channels == 0) return 0;
    if (bits == 8) return write_8_bit(file, static_cast<const int8_t*>(samples), frames, channels);
    if (bits == 16) return sf_writef_short(file, static_cast<const short*>(samples), frames);
    return sf_writef_int(file, static_cast<const int*>(samples), frames);
}

// libsndfile would round float samples to small integers; read them as float and convert here.
static int64_t read_float_as_integer(SNDFILE* file, uint8_t decode_format, int64_t frames, uint32_t channels,
                                     uint8_t* buffer) {
    constexpr int64_t chunk_samples = 8192;
    float chunk[chunk_samples];
    int64_t per_chunk = chunk_samples / channels;
    if (per_chunk < 1) return 0;
    int64_t bytes = audio_format_bytes(decode_format);
    int64_t done = 0;
    while (done < frames) {
        int64_t count = frames - done < per_chunk ? frames - done : per_chunk;
        int64_t got = sf_readf_float(file, chunk, count);
        if (got <= 0) break;
        audio_wave piece = {AUDIO_FORMAT_FLOAT, channels, 0, got * channels * 4, chunk};
        audio_wave_convert(&piece, decode_format);
        memcpy(buffer + done * channels * bytes, chunk, static_cast<size_t>(piece.size));
        done += got;
        if (got < count) break;
    }
    return done;
}

int64_t audio_sndfile_read(SNDFILE* file, uint8_t decode_format, int64_t frames, uint32_t channels, void* buffer) {
    if (frames <= 0 || channels == 0) return 0;
    if (decode_format == AUDIO_FORMAT_FLOAT) return sf_readf_float(file, static_cast<float*>(buffer), frames);
    int encoding = format_of(file) & SF_FORMAT_SUBMASK;
    if (encoding == SF_FORMAT_FLOAT || encoding == SF_FORMAT_DOUBLE)
        return read_float_as_integer(file, decode_format, frames, channels, static_cast<uint8_t*>(buffer));
    if (decode_format == AUDIO_FORMAT_SIGNED_16) return sf_readf_short(file, static_cast<short*>(buffer), frames);
    return sf_readf_int(file, static_cast<int*>(buffer), frames);
}
