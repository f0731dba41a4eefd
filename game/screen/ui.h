// The widgets every screen shares, each drawn and acted on in one call from the frame's input:
// buttons, "<" ">" rows, captions, centred panels and the OK / Cancel pair of a dialog.
#pragma once

#include "base/color.h"
#include "base/strings.h"
#include "render/text.h"

#include <cstdint>

constexpr Color ui_text_color{1, 1, 1, 1};

struct ScreenPoint {
    double x, y;
};

ScreenPoint window_center();

// Drawn and tested in one call; true in the frame the left button goes down over it.
bool draw_button(string label, double center_x, double center_y, double width, double height);

// What was drawn this frame in window pixels, in drawing order: the buttons, so a driver can find
// one by its label, and the texts drawn through the calls below, so a test can check that nothing
// drawn covers anything else.
struct DrawnBox {
    string label;
    double center_x, center_y, width, height;
};
constexpr int32_t max_drawn_buttons = 128;
extern DrawnBox drawn_buttons[max_drawn_buttons];
extern int32_t drawn_button_count;
constexpr int32_t max_drawn_texts = 128;
extern DrawnBox drawn_texts[max_drawn_texts];
extern int32_t drawn_text_count;

// Called once a frame before any widget is drawn.
void begin_widgets();

// draw_text in window pixels, noting the box the text covers.
void draw_screen_text(string text, double x, double y, double scale, const Color& color, uint8_t style);

// "<" at left_x and ">" at right_x on row y, squares of side `side`: -1, +1, or 0 when neither was clicked.
int64_t arrow_row(double left_x, double right_x, double y, double side);

// Scale 256, white, in window pixels, centred on (x, y), no card symbols.
void draw_caption(string text, double x, double y);
// A caption no wider than max_width: a longer text shows its end, after "...", as if scrolled to it.
void draw_fitted_caption(string text, double x, double y, double max_width);

// A frame of the given thickness just inside the rectangle, in window pixels.
void draw_outline(double x, double y, double width, double height, double thickness, const Color& color);

// A dark box of the given size centred on the window.
void draw_centered_panel(double width, double height, const Color& color);

struct DialogAnswer {
    bool ok, cancel;
};

// The dialog box every editor dialog sits in, and its OK (or yes) and Cancel buttons below its content.
constexpr double dialog_width = 640;
void draw_dialog_panel();
DialogAnswer draw_dialog_buttons(string ok_label);

// A question in the dialog box: a line, a detail below it (such as the file it is about), a button
// for yes and "Cancel"; the Y and N keys answer too.
DialogAnswer draw_question(string line, string detail, string yes_label);
