#include "base/arena.h"

#include "base/text_output.h"

#include <cstdlib>

Arena persistent_arena;
Arena frame_arena;

void create_arenas(int64_t persistent_capacity, int64_t frame_capacity) {
    persistent_arena = Arena{static_cast<uint8_t*>(malloc(static_cast<size_t>(persistent_capacity))), persistent_capacity, 0};
    frame_arena = Arena{static_cast<uint8_t*>(malloc(static_cast<size_t>(frame_capacity))), frame_capacity, 0};
    if (!persistent_arena.base || !frame_arena.base) {
        print(str("failed to allocate the memory arenas\n"));
        exit(1);
    }
}

void destroy_arenas() {
    free(persistent_arena.base);
    free(frame_arena.base);
    persistent_arena = Arena{};
    frame_arena = Arena{};
}

static Arena* arena_by_id(uint8_t arena_id) {
    if (arena_id == PERSISTENT_ARENA) return &persistent_arena;
    if (arena_id == FRAME_ARENA) return &frame_arena;
    return nullptr;
}

// Running out means live data would be overwritten; stop instead.
[[noreturn]] static void arena_exhausted(uint8_t arena_id) {
    print(arena_id == PERSISTENT_ARENA ? str("out of memory: the persistent arena is full\n")
                                       : str("out of memory: the frame arena is full\n"));
    exit(1);
}

static void* place_block(Arena* arena, uint8_t arena_id, int64_t size) {
    int64_t start = (arena->used + 7) & ~int64_t{7};
    if (size < 0 || start > arena->capacity || size > arena->capacity - start) arena_exhausted(arena_id);
    arena->used = start + size;
    return arena->base + start;
}

void* arena_allocate(uint8_t arena_id, int64_t size) {
    Arena* arena = arena_by_id(arena_id);
    if (!arena) {
        print(str("failed to allocate!\n"));
        return nullptr;
    }
    return place_block(arena, arena_id, size);
}

ArenaMark arena_mark(uint8_t arena_id) {
    Arena* arena = arena_by_id(arena_id);
    return ArenaMark{arena_id, arena ? arena->used : 0};
}

void arena_reset_to(ArenaMark mark) {
    Arena* arena = arena_by_id(mark.arena_id);
    if (arena && mark.used >= 0 && mark.used <= arena->used) arena->used = mark.used;
}

void arena_empty(uint8_t arena_id) { arena_reset_to(ArenaMark{arena_id, 0}); }

void* arena_reallocate(uint8_t arena_id, void* old_block, int64_t old_size, int64_t new_size) {
    Arena* arena = arena_by_id(arena_id);
    if (!arena) {
        print(str("failed to reallocate!\n"));
        return nullptr;
    }
    uint8_t* old_bytes = static_cast<uint8_t*>(old_block);
    if (old_bytes && old_bytes + old_size == arena->base + arena->used && new_size >= 0 &&
        arena->used - old_size + new_size <= arena->capacity) {
        arena->used = arena->used - old_size + new_size;
        return old_block;
    }
    void* block = place_block(arena, arena_id, new_size);
    int64_t kept = old_size < new_size ? old_size : new_size;
    if (old_bytes && kept > 0) memcpy(block, old_bytes, static_cast<size_t>(kept));
    return block;
}

string arena_copy_string(string text) {
    int64_t length = text.length > 0 ? text.length : 0;
    char* copy = static_cast<char*>(arena_allocate(PERSISTENT_ARENA, length));
    if (length > 0) memcpy(copy, text.data, static_cast<size_t>(length));
    return string{copy, length};
}

string arena_concat(string a, string b, uint8_t arena_id) {
    int64_t length_a = a.length > 0 ? a.length : 0;
    int64_t length_b = b.length > 0 ? b.length : 0;
    char* copy = static_cast<char*>(arena_allocate(arena_id, length_a + length_b));
    if (!copy) return string{nullptr, 0};
    if (length_a > 0) memcpy(copy, a.data, static_cast<size_t>(length_a));
    if (length_b > 0) memcpy(copy + length_a, b.data, static_cast<size_t>(length_b));
    return string{copy, length_a + length_b};
}
