#include "screen/move_values.h"

#include "base/text_format.h"
#include "model/referee.h"
#include "model/turn_state.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/frame_input.h"
#include "screen/hand.h"
#include "screen/hint.h"
#include "screen/layout.h"
#include "screen/machine_view.h"

ShownMoveValues move_values;

namespace {

constexpr double label_scale = 208;
// Below the transition's own rule text, in world units.
constexpr double label_drop = 40;
constexpr double along_arrow = 0.62;
constexpr double label_padding = 6;
constexpr Color won_color{0.3f, 1, 0.4f, 1};
constexpr Color drawn_color{1, 0.9f, 0.3f, 1};
constexpr Color lost_color{1, 0.4f, 0.35f, 1};
constexpr Color share_color{1, 1, 1, 1};
constexpr Color backing_color{0, 0, 0, 0.8f};
constexpr Color best_backing_color{0, 0.45f, 0.15f, 0.9f};

bool same_turn() {
    return move_values.player == current_player && move_values.turn == turns_played && move_values.hand_count == current_hand_count();
}

void put_away() {
    if (move_values.marked_hint) hint.shown = false;
    move_values.shown = false;
    move_values.marked_hint = false;
}

void work_out() {
    GrowableArray<RatedMove> rated = expert_move_values();
    move_values.rated.count = 0;
    for (int64_t i = 0; i < rated.count; i++) array_push(&move_values.rated, rated.data[i]);
    move_values.player = current_player;
    move_values.turn = turns_played;
    move_values.hand_count = current_hand_count();
}

void mark_best() {
    if (hint.shown) return;
    for (int64_t i = 0; i < move_values.rated.count; i++) {
        const RatedMove& best = move_values.rated.data[i];
        if (!best.best) continue;
        show_hint(best.move);
        move_values.marked_hint = true;
    }
}

void put_share(FixedText* text, double share) {
    fixed_put_integer(text, static_cast<int64_t>(share * 100 + 0.5));
    fixed_put_char(text, '%');
}

// "win in 3", "draw" or "loss in 5"; or the playout share as "62%".
string value_text(const RatedMove& rated, FixedText* text) {
    if (machine_kind != state_machine) {
        put_share(text, rated.share);
    } else if (rated.outcome == position_drawn) {
        fixed_put_string(text, str("draw"));
    } else {
        fixed_put_string(text, str(rated.outcome == position_won ? "win in " : "loss in "));
        fixed_put_integer(text, rated.plies);
    }
    return fixed_view(text);
}

// A state-machine move's chance against the seats as they play, when there is one, as "40%".
string chance_text(const RatedMove& rated, FixedText* text) {
    if (machine_kind == state_machine && rated.share >= 0) put_share(text, rated.share);
    return fixed_view(text);
}

Color value_color(const RatedMove& rated) {
    if (machine_kind != state_machine) return share_color;
    return rated.outcome == position_won ? won_color : rated.outcome == position_drawn ? drawn_color : lost_color;
}

// One or two lines centred on (x, y) over a dark backing, a green one for the best move.
void draw_label(string first, string second, double x, double y, const Color& color, bool best, const Matrix& view) {
    TextSize size = measure_text(first, label_scale, false);
    TextSize below = measure_text(second, label_scale, false);
    double width = size.width > below.width ? size.width : below.width;
    double height = second.length > 0 ? size.height + below.height : size.height;
    draw_quad(white_texture, x - width / 2 - label_padding, y - height / 2 - label_padding, width + 2 * label_padding,
              height + 2 * label_padding, best ? best_backing_color : backing_color, view);
    if (second.length == 0) {
        draw_text(first, x, y, label_scale, color, view, text_centered);
        return;
    }
    draw_text(first, x, y + below.height / 2, label_scale, color, view, text_centered);
    draw_text(second, x, y - size.height / 2, label_scale, share_color, view, text_centered);
}

}  // namespace

void value_place(const Transition& t, double* x, double* y) {
    if (t.rule.length > 0 || t.from == t.to) {
        label_center(t, x, y);
        *y -= label_drop;
        return;
    }
    float from_x, from_y, to_x, to_y;
    state_center(t.from, &from_x, &from_y);
    state_center(t.to, &to_x, &to_y);
    *x = from_x + (to_x - from_x) * along_arrow;
    *y = from_y + (to_y - from_y) * along_arrow;
}

namespace {

void draw_machine_labels(const Matrix& view) {
    for (int64_t i = 0; i < move_values.rated.count; i++) {
        const RatedMove& rated = move_values.rated.data[i];
        int16_t t = transition_taken(stones.data[rated.move.stone], rated.move.target, rated.move.rule);
        if (t < 0) continue;
        double x, y;
        value_place(transitions.data[t], &x, &y);
        char value_bytes[32], chance_bytes[8];
        FixedText value{value_bytes, sizeof value_bytes, 0, 0}, chance{chance_bytes, sizeof chance_bytes, 0, 0};
        draw_label(value_text(rated, &value), chance_text(rated, &chance), x, y, value_color(rated), rated.best, view);
    }
}

bool same_card(Card a, Card b) { return a.color == b.color && a.shape == b.shape && a.number == b.number; }

// Over each hand card that can be played, the best share among its moves.
void draw_hand_shares() {
    const GrowableArray<Card>& hand = players.data[current_player].hand;
    for (int64_t k = 0; k < hand.count; k++) {
        double share = -1;
        bool best = false;
        for (int64_t i = 0; i < move_values.rated.count; i++) {
            const RatedMove& rated = move_values.rated.data[i];
            if (!same_card(hand.data[rated.move.card], hand.data[k])) continue;
            share = rated.share > share ? rated.share : share;
            best = best || (rated.best && rated.move.card == k);
        }
        if (share < 0) continue;
        char bytes[8];
        FixedText text{bytes, sizeof bytes, 0, 0};
        put_share(&text, share);
        double x = hand_card_x(k, hand.count, window_width, hand_scroll) + card_size / 2;
        draw_label(fixed_view(&text), string{nullptr, 0}, x, hand_card_top + 12, share_color, best, screen_projection);
    }
}

}  // namespace

void reset_move_values() {
    GrowableArray<RatedMove> storage = move_values.rated;
    storage.count = 0;
    move_values = ShownMoveValues{false, storage, -1, -1, -1, false};
}

void update_move_values(bool human_turn) {
    bool wanted = human_turn && !game_over() && move_delay <= 0 && key_held(KEY_V);
    if (!wanted) {
        put_away();
        return;
    }
    if (!move_values.shown || !same_turn()) {
        work_out();
        move_values.shown = true;
    }
    mark_best();
}

void draw_move_values(const Matrix& view) {
    if (!move_values.shown || !same_turn()) return;
    if (machine_kind == pushdown_machine) draw_hand_shares();
    else draw_machine_labels(view);
}
