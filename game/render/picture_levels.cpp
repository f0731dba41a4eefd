#include "render/picture_levels.h"

#include <cmath>

namespace {

// Where the centre of texel `index` of the smaller level falls in the larger one: the first of the
// two texels it reads, and the weight of the second in 256ths.
struct SamplePlace {
    int32_t first;
    int32_t second;
    int32_t weight;
};

SamplePlace sample_place(int32_t index, int32_t smaller, int32_t larger) {
    float centre = (static_cast<float>(index) + 0.5f) * (1.0f / static_cast<float>(smaller));
    auto fixed = static_cast<int32_t>(floorf((centre * static_cast<float>(larger) - 0.5f) * 256.0f + 0.5f));
    SamplePlace place{fixed >> 8, (fixed >> 8) + 1, fixed & 255};
    // Reads past an edge take the edge texel, as clamped sampling does.
    if (place.first < 0) place.first = 0;
    if (place.first > larger - 1) place.first = larger - 1;
    if (place.second > larger - 1) place.second = larger - 1;
    return place;
}

int32_t blend(int32_t a, int32_t b, int32_t weight) { return a + (((b - a) * weight + 128) >> 8); }

}  // namespace

int32_t next_level_size(int32_t size) { return size > 1 ? size / 2 : 1; }

namespace {

// Texels first_x to end_x - 1 of every row of the smaller level.
void fill_columns(const uint8_t* above, int32_t width, int32_t height, uint8_t* below, int32_t first_x,
                  int32_t end_x, const SamplePlace* columns) {
    int32_t below_width = next_level_size(width), below_height = next_level_size(height);
    for (int32_t y = 0; y < below_height; y++) {
        SamplePlace row = sample_place(y, below_height, height);
        const uint8_t* low_row = above + int64_t{row.first} * width * 4;
        const uint8_t* high_row = above + int64_t{row.second} * width * 4;
        for (int32_t x = first_x; x < end_x; x++) {
            const SamplePlace& column = columns[x - first_x];
            uint8_t* out = below + (int64_t{y} * below_width + x) * 4;
            for (int32_t channel = 0; channel < 4; channel++) {
                int32_t left = column.first * 4 + channel, right = column.second * 4 + channel;
                int32_t low = blend(low_row[left], low_row[right], column.weight);
                int32_t high = blend(high_row[left], high_row[right], column.weight);
                out[channel] = static_cast<uint8_t>(blend(low, high, row.weight));
            }
        }
    }
}

}  // namespace

void make_next_level(const uint8_t* above, int32_t width, int32_t height, uint8_t* below) {
    int32_t below_width = next_level_size(width);
    // Every row samples the same columns.
    constexpr int32_t column_batch = 256;
    SamplePlace columns[column_batch];
    for (int32_t first_x = 0; first_x < below_width; first_x += column_batch) {
        int32_t end_x = first_x + column_batch < below_width ? first_x + column_batch : below_width;
        for (int32_t x = first_x; x < end_x; x++) columns[x - first_x] = sample_place(x, below_width, width);
        fill_columns(above, width, height, below, first_x, end_x, columns);
    }
}
