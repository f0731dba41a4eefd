#include "screen/ui.h"

#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/frame_input.h"

DrawnButton drawn_buttons[max_drawn_buttons];
int32_t drawn_button_count;

ScreenPoint window_center() { return ScreenPoint{window_width / 2.0, window_height / 2.0}; }

void begin_widgets() { drawn_button_count = 0; }

bool draw_button(string label, double center_x, double center_y, double width, double height) {
    double left = center_x - width / 2, bottom = center_y - height / 2;
    if (drawn_button_count < max_drawn_buttons) {
        drawn_buttons[drawn_button_count++] = DrawnButton{label, center_x, center_y, width, height};
    }
    draw_quad(gradient3_texture, left, bottom, width, height, ui_text_color, screen_projection);
    draw_text(label, center_x, center_y, 256, ui_text_color, screen_projection, text_centered);
    if (!mouse_in_rectangle(left, bottom, width, height)) return false;
    draw_quad(white_texture, left, bottom, width, height, Color{1, 1, 1, 0.5f}, screen_projection);
    return left_click();
}

int64_t arrow_row(double left_x, double right_x, double y, double side) {
    int64_t step = 0;
    if (draw_button(str("<"), left_x, y, side, side)) step -= 1;
    if (draw_button(str(">"), right_x, y, side, side)) step += 1;
    return step;
}

void draw_caption(string text, double x, double y) {
    draw_text(text, x, y, 256, ui_text_color, screen_projection, text_centered);
}

void draw_centered_panel(double width, double height, const Color& color) {
    ScreenPoint center = window_center();
    draw_quad(white_texture, center.x - width / 2, center.y - height / 2, width, height, color, screen_projection);
}

void draw_dialog_panel() { draw_centered_panel(640, 480, Color{0, 0, 0, 0.8f}); }

DialogAnswer draw_dialog_buttons() {
    ScreenPoint center = window_center();
    DialogAnswer answer{};
    answer.ok = draw_button(str("OK"), center.x, center.y - 144, 128, 64);
    answer.cancel = draw_button(str("Cancel"), center.x - 224, center.y - 144, 128, 64);
    return answer;
}
