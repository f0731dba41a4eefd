// The stb Ogg Vorbis decoder, compiled here so that all its memory comes from the audio arena.
// Each block carries its size in front, so the decoder's realloc can grow the latest block in place.
#include "audio_internal.h"

#include <alloca.h>
#include <assert.h>
#include <limits.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static constexpr int64_t block_header = 8;

static void* vorbis_allocate(size_t size) {
    uint8_t* block = static_cast<uint8_t*>(audio_memory_allocate(static_cast<int64_t>(size) + block_header));
    if (!block) return nullptr;
    int64_t stored = static_cast<int64_t>(size);
    memcpy(block, &stored, sizeof stored);
    return block + block_header;
}

static void* vorbis_reallocate(void* block, size_t size) {
    if (!block) return vorbis_allocate(size);
    uint8_t* start = static_cast<uint8_t*>(block) - block_header;
    int64_t old_size;
    memcpy(&old_size, start, sizeof old_size);
    uint8_t* moved = static_cast<uint8_t*>(
        audio_memory_reallocate(start, old_size + block_header, static_cast<int64_t>(size) + block_header));
    if (!moved) return nullptr;
    int64_t stored = static_cast<int64_t>(size);
    memcpy(moved, &stored, sizeof stored);
    return moved + block_header;
}

#define malloc(size) vorbis_allocate(size)
#define realloc(block, size) vorbis_reallocate(block, size)
#define free(block) static_cast<void>(block)

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-value"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wshadow"
#include <stb_vorbis.h>
#pragma GCC diagnostic pop
