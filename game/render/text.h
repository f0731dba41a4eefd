// Text from the bitmap font, optionally with card symbols inline: A to F coloured discs, a to f the
// shapes, T the eye, ~ the similarity sign; in that mode "%" makes the next character a plain letter.
#pragma once

#include "base/strings.h"
#include "base/color.h"
#include "render/matrix.h"
#include "render/texture.h"
#include "render/texture_rect.h"

#include <cstdint>

// Every symbol is a square of side scale / 8 that advances the pen by as much.
constexpr double symbol_scale = 0.125;

struct TextSize {
    double width;
    double height;
};

// For a symbol character: its texture, and the rectangle, advance, scale and colour it draws with.
// Any other character gives the font texture and leaves the rest as it was.
const Texture& symbol_glyph(uint8_t character, TextureRect* rect, double* advance, double* scale, Color* color);

// The width is the sum over the whole text, line breaks included; the height counts its lines.
TextSize measure_text(string text, double scale, bool symbols);

// How a text is placed and read: plain text starts at (x, y); centred and symbol texts are centred on it.
enum TextStyle : uint8_t {
    text_plain = 0,
    text_centered = 1,
    text_symbols = 2
};

// (x, y) is where the first line's glyphs stand, or with symbols or centred the text's centre.
void draw_text(string text, double x, double y, double scale, const Color& color, const Matrix& view, uint8_t style);
