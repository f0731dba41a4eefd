// A bump arena over a block the caller hands the library (images and audio decode into one each).
#pragma once

#include <cstdint>

struct CallerBlock {
    uint8_t* memory;
    int64_t size;
    int64_t pos;
    const char* allocation_failed;    // the line printed when a block does not fit
    const char* reallocation_failed;  // the line printed when the newest block cannot grow
    bool exhausted;                   // a request did not fit since the caller last cleared this
};

void caller_block_set(CallerBlock* arena, int64_t size, void* memory);

// 8-byte aligned; null and the arena's message when the block is full.
void* caller_block_allocate(CallerBlock* arena, int64_t size);

// Grows or shrinks the most recent block in place, otherwise moves it to a new block.
void* caller_block_reallocate(CallerBlock* arena, void* block, int64_t old_size, int64_t new_size);
