// Colours as four floats in linear light, and the six colours seats and cards share.
#pragma once

#include <cstdint>

struct Color {
    float r, g, b, a;
};

constexpr int32_t six_color_count = 6;

// Red, blue, green, yellow, purple, orange; black for any other index.
constexpr Color player_color(uint8_t index) {
    constexpr Color six_colors[six_color_count] = {
        {1, 0, 0, 1}, {0, 0, 1, 1}, {0, 1, 0, 1}, {1, 1, 0, 1}, {0.3f, 0, 1, 1}, {1, 0.3f, 0, 1},
    };
    return index < six_color_count ? six_colors[index] : Color{0, 0, 0, 1};
}

// Relative luminance of a colour in linear light, and the contrast ratio of two colours (1 to 21).
constexpr double luminance(Color c) { return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b; }
constexpr double contrast_ratio(Color a, Color b) {
    double la = luminance(a) + 0.05, lb = luminance(b) + 0.05;
    return la > lb ? la / lb : lb / la;
}

// The darkest backing the game's texts stand on: the scene's clear colour under the dark panels.
constexpr Color dark_text_backing{0, 0, 0.2f, 1};

// The colour itself when it reads on the dark backing at a contrast of at least 4.5; otherwise it is
// mixed with white, in steps of a twentieth, until it does.
constexpr Color readable_on_dark(Color c) {
    for (int step = 0; step < 20 && contrast_ratio(c, dark_text_backing) < 4.5; step++) {
        c = Color{c.r + (1 - c.r) * 0.05f, c.g + (1 - c.g) * 0.05f, c.b + (1 - c.b) * 0.05f, c.a};
    }
    return c;
}
