#include "screen/ui.h"

#include "base/arena.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/frame_input.h"

#include <cstring>

DrawnBox drawn_buttons[max_drawn_buttons];
int32_t drawn_button_count;
DrawnBox drawn_texts[max_drawn_texts];
int32_t drawn_text_count;

constexpr int64_t drawn_text_room = 16384;
static char drawn_text_bytes[drawn_text_room];
static int64_t drawn_text_used;

ScreenPoint window_center() { return ScreenPoint{window_width / 2.0, window_height / 2.0}; }

void begin_widgets() {
    drawn_button_count = 0;
    drawn_text_count = 0;
    drawn_text_used = 0;
}

void draw_screen_text(string text, double x, double y, double scale, const Color& color, uint8_t style) {
    draw_text(text, x, y, scale, color, screen_projection, style);
    if (drawn_text_count >= max_drawn_texts) return;
    TextSize size = measure_text(text, scale, (style & text_symbols) != 0);
    bool centered = (style & (text_centered | text_symbols)) != 0;
    double center_x = centered ? x : x + size.width / 2, center_y = centered ? y : y + size.height / 2;
    // A copy, as the text may live on the caller's stack; a text past the room is noted empty.
    int64_t length = text.length > 0 && text.length <= drawn_text_room - drawn_text_used ? text.length : 0;
    if (length > 0) memcpy(drawn_text_bytes + drawn_text_used, text.data, static_cast<size_t>(length));
    drawn_texts[drawn_text_count++] = DrawnBox{string{drawn_text_bytes + drawn_text_used, length}, center_x, center_y,
                                               size.width, size.height};
    drawn_text_used += length;
}

bool draw_button(string label, double center_x, double center_y, double width, double height) {
    double left = center_x - width / 2, bottom = center_y - height / 2;
    if (drawn_button_count < max_drawn_buttons) {
        drawn_buttons[drawn_button_count++] = DrawnBox{label, center_x, center_y, width, height};
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

void draw_caption(string text, double x, double y) { draw_screen_text(text, x, y, 256, ui_text_color, text_centered); }

void draw_fitted_caption(string text, double x, double y, double max_width) {
    if (measure_text(text, 256, false).width <= max_width) {
        draw_caption(text, x, y);
        return;
    }
    string dots = str("...");
    double room = max_width - measure_text(dots, 256, false).width;
    int64_t start = text.length;
    double width = 0;
    while (start > 0) {
        double next = measure_text(string{text.data + start - 1, 1}, 256, false).width;
        if (width + next > room) break;
        width += next;
        start -= 1;
    }
    string tail{text.data + start, text.length - start};
    draw_caption(arena_concat(dots, tail, FRAME_ARENA), x, y);
}

void draw_centered_panel(double width, double height, const Color& color) {
    ScreenPoint center = window_center();
    draw_quad(white_texture, center.x - width / 2, center.y - height / 2, width, height, color, screen_projection);
}

void draw_dialog_panel() { draw_centered_panel(dialog_width, 480, Color{0, 0, 0, 0.8f}); }

DialogAnswer draw_dialog_buttons(string ok_label) {
    ScreenPoint center = window_center();
    DialogAnswer answer{};
    answer.ok = draw_button(ok_label, center.x, center.y - 144, 128, 64);
    answer.cancel = draw_button(str("Cancel"), center.x - 224, center.y - 144, 128, 64);
    return answer;
}

DialogAnswer draw_question(string line, string detail, string yes_label) {
    ScreenPoint center = window_center();
    double text_room = dialog_width - 64;
    draw_dialog_panel();
    draw_fitted_caption(line, center.x, center.y + 64, text_room);
    draw_fitted_caption(detail, center.x, center.y, text_room);
    DialogAnswer answer = draw_dialog_buttons(yes_label);
    answer.ok = answer.ok || key_pressed(KEY_Y);
    answer.cancel = answer.cancel || key_pressed(KEY_N);
    return answer;
}

void draw_outline(double x, double y, double width, double height, double thickness, const Color& color) {
    draw_quad(white_texture, x, y, width, thickness, color, screen_projection);
    draw_quad(white_texture, x, y + height - thickness, width, thickness, color, screen_projection);
    draw_quad(white_texture, x, y + thickness, thickness, height - 2 * thickness, color, screen_projection);
    draw_quad(white_texture, x + width - thickness, y + thickness, thickness, height - 2 * thickness, color, screen_projection);
}
