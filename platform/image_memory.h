// The image arena: the caller's block from which the image decoder takes all its memory.
#pragma once

#include "caller_block.h"

#include <cstdint>

extern CallerBlock image_memory;

// Bump allocation, 8-byte aligned; null and a message on standard output when the block is full.
void* image_memory_allocate(int64_t size);

// Grows the most recent block in place, otherwise moves it to a new block.
void* image_memory_reallocate(void* block, int64_t old_size, int64_t new_size);
