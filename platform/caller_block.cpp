#include "caller_block.h"
#include "platform_internal.h"

#include <cstring>

void caller_block_set(CallerBlock* arena, int64_t size, void* memory) {
    arena->memory = static_cast<uint8_t*>(memory);
    arena->size = size;
    arena->pos = 0;
}

void* caller_block_allocate(CallerBlock* arena, int64_t size) {
    arena->pos = (arena->pos + 7) & ~int64_t{7};
    if (size < 0 || arena->pos < 0 || arena->pos + size > arena->size) {
        library_message(arena->allocation_failed);
        set_error(SYSTEM_ERROR_OUT_OF_MEMORY, "%s", arena->allocation_failed);
        arena->exhausted = true;
        return nullptr;
    }
    void* block = arena->memory + arena->pos;
    arena->pos += size;
    return block;
}

void* caller_block_reallocate(CallerBlock* arena, void* block, int64_t old_size, int64_t new_size) {
    uint8_t* bytes = static_cast<uint8_t*>(block);
    if (bytes && bytes + old_size == arena->memory + arena->pos) {
        arena->pos += new_size - old_size;
        if (arena->pos >= arena->size) {
            library_message(arena->reallocation_failed);
            set_error(SYSTEM_ERROR_OUT_OF_MEMORY, "%s", arena->reallocation_failed);
            arena->exhausted = true;
            return nullptr;
        }
        return block;
    }
    void* moved = caller_block_allocate(arena, new_size);
    if (!moved) return nullptr;
    // A shrinking move keeps only what fits in the new block.
    int64_t kept = old_size < new_size ? old_size : new_size;
    if (bytes && kept > 0) memcpy(moved, bytes, static_cast<size_t>(kept));
    return moved;
}
