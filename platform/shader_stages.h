// Splitting one shader text into its stages at the "#vertex", "#fragment" and "#geometry"
// markers; apart from OpenGL, so the splitting can be checked without a graphics context.
#pragma once

#include "kestrune_system.h"

#include <cstring>

enum StageKind { vertex_stage, fragment_stage, geometry_stage, stage_kind_count };

struct StageMarkerText {
    const char* text;  // without the trailing whitespace character
    int64_t length;
};

inline constexpr StageMarkerText stage_marker_texts[stage_kind_count] = {
    {"#vertex", 7},
    {"#fragment", 9},
    {"#geometry", 9},
};

// A stage's code as offsets into the source; a length of 0 means the stage is absent.
struct StageText {
    int64_t start;
    int64_t length;
};

inline bool is_marker_whitespace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The marker starting at source[at], or stage_kind_count. A marker needs more bytes after
// its "#" than its own length plus the whitespace, so one at the very end is plain text.
inline int marker_at(string source, int64_t at) {
    int64_t left = source.length - at;
    for (int kind = 0; kind < stage_kind_count; ++kind) {
        const StageMarkerText& marker = stage_marker_texts[kind];
        if (left <= marker.length + 1) continue;
        if (memcmp(source.data + at, marker.text, static_cast<size_t>(marker.length)) != 0) continue;
        if (is_marker_whitespace(source.data[at + marker.length])) return kind;
    }
    return stage_kind_count;
}

// Later occurrences of a stage replace earlier ones.
inline void split_stages(string source, StageText stages[stage_kind_count]) {
    int current = stage_kind_count;
    int64_t current_start = 0;
    int64_t i = 0;
    while (i < source.length) {
        int kind = source.data[i] == '#' ? marker_at(source, i) : stage_kind_count;
        if (kind == stage_kind_count) {
            ++i;
            continue;
        }
        if (current != stage_kind_count) stages[current] = StageText{current_start, i - current_start};
        current = kind;
        current_start = i + stage_marker_texts[kind].length + 1;
        i = current_start;
    }
    if (current != stage_kind_count) stages[current] = StageText{current_start, source.length - current_start};
}
