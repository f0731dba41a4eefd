// Reading keywords and numbers out of a block of bytes, as the map files write them.
#pragma once

#include <kestrune_system.h>

#include <cstdint>

struct TextCursor {
    const char* data;
    int64_t size;
    int64_t limit;
    int64_t position;
};

// Offset of the first line feed at or after from, or size when there is none.
int64_t line_end(const char* data, int64_t size, int64_t from);

// True when the keyword's bytes lie at the position and end within the size; does not move.
bool matches_at(const TextCursor* cursor, string keyword);

// An optional "-" and decimal digits; stops at the first other byte. No digits gives 0.
// Values beyond 64 bits wrap.
int64_t parse_integer(TextCursor* cursor);

// An optional "-" and any mix of digits and "."; the digits read as one whole number,
// divided by ten to the power of the digits after the last ".". At most 64 digits count;
// reading stops at the first other byte.
double parse_decimal(TextCursor* cursor);
