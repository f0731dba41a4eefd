#include "shell/menu_widgets.h"

#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"

static constexpr double arrow_button_side = 64;

ScreenPoint window_center() { return ScreenPoint{window_width / 2.0, window_height / 2.0}; }

void draw_menu_panel(double height) {
    ScreenPoint center = window_center();
    draw_quad(white_texture, center.x - 400, center.y - height / 2, 800, height, menu_panel_color, true);
}

void draw_caption(string text, double x, double y) { draw_text(text, x, y, 256, menu_text_color, true, false, true); }

int64_t arrow_step(double left_x, double right_x, double y) {
    int64_t step = 0;
    if (draw_button(str("<"), left_x, y, arrow_button_side, arrow_button_side)) step -= 1;
    if (draw_button(str(">"), right_x, y, arrow_button_side, arrow_button_side)) step += 1;
    return step;
}
