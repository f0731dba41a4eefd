// Internal helpers shared by the audio modules; not exported.
#pragma once

#include "caller_block.h"
#include "platform_internal.h"

#include <sndfile.h>
#include <vorbis/vorbisfile.h>

#include <cstdio>

extern CallerBlock audio_memory;

// Bump allocation in the audio arena, 8-byte aligned; null and a message when the block is full.
void* audio_memory_allocate(int64_t size);

// Grows the most recent block in place, otherwise moves it to a new block.
void* audio_memory_reallocate(void* block, int64_t old_size, int64_t new_size);

// Bytes per sample of a format code; codes above 6 count as 2.
int64_t audio_format_bytes(uint8_t format);

// The text after the last "."; empty when the path has none.
string audio_path_extension(string path);

// Opens a WAV or FLAC reader on the stream's path, or on its memory block through a virtual
// interface that keeps the read position in the record (which must outlive the reader).
// Null also for a file without channels, for a WAV file libsndfile would read for ever, and for
// an Ogg file, which only the Vorbis reader opens.
SNDFILE* audio_sndfile_open_reader(audio_stream* stream, SF_INFO* info);

// False for a RIFF or RF64 file, whatever its name, with a LIST chunk that libsndfile would read
// for ever, or with more parts in its LIST chunks than a sound file holds.
bool audio_wav_lists_are_sound(const audio_stream* stream);

// Opens a PCM writer: Wave64 past 4294967295 bytes, WAV otherwise; bits 8, 16 or 32.
SNDFILE* audio_sndfile_open_writer(string path, int64_t size, uint32_t channels, uint32_t frequency, int bits);

// Writes samples of the given width (8-bit signed, 16-bit or 32-bit signed) and returns whole frames written.
int64_t audio_sndfile_write(SNDFILE* file, const void* samples, int64_t frames, uint32_t channels, int bits);

// Reads frames as signed 32-bit (decode format 5), signed 16-bit (4) or float (6) into buffer.
// Float-coded files read as integers are scaled by full scale, not by the file's peak.
int64_t audio_sndfile_read(SNDFILE* file, uint8_t decode_format, int64_t frames, uint32_t channels, void* buffer);

// An Ogg Vorbis decoder on a file it opened itself, or on the memory block of source.
struct VorbisReader {
    OggVorbis_File decoder;
    FILE* file;            // null for a memory source
    audio_stream* source;  // keeps the read position in a memory block; must outlive the reader
    uint32_t channels;
    uint32_t frequency;
    int64_t frames;        // the whole stream, every chained part
};

// False for a missing file, damaged data, other Ogg codecs and streams without channels; a failed
// open leaves nothing to close.
bool audio_vorbis_open(VorbisReader* reader, audio_stream* source);

// Reads frames as float (decode format 6) or as signed 16-bit (4) into buffer; ends at a chained
// part of another channel count.
int64_t audio_vorbis_read(VorbisReader* reader, uint8_t decode_format, int64_t frames, void* buffer);

bool audio_vorbis_seek(VorbisReader* reader, int64_t frame);
void audio_vorbis_close(VorbisReader* reader);

// What an open reader tells about its sound; frames is the largest count when the length is unknown.
struct AudioLayout {
    uint32_t channels;
    uint32_t frequency;
    int64_t frames;
};

// Opens the stream's decoder into stream->decoder: Ogg Vorbis in the given record, WAV and FLAC
// through libsndfile.
bool audio_reader_open(audio_stream* stream, VorbisReader* vorbis, AudioLayout* layout);
// channels: those of the layout the open gave.
int64_t audio_reader_read(audio_stream* stream, uint8_t decode_format, int64_t frames, uint32_t channels,
                          void* buffer);
bool audio_reader_seek(audio_stream* stream, int64_t frame);
void audio_reader_close(audio_stream* stream);

// The width the decoders produce for a caller format: signed 32-bit, signed 16-bit or float.
// Vorbis decodes to floats, so an Ogg container gives float for 32-bit formats.
uint8_t audio_decode_format(uint8_t container, uint8_t format);
