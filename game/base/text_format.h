// The game's own integer and double text formats, and integers on standard output.
#pragma once

#include "base/strings.h"
#include "base/text_output.h"

#include <cstdint>

struct TextBuilder {
    char* data;
    int64_t length;
    int64_t capacity;
    uint8_t arena;
    int64_t cursor;
};

// Over a caller-supplied array that never grows; the caller sizes it for the longest text.
struct FixedText {
    char* data;
    int64_t capacity;
    int64_t length;
    int64_t cursor;
};

struct DoubleDigits {
    uint8_t digits[64];
    int64_t integer_digits;
};

void print_integer(int64_t value);

void text_put_char(TextBuilder* builder, char byte);
void text_put_string(TextBuilder* builder, string text);
void text_put_integer(TextBuilder* builder, int64_t value);
void text_put_double(TextBuilder* builder, double value);
string text_view(const TextBuilder* builder);

void fixed_put_char(FixedText* text, char byte);
void fixed_put_string(FixedText* text, string piece);
void fixed_put_integer(FixedText* text, int64_t value);
void fixed_put_double(FixedText* text, double value);
string fixed_view(const FixedText* text);

DoubleDigits double_digits(double value);
