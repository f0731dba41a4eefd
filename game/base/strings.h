// Small helpers over the library's `string` view.
#pragma once

#include <kestrune_system.h>

#include <cstring>

inline string str(const char* text) { return string{text, static_cast<int64_t>(strlen(text))}; }

inline bool string_equals(string a, string b) {
    return a.length == b.length && (a.length == 0 || memcmp(a.data, b.data, static_cast<size_t>(a.length)) == 0);
}

inline bool string_starts_with(string text, string prefix) {
    return text.length >= prefix.length && string_equals(string{text.data, prefix.length}, prefix);
}
