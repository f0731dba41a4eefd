#include "render/text.h"

#include "render/font.h"
#include "render/primitives.h"
#include "render/resources.h"

#include <kestrune_system.h>

const Texture& symbol_glyph(uint8_t character, TextureRect* rect, double* advance, double* scale, Color* color) {
    const Texture* texture = &no_texture;
    if (character >= 'A' && character <= 'F') {
        texture = &shape_textures[0];
        *color = player_color(static_cast<uint8_t>(character - 'A'));
    } else if (character >= 'a' && character <= 'f') {
        texture = &shape_textures[character - 'a'];
    } else if (character == 'T') {
        texture = &eye_texture;
    } else if (character == '~') {
        texture = &similarity_texture;
    } else {
        return font.texture;
    }
    *rect = whole_texture;
    *advance = 1;
    *scale = symbol_scale;
    return *texture;
}

struct PlacedGlyph {
    TextureRect rect;
    double advance;
    double scale;
    const Texture* texture;
    Color tint;
};

// The font glyph of a byte, or its card symbol when symbols are on and it is not escaped.
static PlacedGlyph place_glyph(uint8_t c, bool as_symbol, const Color& color) {
    const Glyph& glyph = font.glyphs[c];
    PlacedGlyph placed{{static_cast<float>(glyph.u), static_cast<float>(glyph.v), static_cast<float>(glyph.width),
                        static_cast<float>(glyph.height)},
                       glyph.advance,
                       1,
                       &font.texture,
                       color};
    if (as_symbol) placed.texture = &symbol_glyph(c, &placed.rect, &placed.advance, &placed.scale, &placed.tint);
    return placed;
}

TextSize measure_text(string text, double scale, bool symbols) {
    TextSize size{0, font.line_height * scale};
    bool escaped = false;
    for (int64_t i = 0; i < text.length; i++) {
        uint8_t c = static_cast<uint8_t>(text.data[i]);
        if (c == '%' && symbols) {
            escaped = true;
            continue;
        }
        if (c == ' ' || c == '\t') {
            size.width += font.glyphs[c].advance * scale;
        } else if (c == '\n') {
            size.height += font.line_height * scale;
        } else {
            PlacedGlyph placed = place_glyph(c, symbols && !escaped, Color{});
            size.width += placed.scale * scale * placed.advance;
        }
        escaped = false;
    }
    return size;
}

void draw_text(string text, double x, double y, double scale, const Color& color, const Matrix& view, uint8_t style) {
    bool symbols = (style & text_symbols) != 0, centered = (style & text_centered) != 0;
    double pen_x = 0, pen_y = 0;
    if (symbols || centered) {
        TextSize size = measure_text(text, scale, symbols);
        pen_x = -size.width / 2;
        pen_y = size.height / 2;
    }
    bool escaped = false;
    for (int64_t i = 0; i < text.length; i++) {
        uint8_t c = static_cast<uint8_t>(text.data[i]);
        if (c == '%' && symbols) {
            escaped = true;
            continue;
        }
        if (c == ' ' || c == '\t') {
            pen_x += font.glyphs[c].advance * scale;
        } else if (c == '\n') {
            pen_x = 0;
            pen_y += font.line_height * scale;
        } else {
            PlacedGlyph placed = place_glyph(c, symbols && !escaped, color);
            const TextureRect& rect = placed.rect;
            double k = placed.scale;
            // Bytes without a glyph have no size: nothing to draw.
            if (rect.width > 0 && rect.height > 0) {
                Matrix model = matrix_multiply(
                    matrix_translation(static_cast<float>(x + pen_x), static_cast<float>(y - pen_y)),
                    matrix_scale(static_cast<float>(scale * k * rect.width), static_cast<float>(scale * k * rect.height)));
                draw_textured(model, *placed.texture, placed.tint, rect, view);
            }
            pen_x += scale * k * placed.advance;
        }
        escaped = false;
    }
}
