#include "render/quad_record.h"

#include "render/scene_target.h"

#include <cmath>

namespace {

const float unit_corners[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};

int32_t clamped_pixel(double value, int32_t limit) {
    if (value < 0) return 0;
    if (value > limit) return limit;
    return static_cast<int32_t>(value);
}

// The shader's mvp * (x, y, 0, 1) for corners of 0 and 1, summed in the shader's order so that every
// corner lands on the same bits as it would there.
void corner_position(const Matrix& mvp, float x, float y, float* out) {
    const float* m = mvp.m;
    for (int row = 0; row < 4; row++) {
        float sum = m[row] * x + m[4 + row] * y;
        sum = sum + m[8 + row] * 0.0f;
        out[row] = sum + m[12 + row];
    }
}

}  // namespace

bool upright_edges(const QuadRecord& quad, WindowEdges* edges) {
    const float(*c)[4] = quad.corners;
    for (int corner = 0; corner < 4; corner++) {
        if (c[corner][3] != 1) return false;
    }
    if (c[0][0] != c[2][0] || c[1][0] != c[3][0] || c[0][1] != c[1][1] || c[2][1] != c[3][1]) return false;
    *edges = WindowEdges{(c[0][0] + 1.0) * 0.5 * window_width, (c[1][0] + 1.0) * 0.5 * window_width,
                         (c[0][1] + 1.0) * 0.5 * window_height, (c[2][1] + 1.0) * 0.5 * window_height};
    return edges->x0 != edges->x1 && edges->y0 != edges->y1;
}

QuadRecord quad_record(const Matrix& mvp, const Texture& texture, const Color& color, TextureRect rect) {
    QuadRecord quad{{}, color, rect, &texture};
    for (int corner = 0; corner < 4; corner++) {
        corner_position(mvp, unit_corners[corner][0], unit_corners[corner][1], quad.corners[corner]);
    }
    return quad;
}

namespace {

// The smallest window box around the quad's corners; false when a corner lies behind the eye or
// the corners give no box, since such a quad may cover anything.
bool window_extent(const QuadRecord& quad, double* low_x, double* low_y, double* high_x, double* high_y) {
    *low_x = *low_y = INFINITY;
    *high_x = *high_y = -INFINITY;
    for (const float* corner : quad.corners) {
        double w = corner[3];
        if (w <= 0) return false;
        double window_x = (corner[0] / w + 1) * 0.5 * window_width;
        double window_y = (corner[1] / w + 1) * 0.5 * window_height;
        // Comparisons, not fmin and fmax: the library calls cost a dense map's frame more than the
        // rest of this loop, and a NaN keeps the box as it was either way.
        if (window_x < *low_x) *low_x = window_x;
        if (window_y < *low_y) *low_y = window_y;
        if (window_x > *high_x) *high_x = window_x;
        if (window_y > *high_y) *high_y = window_y;
    }
    return *high_x >= *low_x && *high_y >= *low_y;
}

// Corners come back from clip space a rounding away from where the driver places them.
constexpr double corner_rounding = 1.0 / 256;

}  // namespace

PixelRect quad_bounds(const QuadRecord& quad) {
    double low_x, low_y, high_x, high_y;
    if (!window_extent(quad, &low_x, &low_y, &high_x, &high_y)) return whole_window_rect();
    // The pixel of margin covers far more than the rounding.
    return PixelRect{clamped_pixel(floor(low_x + corner_rounding) - 1, window_width),
                     clamped_pixel(floor(low_y + corner_rounding) - 1, window_height),
                     clamped_pixel(ceil(high_x - corner_rounding) + 1, window_width),
                     clamped_pixel(ceil(high_y - corner_rounding) + 1, window_height)};
}

PixelRect quad_drawn_pixels(const QuadRecord& quad) {
    double low_x, low_y, high_x, high_y;
    if (!window_extent(quad, &low_x, &low_y, &high_x, &high_y)) return whole_window_rect();
    // Pixel i is drawn when its centre i + 0.5 lies inside; a centre within the rounding of an edge counts.
    return PixelRect{clamped_pixel(ceil(low_x - 0.5 - corner_rounding), window_width),
                     clamped_pixel(ceil(low_y - 0.5 - corner_rounding), window_height),
                     clamped_pixel(floor(high_x - 0.5 + corner_rounding) + 1, window_width),
                     clamped_pixel(floor(high_y - 0.5 + corner_rounding) + 1, window_height)};
}
