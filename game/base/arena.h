// The game's two bump arenas and the doubling arrays built on them.
#pragma once

#include <kestrune_system.h>

#include <cstdint>
#include <cstring>

struct Arena {
    uint8_t* base;
    int64_t capacity;
    int64_t used;
};

enum : uint8_t {
    PERSISTENT_ARENA = 0,
    FRAME_ARENA = 1
};

constexpr int64_t persistent_arena_capacity = 268435456;
constexpr int64_t frame_arena_capacity = 16777216;

extern Arena persistent_arena;
extern Arena frame_arena;

// Takes both blocks from the heap; their used counts start at 0.
void create_arenas(int64_t persistent_capacity, int64_t frame_capacity);
void destroy_arenas();

void* arena_allocate(uint8_t arena_id, int64_t size);

// Room for count elements of T, uninitialised.
template <typename T>
T* arena_push_array(uint8_t arena_id, int64_t count) {
    return static_cast<T*>(arena_allocate(arena_id, count * static_cast<int64_t>(sizeof(T))));
}

// Where an arena stands; going back to a mark gives up everything allocated after it.
struct ArenaMark {
    uint8_t arena_id;
    int64_t used;
};

ArenaMark arena_mark(uint8_t arena_id);
void arena_reset_to(ArenaMark mark);
// Gives up everything in the arena.
void arena_empty(uint8_t arena_id);
void* arena_reallocate(uint8_t arena_id, void* old_block, int64_t old_size, int64_t new_size);
string arena_copy_string(string text);
string arena_concat(string a, string b, uint8_t arena_id);

template <typename T>
struct GrowableArray {
    T* data;
    int64_t count;
    int64_t capacity;
    uint8_t arena_id;
};

template <typename T>
void array_push(GrowableArray<T>* array, const T& element) {
    if (!array->data) {
        array->capacity = 1;
        array->data = static_cast<T*>(arena_allocate(array->arena_id, sizeof(T)));
    }
    if (array->count >= array->capacity) {
        int64_t old_bytes = array->capacity * static_cast<int64_t>(sizeof(T));
        array->data = static_cast<T*>(arena_reallocate(array->arena_id, array->data, old_bytes, 2 * old_bytes));
        array->capacity *= 2;
    }
    memcpy(static_cast<void*>(array->data + array->count), &element, sizeof(T));
    array->count += 1;
}

// Raises the capacity to exactly `capacity` elements when it is smaller; the elements are kept.
template <typename T>
void array_reserve(GrowableArray<T>* array, int64_t capacity) {
    if (capacity <= array->capacity) return;
    int64_t old_bytes = array->capacity * static_cast<int64_t>(sizeof(T));
    int64_t new_bytes = capacity * static_cast<int64_t>(sizeof(T));
    array->data = static_cast<T*>(array->data ? arena_reallocate(array->arena_id, array->data, old_bytes, new_bytes)
                                              : arena_allocate(array->arena_id, new_bytes));
    array->capacity = capacity;
}

template <typename T>
void array_clear(GrowableArray<T>* array) {
    array->count = 0;
}
