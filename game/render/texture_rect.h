// Part of a texture in texture units: corner (u, v) and size.
#pragma once

struct TextureRect {
    float u, v, width, height;
};

constexpr TextureRect whole_texture{0, 0, 1, 1};
