#include "model/goals.h"
#include "render/goal_drawing.h"
#include "render/text.h"

void draw_goal_text(Goal goal, double x, double y) {
    draw_text(goal_text(goal), x, y, 256, Color{1, 1, 1, 1}, screen_projection, text_centered | text_symbols);
}
