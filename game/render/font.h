// The bitmap font described by "resources/font_info.txt".
#pragma once

#include "base/strings.h"
#include "render/texture.h"

#include <cstdint>

// Rectangle in texture units of the font image, origin bottom-left; advance in the same unit.
struct Glyph {
    double x_offset;
    double y_offset;
    double advance;
    double u;
    double v;
    double width;
    double height;
};

struct Font {
    double space_advance;
    double tab_advance;
    double line_height;
    double size;
    Texture texture;
    Glyph glyphs[256];
};

// All zero until a font file has been read to its end; then text draws nothing.
extern Font font;

// Reads the description and loads its image. Any problem is reported on standard output,
// leaves the font as it was and gives false.
bool load_font(string path);
