// Tinted textured rectangles, buttons, cards and arrows: each one draw of the unit quad with the simple shader.
// The simple shader, the quad's vertex array and blending must be set up (begin_scene does it).
#pragma once

#include "base/strings.h"
#include "model/game_data.h"
#include "render/matrix.h"

#include <cstdint>

// World to clip space, built each frame from the camera.
extern Matrix camera_matrix;

// Part of a texture in texture units: corner (u, v) and size.
struct TextureRect {
    float u, v, width, height;
};

constexpr TextureRect whole_texture{0, 0, 1, 1};

// Red, blue, green, yellow, purple, orange; black for any other index.
Color player_color(uint8_t index);

// Uniforms of one draw: the projection (screen or world) times model, then the quad's six indices.
void draw_textured(const Matrix& model, uint32_t texture, const Color& color, TextureRect rect, bool screen_space);

// Bottom-left corner (x, y).
void draw_quad(uint32_t texture, double x, double y, double width, double height, const Color& color,
               bool screen_space);

// Drawn and tested in one call; true in the frame the left button goes down over it.
bool draw_button(string label, double center_x, double center_y, double width, double height);

// The buttons drawn since the scene began, in drawing order, so a driver can find one by its label.
struct DrawnButton {
    string label;
    double center_x, center_y, width, height;
};
constexpr int32_t max_drawn_buttons = 128;
extern DrawnButton drawn_buttons[max_drawn_buttons];
extern int32_t drawn_button_count;

// A square of side size with its bottom-left corner at (x, y), in screen space.
void draw_card(Card card, double x, double y, double size);

// From the first point towards the second, moved to the left of its direction by offset.
void draw_arrow(double x0, double y0, double x1, double y1, double width, double offset, const Color& color,
                bool screen_space);

// The picture's point (pivot_x, pivot_y) lies on (x, y) and it is turned counter-clockwise about it.
void draw_self_arrow(uint32_t texture, double x, double y, double width, double height, double angle_degrees,
                     double pivot_x, double pivot_y, const Color& color, bool screen_space);
