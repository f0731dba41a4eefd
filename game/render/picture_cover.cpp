#include "render/picture_cover.h"


#include <cmath>
#include <cstring>

namespace {

// Square cells of texels; a cell is covered when a texel within `filter_reach` of it is not
// transparent. At half size the second level is sampled too, and its bilinear footprint reaches
// three texels of the first around the sample point.
constexpr int32_t cell_size = 8;
constexpr int32_t filter_reach = 4;
constexpr int32_t smallest_covered_side = 128;

bool cell_is_covered(const uint8_t* pixels, int32_t width, int32_t height, int32_t cell_x, int32_t cell_y) {
    int32_t left = cell_x * cell_size - filter_reach, right = (cell_x + 1) * cell_size + filter_reach;
    int32_t bottom = cell_y * cell_size - filter_reach, top = (cell_y + 1) * cell_size + filter_reach;
    for (int32_t y = bottom < 0 ? 0 : bottom; y < top && y < height; y++) {
        for (int32_t x = left < 0 ? 0 : left; x < right && x < width; x++) {
            if (pixels[(int64_t{y} * width + x) * 4 + 3] != 0) return true;
        }
    }
    return false;
}

int16_t texel_edge(int32_t cell, int32_t limit) {
    int32_t edge = cell * cell_size;
    return static_cast<int16_t>(edge < limit ? edge : limit);
}

// Runs of covered cells along each row of cells; a run under the same run of the row below grows
// that rectangle instead of starting one. -1 when more than `capacity` rectangles are needed.
int32_t cover_rects(const uint8_t* pixels, int32_t width, int32_t height, CoverRect* out, int32_t capacity) {
    int32_t columns = (width + cell_size - 1) / cell_size, rows = (height + cell_size - 1) / cell_size;
    int32_t count = 0;
    for (int32_t row = 0; row < rows; row++) {
        for (int32_t column = 0; column < columns;) {
            if (!cell_is_covered(pixels, width, height, column, row)) {
                column++;
                continue;
            }
            int32_t first = column;
            while (column < columns && cell_is_covered(pixels, width, height, column, row)) column++;
            CoverRect run{texel_edge(first, width), texel_edge(row, height), texel_edge(column, width),
                          texel_edge(row + 1, height)};
            int32_t below = 0;
            while (below < count && !(out[below].left == run.left && out[below].right == run.right &&
                                      out[below].top == run.bottom)) {
                below++;
            }
            if (below < count) {
                out[below].top = run.top;
            } else if (count == capacity) {
                return -1;
            } else {
                out[count++] = run;
            }
        }
    }
    return count;
}

// A point of the quad by its unit coordinates.
void quad_point(const QuadRecord& quad, float s, float t, float* out) {
    for (int i = 0; i < 4; i++) {
        float low = quad.corners[0][i] + (quad.corners[1][i] - quad.corners[0][i]) * s;
        float high = quad.corners[2][i] + (quad.corners[3][i] - quad.corners[2][i]) * s;
        out[i] = low + (high - low) * t;
    }
}

// Upright in the window, without perspective, and at least half the picture's size on both axes.
bool drawn_upright_and_large(const QuadRecord& quad) {
    WindowEdges edges;
    if (!upright_edges(quad, &edges)) return false;
    return fabs(edges.x1 - edges.x0) * 2 >= quad.texture->width && fabs(edges.y1 - edges.y0) * 2 >= quad.texture->height;
}

}  // namespace

void note_picture_cover(Texture* texture, const uint8_t* pixels) {
    texture->cover_count = 0;
    int32_t width = texture->width, height = texture->height;
    if (width < smallest_covered_side || height < smallest_covered_side) return;
    int32_t count = cover_rects(pixels, width, height, texture->cover, picture_part_capacity);
    if (count <= 0) return;
    // Cutting pays only where much of the picture is transparent.
    int64_t covered = 0;
    for (int32_t i = 0; i < count; i++) {
        const CoverRect& r = texture->cover[i];
        covered += int64_t{r.right - r.left} * (r.top - r.bottom);
    }
    if (covered * 4 > int64_t{width} * height * 3) return;
    texture->cover_count = count;
}

int32_t covered_parts(const QuadRecord& quad, PixelRect parts[picture_part_capacity]) {
    const Texture& texture = *quad.texture;
    bool shown_whole = memcmp(&quad.rect, &whole_texture, sizeof quad.rect) == 0;
    if (texture.cover_count == 0 || !shown_whole || !drawn_upright_and_large(quad)) return -1;
    for (int32_t i = 0; i < texture.cover_count; i++) {
        const CoverRect& r = texture.cover[i];
        float left = static_cast<float>(r.left) / static_cast<float>(texture.width);
        float right = static_cast<float>(r.right) / static_cast<float>(texture.width);
        float bottom = static_cast<float>(r.bottom) / static_cast<float>(texture.height);
        float top = static_cast<float>(r.top) / static_cast<float>(texture.height);
        QuadRecord part = quad;
        quad_point(quad, left, bottom, part.corners[0]);
        quad_point(quad, right, bottom, part.corners[1]);
        quad_point(quad, left, top, part.corners[2]);
        quad_point(quad, right, top, part.corners[3]);
        parts[i] = quad_bounds(part);
    }
    return texture.cover_count;
}
