// Tinted textured rectangles, cards and arrows: each one or more unit quads, recorded
// between begin_scene and present_scene and drawn by present_scene.
// Each takes the view it is drawn through: screen_projection for window pixels, camera_matrix for
// the world, or a view of the caller's own.
#pragma once

#include "base/color.h"
#include "model/game_data.h"
#include "render/matrix.h"
#include "render/texture_rect.h"

#include <cstdint>

// World to clip space, built each frame from the camera.
extern Matrix camera_matrix;

// One quad: the view times model, the texture, its tint and the part of the texture shown.
void draw_textured(const Matrix& model, uint32_t texture, const Color& color, TextureRect rect, const Matrix& view);

// Bottom-left corner (x, y).
void draw_quad(uint32_t texture, double x, double y, double width, double height, const Color& color,
               const Matrix& view);

// A square of side size with its bottom-left corner at (x, y), in screen space.
void draw_card(Card card, double x, double y, double size);

// From the first point towards the second, moved to the left of its direction by offset. The shaft
// stops arrow_head_gap widths short of the end point, where the head's square of arrow_head_size
// widths is centred, pointing along the arrow.
constexpr double arrow_head_gap = 8;
constexpr double arrow_head_size = 6;
void draw_arrow(double x0, double y0, double x1, double y1, double width, double offset, const Color& color,
                const Matrix& view);

// The picture's point (pivot_x, pivot_y) lies on (x, y) and it is turned counter-clockwise about it.
void draw_self_arrow(uint32_t texture, double x, double y, double width, double height, double angle_degrees,
                     double pivot_x, double pivot_y, const Color& color, const Matrix& view);
