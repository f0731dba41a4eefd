#include "screen/hand.h"

#include "model/goals.h"
#include "model/move_choice.h"
#include "model/turn_state.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/frame_input.h"
#include "screen/hint.h"
#include "screen/layout.h"
#include "screen/network_play.h"
#include "screen/pointer_boxes.h"
#include "screen/ui.h"
#include "screen/play_texts.h"

double hand_scroll;
uint8_t hand_scroll_dragging;

void reset_hand_view() {
    hand_scroll = 0;
    hand_scroll_dragging = 0;
}

constexpr double card_gap = card_pitch - card_size;
constexpr double hand_y = 16;
constexpr double scroll_bar_y = 160;
constexpr double scroll_bar_height = 16;
constexpr double scroll_bar_margin = 16;
constexpr double wheel_scroll_step = 0.03125;

const Color card_highlight{1, 0.3f, 0, 0.5f};
const Color hover_highlight{1, 1, 1, 0.3f};
const Color hint_highlight{0, 1, 0.3f, 1};

static int64_t hand_cards_fitting(double width) { return static_cast<int64_t>(width / card_pitch); }

static double hand_width(int64_t cards) { return card_pitch * static_cast<double>(cards) - card_gap; }

double hand_card_x(int64_t k, int64_t cards, double width, double scroll) {
    int64_t fit = hand_cards_fitting(width);
    double shown = static_cast<double>(cards < fit ? cards : fit);
    return width / 2 - (card_gap * (shown - 1) + card_size * shown) / 2 + card_pitch * static_cast<double>(k) -
           scroll * hand_width(cards);
}

static double scroll_track_width(double width) { return width - 2 * scroll_bar_margin; }

// The largest scroll that still shows the hand's right end; 0 when the hand fits.
static double hand_scroll_limit(int64_t cards, double width) {
    if (hand_cards_fitting(width) >= cards) return 0;
    return 1 - scroll_track_width(width) / hand_width(cards);
}

// The seat to move's hand; in a joined game always this screen's own seat's, the others' being hidden.
static Player* current_seat() {
    int64_t seat = joined_play ? joined_seat() : current_player;
    if (seat < 0 || seat >= players.count) return nullptr;
    return &players.data[seat];
}

// The goal, where the tape stands against it, and what the win mode asks for besides.
static void draw_own_goal(Goal goal) {
    double middle = bottom_panel_height / 2;
    draw_screen_text(goal_progress_text(goal), window_width / 2.0, middle + 12, 256, Color{1, 1, 1, 1},
                     text_centered | text_symbols);
    string besides = win_mode_requirement();
    if (besides.length > 0) {
        draw_text(besides, window_width / 2.0, middle - 28, 192, Color{0.4f, 0.7f, 1, 1}, screen_projection, text_centered);
    }
}

static void draw_cards(const Player& seat) {
    bool pushdown = machine_kind == pushdown_machine;
    for (int64_t k = 0; k < seat.hand.count; k++) {
        double x = hand_card_x(k, seat.hand.count, window_width, hand_scroll);
        bool hovered = pushdown && own_pointer(x, hand_y, card_size, card_size, pointer_tag_hand_card + static_cast<uint32_t>(k));
        if (hovered && left_click() && human_may_choose()) selected_card = selected_card == k ? -1 : k;
        if (pushdown && k == selected_card) draw_quad(white_texture, x - 16, 0, 160, 160, card_highlight, screen_projection);
        draw_card(seat.hand.data[k], x, hand_y, card_size);
        // In front of the card, so neither the card nor a selection hides it.
        if (pushdown && hint.shown && k == hint.card) draw_outline(x - 6, hand_y - 6, card_size + 12, card_size + 12, 6, hint_highlight);
        if (hovered) draw_quad(white_texture, x - 16, 0, 160, 160, hover_highlight, screen_projection);
    }
}

static void draw_deck_choice() {
    // While a move's pause runs and once the game is over the deck rests: a card drawn then could
    // spoil the mover's win.
    if (!may_draw_card() || !human_may_choose()) return;
    CardSlot deck_place = deck_slot();
    if (!own_pointer(deck_place.x, deck_place.y, deck_place.size, deck_place.size, pointer_tag_deck)) return;
    if (left_click()) choose_card_draw();
    draw_quad(white_texture, deck_place.x - 16, deck_place.y - 16, deck_place.size + 32, deck_place.size + 32,
              hover_highlight, screen_projection);
}

static void draw_next_turn_button(const Player& seat) {
    if (!card_drawn) return;
    double x = window_width - 144.0, y = window_height - 144.0;
    draw_quad(next_turn_texture, x, y, card_size, card_size, seat.color, screen_projection);
    // A second end of turn during the pause would skip a seat.
    if (!may_end_turn_unmoved() || !human_may_choose() || !own_pointer(x, y, card_size, card_size, pointer_tag_next_turn)) return;
    draw_quad(white_texture, window_width - 160.0, window_height - 160.0, 160, 160, hover_highlight, screen_projection);
    if (left_click()) choose_turn_end();
}

static void draw_scroll_bar(int64_t cards) {
    if (hand_cards_fitting(window_width) >= cards) {
        reset_hand_view();
        return;
    }
    double track = scroll_track_width(window_width);
    double thumb_width = track * track / hand_width(cards);
    double thumb_x = scroll_bar_margin + hand_scroll * track;
    bool hovered = own_pointer(thumb_x, scroll_bar_y, thumb_width, scroll_bar_height, pointer_tag_scroll_bar);
    if (hovered && !hand_scroll_dragging && left_click()) hand_scroll_dragging = 1;
    if (frame_input.buttons_released[MOUSE_LEFT]) hand_scroll_dragging = 0;
    if (hand_scroll_dragging) hand_scroll += frame_input.mouse_moved_x / track;
    if (frame_input.wheel != 0 && frame_input.mouse_y < bottom_panel_height && !pointer_covered()) hand_scroll -= frame_input.wheel * wheel_scroll_step;
    double limit = hand_scroll_limit(cards, window_width);
    if (hand_scroll < 0) hand_scroll = 0;
    if (hand_scroll > limit) hand_scroll = limit;
    Color thumb = hand_scroll_dragging ? Color{0.1f, 0, 0.5f, 1}
                  : hovered            ? Color{0.5f, 0.3f, 1, 1}
                                       : Color{0.3f, 0, 1, 1};
    draw_quad(white_texture, scroll_bar_margin + hand_scroll * track, scroll_bar_y, thumb_width, scroll_bar_height,
              thumb, screen_projection);
}

void draw_hand() {
    if (machine_kind != pushdown_machine && machine_kind != turing_machine) return;
    Player* seat = current_seat();
    if (!seat) return;
    draw_cards(*seat);
    if (machine_kind == pushdown_machine) draw_deck_choice();
    if (machine_kind == turing_machine) draw_own_goal(seat->goal);
    draw_next_turn_button(*seat);
    // The button may have passed the turn; the bar belongs to the hand drawn above.
    draw_scroll_bar(seat->hand.count);
}
