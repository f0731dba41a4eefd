// Internal helpers shared by the library's modules; not exported.
#pragma once

#include "kestrune_system.h"

// NUL-terminated copy of s in the temporary ring. The result's length counts the terminator.
// Text longer than the ring allows is cut so the copy never leaves the buffer.
string append_character(string s);

// n bytes from the dynamic ring, 8-byte aligned; wraps to offset 0 when the rest is too small.
// Requests larger than the ring return null.
void* dynamic_allocate(int64_t n);

// Grows or moves a dynamic block; the most recent block grows in place while it fits.
void* system_reallocate(void* block, int64_t new_size, int64_t old_size);

// Appends s to a growable array of strings kept in the dynamic ring.
void add_string(string** array, int64_t* count, int64_t* capacity, string s);

// Input state back to nothing pressed; the SDL key table built once. system_init calls both.
void reset_input_state();
void build_key_table();

// SDL's joystick power level as the library's controller power code.
uint8_t controller_power_code(int sdl_level);

extern uint8_t dynamic_buffer[DYNAMIC_BUFFER_SIZE];
extern int32_t dynamic_pos;
