#include "screen/stone_counts.h"

#include "base/text_format.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/text.h"
#include "screen/stone_animation.h"

namespace {

constexpr double badge_size = 34;
// From the state's centre to the badge's centre, right and down, on the edge of the state's disc.
constexpr double badge_offset = 18;
constexpr Color badge_color{1, 0.8f, 0.2f, 1};
constexpr Color count_color{0, 0, 0, 1};

}  // namespace

int64_t stones_shown_on(int16_t state, bool leave_out_moving) {
    int64_t count = 0;
    for (int64_t i = 0; i < stones.count; i++) {
        bool moving = leave_out_moving && i == moving_stone;
        if (stones.data[i] == state && !moving) count++;
    }
    return count;
}

void draw_stone_counts(const Matrix& view, bool leave_out_moving) {
    for (int64_t i = 0; i < states.count; i++) {
        int64_t count = stones_shown_on(static_cast<int16_t>(i), leave_out_moving);
        if (count < 2) continue;
        float x, y;
        state_center(static_cast<int16_t>(i), &x, &y);
        double badge_x = x + badge_offset, badge_y = y - badge_offset;
        draw_quad(shape_textures[0], badge_x - badge_size / 2, badge_y - badge_size / 2, badge_size, badge_size,
                  badge_color, view);
        char digits[24];
        FixedText text{digits, sizeof digits, 0, 0};
        fixed_put_integer(&text, count);
        draw_text(fixed_view(&text), badge_x, badge_y, 224, count_color, view, text_centered);
    }
}
