#include "base/text_format.h"

#include "base/arena.h"

#include <cfloat>
#include <cstdio>

// Calls emit for every byte of the decimal form of value.
template <typename Emit>
static void emit_integer(int64_t value, Emit emit) {
    uint64_t magnitude = static_cast<uint64_t>(value);
    if (value < 0) {
        emit('-');
        magnitude = 0 - magnitude;
    }
    uint8_t digits[64];
    for (int i = 63; i >= 0; i--) {
        digits[i] = static_cast<uint8_t>(magnitude % 10);
        magnitude /= 10;
    }
    int first = 0;
    while (first < 63 && digits[first] == 0) first++;
    for (int i = first; i < 64; i++) emit(static_cast<char>('0' + digits[i]));
}

void print_integer(int64_t value) {
    emit_integer(value, [](char c) { fputc(c, stdout); });
    fflush(stdout);
}

DoubleDigits double_digits(double v) {
    DoubleDigits result{};
    // Such values have no digits (the writers spell them as words); converting their quotients
    // to digits would be undefined.
    if (v != v || v > DBL_MAX || v < -DBL_MAX) {
        result.integer_digits = 1;
        return result;
    }
    int64_t n = 1;
    double p = 1;
    if (v >= 10) {
        p = 10;
        while (v >= p * 10 && n < 308) {
            p *= 10;
            n++;
        }
        n++;
    }
    // Values of 10^64 and more keep their lowest 64 integer digits.
    if (n > 64) {
        v = math_mod(v, 1e64);
        p = 1e63;
        n = 64;
    }
    for (int i = 0; i < 64; i++) {
        double digit = math_floor(v / p);
        if (digit < 0) digit = 0;
        if (digit > 9) digit = 9;
        result.digits[i] = static_cast<uint8_t>(digit);
        v -= digit * p;
        p /= 10;
    }
    if (n + 4 < 64 && result.digits[n + 4] >= 5) {
        int64_t position = n + 3;
        while (position >= 0 && result.digits[position] == 9) {
            result.digits[position] = 0;
            position--;
        }
        if (position >= 0) {
            result.digits[position] += 1;
        } else {
            position = 0;
            result.digits[0] = 1;
            if (n < 64) n++;
        }
        for (int64_t i = position + 1; i < 64; i++) result.digits[i] = 0;
    }
    result.integer_digits = n;
    return result;
}

template <typename Emit>
static void emit_double(double v, Emit emit) {
    auto emit_word = [&](const char* word) {
        for (const char* c = word; *c; c++) emit(*c);
    };
    if (v != v) return emit_word("nan");
    if (v > DBL_MAX) return emit_word("infinity");
    if (v < -DBL_MAX) return emit_word("-infinity");
    if (v < 0) {
        emit('-');
        v = -v;
    }
    DoubleDigits d = double_digits(v);
    int64_t n = d.integer_digits;
    int64_t kept;
    if (n + 3 < 64 && d.digits[n + 3] != 0) {
        kept = n + 4;
    } else {
        kept = n + 3 < 64 ? n + 3 : 64;
        while (kept > n && d.digits[kept - 1] == 0) kept--;
    }
    if (kept > 64) kept = 64;
    for (int64_t i = 0; i < kept; i++) {
        if (i == n) emit('.');
        emit(static_cast<char>('0' + d.digits[i]));
    }
}

void text_put_char(TextBuilder* builder, char byte) {
    if (builder->capacity == 0) {
        builder->capacity = 1;
        builder->data = static_cast<char*>(arena_allocate(builder->arena, 1));
    }
    while (builder->cursor >= builder->capacity) {
        int64_t old_capacity = builder->capacity;
        builder->capacity = old_capacity * 2;
        builder->data = static_cast<char*>(arena_reallocate(builder->arena, builder->data, old_capacity, builder->capacity));
    }
    if (!builder->data) return;
    builder->data[builder->cursor] = byte;
    builder->cursor += 1;
    if (builder->length < builder->cursor) builder->length = builder->cursor;
}

void text_put_string(TextBuilder* builder, string text) {
    for (int64_t i = 0; i < text.length; i++) text_put_char(builder, text.data[i]);
}

void text_put_integer(TextBuilder* builder, int64_t value) {
    emit_integer(value, [builder](char c) { text_put_char(builder, c); });
}

void text_put_double(TextBuilder* builder, double value) {
    emit_double(value, [builder](char c) { text_put_char(builder, c); });
}

string text_view(const TextBuilder* builder) { return string{builder->data, builder->length}; }

void fixed_put_char(FixedText* text, char byte) {
    // Keeps within the caller's array even when a text runs longer than planned.
    if (text->cursor >= text->capacity) return;
    text->data[text->cursor] = byte;
    text->cursor += 1;
    if (text->length < text->cursor) text->length = text->cursor;
}

void fixed_put_string(FixedText* text, string piece) {
    for (int64_t i = 0; i < piece.length; i++) fixed_put_char(text, piece.data[i]);
}

void fixed_put_integer(FixedText* text, int64_t value) {
    emit_integer(value, [text](char c) { fixed_put_char(text, c); });
}

void fixed_put_double(FixedText* text, double value) {
    emit_double(value, [text](char c) { fixed_put_char(text, c); });
}

string fixed_view(const FixedText* text) { return string{text->data, text->length}; }
