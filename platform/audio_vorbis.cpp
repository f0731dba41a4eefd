// Ogg Vorbis through libvorbisfile, on files or on memory blocks: its seeks land on the exact
// sample, and a failed open frees everything it took.
#include "audio_internal.h"

#include <climits>
#include <cmath>
#include <cstring>

static VorbisReader* reader_of(void* data_source) { return static_cast<VorbisReader*>(data_source); }

static size_t source_read(void* destination, size_t size, size_t count, void* data_source) {
    VorbisReader* reader = reader_of(data_source);
    if (size == 0) return 0;
    if (reader->file) return fread(destination, size, count, reader->file);
    audio_stream* stream = reader->source;
    int64_t left = stream->source.length - stream->source_position;
    int64_t wanted = static_cast<int64_t>(size * count);
    if (wanted > left) wanted = left;
    if (wanted <= 0) return 0;
    memcpy(destination, stream->source.data + stream->source_position, static_cast<size_t>(wanted));
    stream->source_position += wanted;
    return static_cast<size_t>(wanted) / size;
}

static int source_seek(void* data_source, ogg_int64_t offset, int whence) {
    VorbisReader* reader = reader_of(data_source);
    if (reader->file) return fseeko(reader->file, static_cast<off_t>(offset), whence);
    audio_stream* stream = reader->source;
    int64_t base = whence == SEEK_CUR ? stream->source_position : whence == SEEK_END ? stream->source.length : 0;
    if (offset < -base || offset > stream->source.length - base) return -1;
    stream->source_position = base + offset;
    return 0;
}

static long source_tell(void* data_source) {
    VorbisReader* reader = reader_of(data_source);
    return reader->file ? static_cast<long>(ftello(reader->file)) : static_cast<long>(reader->source->source_position);
}

// The reader closes its file itself, also after a failed open, which leaves the source to the caller.
static const ov_callbacks source_callbacks = {source_read, source_seek, nullptr, source_tell};

static void close_file(VorbisReader* reader) {
    if (reader->file) fclose(reader->file);
    reader->file = nullptr;
}

bool audio_vorbis_open(VorbisReader* reader, audio_stream* source) {
    memset(reader, 0, sizeof *reader);
    reader->source = source;
    if (source->from_file) {
        reader->file = fopen(append_character(source->source).data, "rb");
        if (!reader->file) return false;
    } else {
        source->source_position = 0;
    }
    // Ogg containers of other codecs fail here as not Vorbis.
    if (ov_open_callbacks(reader, &reader->decoder, nullptr, 0, source_callbacks) != 0) {
        close_file(reader);
        return false;
    }
    vorbis_info* info = ov_info(&reader->decoder, -1);
    ogg_int64_t frames = ov_pcm_total(&reader->decoder, -1);
    if (!info || info->channels <= 0 || info->rate <= 0 || frames < 0) {
        audio_vorbis_close(reader);
        return false;
    }
    reader->channels = static_cast<uint32_t>(info->channels);
    reader->frequency = static_cast<uint32_t>(info->rate);
    reader->frames = frames;
    return true;
}

// 32768 times each value rounded to the nearest integer and clamped, as the library has always
// decoded Vorbis to 16 bits.
static int16_t rounded_16(float sample) {
    long value = lrintf(sample * 32768.0f);
    return static_cast<int16_t>(value < -32768 ? -32768 : value > 32767 ? 32767 : value);
}

int64_t audio_vorbis_read(VorbisReader* reader, uint8_t decode_format, int64_t frames, void* buffer) {
    uint32_t channels = reader->channels;
    int64_t done = 0;
    while (done < frames) {
        int wanted = frames - done < INT_MAX ? static_cast<int>(frames - done) : INT_MAX;
        float** planes = nullptr;
        int link = 0;
        long got = ov_read_float(&reader->decoder, &planes, wanted, &link);
        // A hole in the data (negative) is skipped; a chained part with other channels ends the stream.
        if (got == OV_HOLE) continue;
        vorbis_info* part = got > 0 ? ov_info(&reader->decoder, link) : nullptr;
        if (!part || part->channels != static_cast<int>(channels)) break;
        for (uint32_t channel = 0; channel < channels; ++channel) {
            const float* plane = planes[channel];
            if (decode_format == AUDIO_FORMAT_SIGNED_16) {
                int16_t* out = static_cast<int16_t*>(buffer) + done * channels + channel;
                for (long i = 0; i < got; ++i) out[i * channels] = rounded_16(plane[i]);
            } else {
                float* out = static_cast<float*>(buffer) + done * channels + channel;
                for (long i = 0; i < got; ++i) out[i * channels] = plane[i];
            }
        }
        done += got;
    }
    return done;
}

bool audio_vorbis_seek(VorbisReader* reader, int64_t frame) { return ov_pcm_seek(&reader->decoder, frame) == 0; }

void audio_vorbis_close(VorbisReader* reader) {
    ov_clear(&reader->decoder);
    close_file(reader);
}
