// Internal helpers shared by the audio modules; not exported.
#pragma once

#include "caller_block.h"
#include "platform_internal.h"

#include <sndfile.h>

extern CallerBlock audio_memory;

// Bump allocation in the audio arena, 8-byte aligned; null and a message when the block is full.
void* audio_memory_allocate(int64_t size);

// Grows the most recent block in place, otherwise moves it to a new block.
void* audio_memory_reallocate(void* block, int64_t old_size, int64_t new_size);

// Bytes per sample of a format code; codes above 6 count as 2.
int64_t audio_format_bytes(uint8_t format);

// The text after the last "."; empty when the path has none.
string audio_path_extension(string path);

// Opens a WAV, FLAC or Ogg Vorbis reader on the stream's path, or on its memory block through a
// virtual interface that keeps the read position in the record (which must outlive the reader).
// Null also for a file without channels, and for an Ogg container that does not hold Vorbis.
SNDFILE* audio_sndfile_open_reader(audio_stream* stream, SF_INFO* info);

// Opens a PCM writer: Wave64 past 4294967295 bytes, WAV otherwise; bits 8, 16 or 32.
SNDFILE* audio_sndfile_open_writer(string path, int64_t size, uint32_t channels, uint32_t frequency, int bits);

// Writes samples of the given width (8-bit signed, 16-bit or 32-bit signed) and returns whole frames written.
int64_t audio_sndfile_write(SNDFILE* file, const void* samples, int64_t frames, uint32_t channels, int bits);

// Reads frames as signed 32-bit (decode format 5), signed 16-bit (4) or float (6) into buffer.
// Float-coded files read as integers are scaled by full scale, not by the file's peak; Vorbis
// read as 16-bit keeps its own rounding (32768 times each value).
int64_t audio_sndfile_read(SNDFILE* file, uint8_t decode_format, int64_t frames, uint32_t channels, void* buffer);

// The width libsndfile decodes into for a caller format: signed 32-bit, signed 16-bit or float.
// Vorbis integers come from its float samples, so an Ogg container gives float for 32-bit formats.
uint8_t audio_decode_format(uint8_t container, uint8_t format);
