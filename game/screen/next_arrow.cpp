#include "screen/next_arrow.h"

#include "base/text_format.h"
#include "model/game_data.h"
#include "model/turn_state.h"
#include "render/primitives.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/layout.h"
#include "screen/ui.h"

namespace {

// The colours of the selection's rings, lightened to read as text.
constexpr Color from_color{1, 0.55f, 0.45f, 1};
constexpr Color to_color{0.55f, 0.7f, 1, 1};
constexpr double tag_scale = 160;
// Below the state's disc; a second tag on the same state goes one line lower.
constexpr double tag_drop = 48, tag_line = 20;
constexpr double line_x = 16, line_drop = 144;

bool valid_state(int16_t state) { return state >= 0 && state < states.count; }

string tag_text(const char* word, int16_t state) {
    TextBuilder text{nullptr, 0, 0, FRAME_ARENA, 0};
    text_put_string(&text, str(word));
    text_put_integer(&text, state);
    return text_view(&text);
}

void draw_tag(const char* word, int16_t state, double lines_down, const Color& color) {
    float x, y;
    state_center(state, &x, &y);
    draw_text(tag_text(word, state), x, y - tag_drop - lines_down * tag_line, tag_scale, color, camera_matrix,
              text_centered);
}

}  // namespace

void draw_next_arrow_marks() {
    if (!valid_state(source_state)) return;
    bool target = valid_state(target_state);
    draw_tag("from ", source_state, 0, from_color);
    if (target) draw_tag("to ", target_state, target_state == source_state ? 1 : 0, to_color);

    TextBuilder line{nullptr, 0, 0, FRAME_ARENA, 0};
    text_put_string(&line, str("arrow "));
    text_put_integer(&line, source_state);
    text_put_string(&line, str(" -> "));
    if (target) {
        text_put_integer(&line, target_state);
    } else {
        text_put_string(&line, str("?"));
    }
    draw_screen_text(text_view(&line), line_x, window_height - line_drop, 256, ui_text_color, text_plain);
}
