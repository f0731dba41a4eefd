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
