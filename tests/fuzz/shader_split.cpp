// The shader source splitter on any text, and on texts built here from known stages.
// For any text every stage must lie inside it, right after its own marker and blank, and hold
// no further marker. For a built text each stage must come out exactly as it went in, the last
// occurrence of a stage winning.
#include "fuzz_support.h"

#include "shader_stages.h"

#include <cstring>

namespace {

void check_any_text(string source) {
    StageText stages[stage_kind_count] = {};
    split_stages(source, stages);
    for (int kind = 0; kind < stage_kind_count; kind++) {
        StageText stage = stages[kind];
        if (stage.length == 0 && stage.start == 0) continue;
        const StageMarkerText& marker = stage_marker_texts[kind];
        FUZZ_CHECK(stage.length >= 0 && stage.start >= marker.length + 1);
        FUZZ_CHECK(stage.start + stage.length <= source.length);
        const char* before = source.data + stage.start - marker.length - 1;
        FUZZ_CHECK(memcmp(before, marker.text, static_cast<size_t>(marker.length)) == 0);
        FUZZ_CHECK(is_marker_whitespace(before[marker.length]));
        for (int64_t i = stage.start; i < stage.start + stage.length; i++) {
            FUZZ_CHECK(marker_at(source, i) == stage_kind_count);
        }
    }
}

// Pieces of the input become stage bodies without any "#", so no marker can hide in them.
void check_built_text(const uint8_t* data, size_t size) {
    const char blanks[4] = {' ', '\t', '\n', '\r'};
    std::string source = "shared prefix\n";
    std::string expected[stage_kind_count];
    bool present[stage_kind_count] = {};
    size_t at = 0;
    while (at + 2 <= size) {
        int kind = data[at] % stage_kind_count;
        char blank = blanks[data[at] / stage_kind_count % 4];
        size_t length = data[at + 1] % 32;
        at += 2;
        std::string body;
        for (size_t i = 0; i < length && at < size; i++, at++) body += data[at] == '#' ? '_' : static_cast<char>(data[at]);
        // A marker with nothing after its blank is plain text, so every body gets one byte at least.
        if (body.empty()) body = "x";
        source += stage_marker_texts[kind].text;
        source += blank;
        source += body;
        expected[kind] = body;
        present[kind] = true;
    }
    StageText stages[stage_kind_count] = {};
    split_stages(fuzz_view(source), stages);
    for (int kind = 0; kind < stage_kind_count; kind++) {
        if (!present[kind]) {
            FUZZ_CHECK(stages[kind].length == 0);
            continue;
        }
        FUZZ_CHECK(source.compare(static_cast<size_t>(stages[kind].start), static_cast<size_t>(stages[kind].length), expected[kind]) == 0);
        FUZZ_CHECK(stages[kind].length == static_cast<int64_t>(expected[kind].size()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    check_any_text(string{reinterpret_cast<const char*>(data), static_cast<int64_t>(size)});
    check_built_text(data, size);
    return 0;
}
