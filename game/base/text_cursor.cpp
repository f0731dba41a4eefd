#include "base/text_cursor.h"

#include <cstdlib>
#include <cstring>

int64_t line_end(const char* data, int64_t size, int64_t from) {
    int64_t i = from;
    while (i < size && data[i] != '\n') i++;
    return i;
}

bool matches_at(const TextCursor* cursor, string keyword) {
    if (cursor->position < 0 || keyword.length > cursor->size - cursor->position) return false;
    return memcmp(cursor->data + cursor->position, keyword.data, static_cast<size_t>(keyword.length)) == 0;
}

static bool is_digit(char c) { return c >= '0' && c <= '9'; }

int64_t parse_integer(TextCursor* cursor) {
    bool negative = cursor->position < cursor->size && cursor->data[cursor->position] == '-';
    if (negative) cursor->position++;
    uint64_t value = 0;
    while (cursor->position < cursor->size && is_digit(cursor->data[cursor->position])) {
        value = value * 10 + static_cast<uint64_t>(cursor->data[cursor->position] - '0');
        cursor->position++;
    }
    return static_cast<int64_t>(negative ? 0 - value : value);
}

constexpr int max_decimal_digits = 64;

double parse_decimal(TextCursor* cursor) {
    bool negative = cursor->position < cursor->size && cursor->data[cursor->position] == '-';
    if (negative) cursor->position++;
    // The digits are gathered as text and rounded once by strtod, so the value is the
    // correctly rounded quotient.
    char digits[max_decimal_digits + 8];
    int count = 0;
    int after_point = 0;
    bool seen_point = false;
    while (cursor->position < cursor->size) {
        char c = cursor->data[cursor->position];
        if (c == '.') {
            seen_point = true;
            after_point = 0;
        } else if (is_digit(c)) {
            if (count < max_decimal_digits) {
                digits[count++] = c;
                if (seen_point) after_point++;
            }
        } else {
            break;
        }
        cursor->position++;
    }
    if (count == 0) return 0;
    int length = count;
    digits[length++] = 'e';
    digits[length++] = '-';
    digits[length++] = static_cast<char>('0' + after_point / 10);
    digits[length++] = static_cast<char>('0' + after_point % 10);
    digits[length] = 0;
    double value = strtod(digits, nullptr);
    return negative ? -value : value;
}
