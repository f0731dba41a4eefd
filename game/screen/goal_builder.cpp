#include "screen/goal_builder.h"

#include "base/text_format.h"
#include "model/map_file.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/ui.h"

uint8_t goal_builder_open;
Goal goal_draft;

void reset_goal_builder() {
    goal_builder_open = 0;
    goal_draft = default_goal;
}

void step_goal_operand(uint8_t* color, uint8_t* shape, uint8_t* number, int direction) {
    if (direction < 0) {
        *color = static_cast<uint8_t>((*color + 5) % 6);
        *shape = static_cast<uint8_t>((*shape + 5) % 6);
        *number = *number < 2 || *number > 128 ? 6 : static_cast<uint8_t>(*number - 1);
    } else {
        *color = static_cast<uint8_t>((*color + 1) % 6);
        *shape = static_cast<uint8_t>((*shape + 1) % 6);
        *number = *number >= 6 ? 1 : static_cast<uint8_t>(*number + 1);
    }
}

namespace {

const char* const goal_kind_names[] = {
    "sum",
    "# distinct colors",
    "# distinct shapes",
    "# distinct numbers",
    "# cards of color",
    "# cards of shape",
    "# cards of number",
    "# cards of color a or b",
    "# cards of shape a or b",
    "# cards of number a or b",
};
const char* const comparison_names[] = {"exactly", "at most", "at least"};

// The row's arrows; -1 or +1 for a click this frame, else 0.
int row_step(double y) {
    double center_x = window_width / 2.0;
    return static_cast<int>(arrow_row(center_x - 256, center_x + 256, y, 32));
}

void draw_row_value(string text, double y, bool symbols) {
    draw_text(text, window_width / 2.0, y, 256, ui_text_color, screen_projection, symbols ? text_centered | text_symbols : text_centered);
}

// The operand the kind counts: a colour letter, a shape letter or a number, drawn as its symbol.
void draw_operand(uint8_t color, uint8_t shape, uint8_t number, double y) {
    char symbol[1];
    switch (goal_draft.kind % 3) {
        case 1: symbol[0] = static_cast<char>('A' + color % 6); break;
        case 2: symbol[0] = static_cast<char>('a' + shape % 6); break;
        default: symbol[0] = static_cast<char>('0' + number % 10); break;
    }
    draw_row_value(string{symbol, 1}, y, true);
}

}  // namespace

void goal_builder_frame() {
    draw_dialog_panel();
    double y = window_center().y + 176;

    goal_draft.kind = static_cast<uint8_t>((goal_draft.kind + 10 + row_step(y)) % 10);
    draw_row_value(str(goal_kind_names[goal_draft.kind]), y, false);
    y -= 32;
    goal_draft.comparison = static_cast<uint8_t>((goal_draft.comparison + 3 + row_step(y)) % 3);
    draw_row_value(str(comparison_names[goal_draft.comparison % 3]), y, false);
    y -= 32;
    goal_draft.amount += row_step(y);
    TextBuilder amount{nullptr, 0, 0, FRAME_ARENA, 0};
    text_put_integer(&amount, goal_draft.amount);
    draw_row_value(text_view(&amount), y, false);
    if (goal_draft.kind > 3) {
        y -= 32;
        int step = row_step(y);
        if (step != 0) step_goal_operand(&goal_draft.color_a, &goal_draft.shape_a, &goal_draft.number_a, step);
        draw_operand(goal_draft.color_a, goal_draft.shape_a, goal_draft.number_a, y);
    }
    if (goal_draft.kind > 6) {
        y -= 32;
        int step = row_step(y);
        if (step != 0) step_goal_operand(&goal_draft.color_b, &goal_draft.shape_b, &goal_draft.number_b, step);
        draw_operand(goal_draft.color_b, goal_draft.shape_b, goal_draft.number_b, y);
    }

    DialogAnswer answer = draw_dialog_buttons(str("OK"));
    if (answer.ok) {
        goal_builder_open = 0;
        if (goals.count < max_goals) array_push(&goals, goal_draft);
    }
    if (answer.cancel) goal_builder_open = 0;
}
