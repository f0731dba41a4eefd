#include "render/font.h"

#include "base/arena.h"
#include "base/file_failure.h"
#include "base/text_cursor.h"
#include "base/whole_file.h"
#include "render/texture_loading.h"

#include <kestrune_system.h>

Font font;

namespace {

constexpr int32_t glyph_numbers = 7;

// The directory part of a path, its last "/" included; empty when there is none.
string directory_of(string path) {
    for (int64_t i = path.length - 1; i >= 0; i--) {
        if (path.data[i] == '/') return string{path.data, i + 1};
    }
    return string{path.data, 0};
}

// An "i" line's name, made relative to the font file's directory unless it names a file as it stands.
bool read_image_line(string directory, string name, Font* reading) {
    if (directory.length > 0 && !file_exists(name)) name = arena_concat(directory, name, PERSISTENT_ARENA);
    if (!file_exists(name)) return report_file_failure(str("failed to load font image: "), name);
    if (reading->texture.name) texture_destroy(reading->texture.name);
    reading->texture = load_font_texture(name);
    return true;
}

void read_glyph_line(TextCursor* cursor, Font* reading) {
    int64_t code = parse_integer(cursor);
    double numbers[glyph_numbers];
    for (double& number : numbers) {
        cursor->position++;
        number = parse_decimal(cursor);
    }
    Glyph glyph{numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5], numbers[6]};
    if (code < 0) {
        for (Glyph& each : reading->glyphs) each = glyph;
    } else if (code < 256) {
        reading->glyphs[code] = glyph;
    }
    if (glyph.height > reading->line_height) reading->line_height = glyph.height;
}

// Reads every line; false when the reading ended early.
bool read_lines(string directory, const char* data, int64_t size, Font* reading) {
    int64_t position = 0;
    while (position < size) {
        if (position + 1 >= size || data[position + 1] != ' ') return false;
        char command = data[position];
        int64_t end = line_end(data, size, position + 2);
        if (command == 'i') {
            if (!read_image_line(directory, string{data + position + 2, end - position - 2}, reading)) return false;
        } else if (command == 'g') {
            // The numbers never read past the line, whatever bytes it holds.
            TextCursor cursor{data, end, end, position + 2};
            read_glyph_line(&cursor, reading);
        } else {
            char unknown[1] = {command};
            return report_file_failure(str("unknown "), string{unknown, 1});
        }
        position = end + 1;
    }
    return true;
}

}  // namespace

bool load_font(string path) {
    Font reading{};
    reading.size = 256;
    string directory = directory_of(path);
    string contents;
    if (!read_whole_file(path, INT32_MAX, &contents)) return report_file_failure(str("failed to open "), path);
    if (!read_lines(directory, contents.data, contents.length, &reading)) {
        // The texture is of no use to an empty font.
        if (reading.texture.name) texture_destroy(reading.texture.name);
        return false;
    }
    reading.space_advance = reading.glyphs[(unsigned char)' '].advance;
    reading.tab_advance = reading.glyphs[(unsigned char)'\t'].advance;
    font = reading;
    return true;
}
