// Internal helpers shared by the library's modules; not exported.
#pragma once

#include "kestrune_system.h"

// NUL-terminated copy of s in the temporary ring. The result's length counts the terminator.
// Text longer than the ring allows is cut so the copy never leaves the buffer.
string append_character(string s);

// n bytes from the dynamic ring, 8-byte aligned; wraps to offset 0 when the rest is too small.
// Requests larger than the ring return null.
void* dynamic_allocate(int64_t n);

// Input state back to nothing pressed; the SDL key table built once. system_init calls both.
void reset_input_state();
void build_key_table();

// SDL's joystick power level as the library's controller power code.
uint8_t controller_power_code(int sdl_level);

// Records a failure for system_get_error on the calling thread; the text is cut to fit.
void set_error(int32_t code, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The same from errno after a failed system call: "what: reason".
void set_error_from_errno(const char* what);

// One line of the library's own (no line feed) to the caller's log function; standard output by default.
void library_message(const char* line);

extern uint8_t dynamic_buffer[DYNAMIC_BUFFER_SIZE];
extern int32_t dynamic_pos;
