// What the three menu screens share: the window centre they lay out from, the dark panel,
// white centred captions and the "<" ">" button pairs.
#pragma once

#include "base/strings.h"
#include "model/game_data.h"

constexpr Color menu_text_color{1, 1, 1, 1};
constexpr Color menu_panel_color{0, 0, 0, 0.8f};

struct ScreenPoint {
    double x, y;
};

ScreenPoint window_center();

// 800 pixels wide, centred on the window.
void draw_menu_panel(double height);

// Scale 256, white, screen space, centred on (x, y), no card symbols.
void draw_caption(string text, double x, double y);

// Draws "<" at left_x and ">" at right_x on row y: -1, +1, or 0 when neither was clicked.
int64_t arrow_step(double left_x, double right_x, double y);
