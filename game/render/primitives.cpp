#include "render/primitives.h"

#include "render/quad_batch.h"
#include "render/resources.h"
#include "render/scene.h"

#include <kestrune_system.h>

Matrix camera_matrix;

namespace {

constexpr double degrees_to_radians = 0.017453292519943295;
constexpr float quarter_turn = 1.5707963267948966f;

struct CardLayout {
    float scale;
    int32_t count;
    float offsets[6][2];
};

// Shapes for numbers 1 to 6, offsets in units of the card's size from its centre.
const CardLayout card_layouts[6] = {
    {1.0f, 1, {{0, 0}}},
    {0.4f, 2, {{0, -0.25f}, {0, 0.25f}}},
    {0.4f, 3, {{-0.25f, -0.25f}, {0.25f, -0.25f}, {0, 0.25f}}},
    {0.4f, 4, {{-0.25f, -0.25f}, {0.25f, -0.25f}, {-0.25f, 0.25f}, {0.25f, 0.25f}}},
    {0.33f, 5, {{-0.25f, -0.25f}, {0.25f, -0.25f}, {-0.25f, 0.25f}, {0.25f, 0.25f}, {0, 0}}},
    {0.25f, 6, {{-0.25f, -0.25f}, {0.25f, -0.25f}, {-0.25f, 0.25f}, {0.25f, 0.25f}, {-0.25f, 0}, {0.25f, 0}}},
};

Matrix rectangle_model(double x, double y, double width, double height) {
    return matrix_multiply(matrix_translation(static_cast<float>(x), static_cast<float>(y)),
                           matrix_scale(static_cast<float>(width), static_cast<float>(height)));
}

}  // namespace

void draw_textured(const Matrix& model, uint32_t texture, const Color& color, TextureRect rect, const Matrix& view) {
    record_quad(quad_record(matrix_multiply(view, model), texture, color, rect));
}

void draw_quad(uint32_t texture, double x, double y, double width, double height, const Color& color,
               const Matrix& view) {
    draw_textured(rectangle_model(x, y, width, height), texture, color, whole_texture, view);
}

void draw_card(Card card, double x, double y, double size) {
    Color color = player_color(card.color);
    Color background{color.r / 7, color.g / 7, color.b / 7, color.a};
    draw_quad(white_texture, x, y, size, size, background, screen_projection);
    uint32_t shape = card.shape < shape_texture_count ? shape_textures[card.shape] : 0;
    int32_t layout_index = card.number < 1 ? 0 : card.number > 6 ? 5 : card.number - 1;
    const CardLayout& layout = card_layouts[layout_index];
    double side = size * layout.scale;
    for (int32_t i = 0; i < layout.count; i++) {
        double shape_x = x + size / 2 - side / 2 + layout.offsets[i][0] * size;
        double shape_y = y + size / 2 - side / 2 + layout.offsets[i][1] * size;
        draw_textured(rectangle_model(shape_x, shape_y, side, side), shape, color, whole_texture, screen_projection);
    }
}

void draw_arrow(double x0, double y0, double x1, double y1, double width, double offset, const Color& color,
                const Matrix& view) {
    double dx = x1 - x0, dy = y1 - y0;
    double length = math_sqrt(dx * dx + dy * dy);
    float ux = static_cast<float>(dx / length), uy = static_cast<float>(dy / length);
    Matrix direction = matrix_identity();
    direction.m[0] = ux;
    direction.m[1] = uy;
    direction.m[4] = -uy;
    direction.m[5] = ux;
    float w = static_cast<float>(width), shift = static_cast<float>(offset);

    // Closer than the head's gap the shaft's length turns negative; the mirrored quad is culled.
    Matrix start = matrix_multiply(matrix_translation(static_cast<float>(x0), static_cast<float>(y0)), direction);
    Matrix shaft = matrix_multiply(matrix_multiply(start, matrix_translation(0, shift - w / 2)),
                                   matrix_scale(static_cast<float>(length - arrow_head_gap * width), w));
    draw_textured(shaft, white_texture, color, whole_texture, view);

    Matrix end = matrix_multiply(matrix_translation(static_cast<float>(x1), static_cast<float>(y1)), direction);
    Matrix head = matrix_multiply(end, matrix_translation(static_cast<float>(-arrow_head_gap) * w, shift));
    head = matrix_multiply(head, matrix_rotation(-quarter_turn));
    float head_side = static_cast<float>(arrow_head_size) * w;
    head = matrix_multiply(head, matrix_scale(head_side, head_side));
    head = matrix_multiply(head, matrix_translation(-0.5f, -0.5f));
    draw_textured(head, shape_textures[1], color, whole_texture, view);
}

void draw_self_arrow(uint32_t texture, double x, double y, double width, double height, double angle_degrees,
                     double pivot_x, double pivot_y, const Color& color, const Matrix& view) {
    Matrix model = matrix_multiply(matrix_translation(static_cast<float>(x), static_cast<float>(y)),
                                   matrix_rotation(static_cast<float>(angle_degrees * degrees_to_radians)));
    model = matrix_multiply(model, matrix_translation(static_cast<float>(-pivot_x), static_cast<float>(-pivot_y)));
    model = matrix_multiply(model, rectangle_model(0, 0, width, height));
    draw_textured(model, texture, color, whole_texture, view);
}
