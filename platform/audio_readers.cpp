// One reader for waves and streams: libvorbisfile for Ogg Vorbis, libsndfile for WAV and FLAC.
#include "audio_internal.h"

static bool is_ogg(const audio_stream* stream) { return stream->container == AUDIO_CONTAINER_OGG; }

bool audio_reader_open(audio_stream* stream, VorbisReader* vorbis, AudioLayout* layout) {
    if (is_ogg(stream)) {
        if (!audio_vorbis_open(vorbis, stream)) return false;
        *layout = AudioLayout{vorbis->channels, vorbis->frequency, vorbis->frames};
        stream->decoder = vorbis;
        return true;
    }
    SF_INFO info;
    SNDFILE* file = audio_sndfile_open_reader(stream, &info);
    if (!file) return false;
    *layout = AudioLayout{static_cast<uint32_t>(info.channels), static_cast<uint32_t>(info.samplerate), info.frames};
    stream->decoder = file;
    return true;
}

int64_t audio_reader_read(audio_stream* stream, uint8_t decode_format, int64_t frames, uint32_t channels,
                          void* buffer) {
    if (is_ogg(stream))
        return audio_vorbis_read(static_cast<VorbisReader*>(stream->decoder), decode_format, frames, buffer);
    return audio_sndfile_read(static_cast<SNDFILE*>(stream->decoder), decode_format, frames, channels, buffer);
}

bool audio_reader_seek(audio_stream* stream, int64_t frame) {
    if (is_ogg(stream)) return audio_vorbis_seek(static_cast<VorbisReader*>(stream->decoder), frame);
    return sf_seek(static_cast<SNDFILE*>(stream->decoder), frame, SEEK_SET) >= 0;
}

void audio_reader_close(audio_stream* stream) {
    if (is_ogg(stream)) {
        audio_vorbis_close(static_cast<VorbisReader*>(stream->decoder));
    } else {
        sf_close(static_cast<SNDFILE*>(stream->decoder));
    }
    stream->decoder = nullptr;
}

uint8_t audio_decode_format(uint8_t container, uint8_t format) {
    switch (format) {
    case AUDIO_FORMAT_UNSIGNED_32:
    case AUDIO_FORMAT_SIGNED_32: return container == AUDIO_CONTAINER_OGG ? AUDIO_FORMAT_FLOAT : AUDIO_FORMAT_SIGNED_32;
    case AUDIO_FORMAT_FLOAT: return AUDIO_FORMAT_FLOAT;
    default: return AUDIO_FORMAT_SIGNED_16;
    }
}
