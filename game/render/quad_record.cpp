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

PixelRect quad_bounds(const QuadRecord& quad) {
    double low_x = INFINITY, low_y = INFINITY, high_x = -INFINITY, high_y = -INFINITY;
    for (const float* corner : quad.corners) {
        double w = corner[3];
        // A corner behind the eye has no window position; such a quad may cover anything.
        if (w <= 0) return whole_window_rect();
        double window_x = (corner[0] / w + 1) * 0.5 * window_width;
        double window_y = (corner[1] / w + 1) * 0.5 * window_height;
        low_x = fmin(low_x, window_x);
        low_y = fmin(low_y, window_y);
        high_x = fmax(high_x, window_x);
        high_y = fmax(high_y, window_y);
    }
    if (!(high_x >= low_x && high_y >= low_y)) return whole_window_rect();
    // Corners come back from clip space a rounding away from whole pixels; the pixel of margin
    // covers far more than that.
    constexpr double rounding = 1.0 / 256;
    return PixelRect{clamped_pixel(floor(low_x + rounding) - 1, window_width),
                     clamped_pixel(floor(low_y + rounding) - 1, window_height),
                     clamped_pixel(ceil(high_x - rounding) + 1, window_width),
                     clamped_pixel(ceil(high_y - rounding) + 1, window_height)};
}
