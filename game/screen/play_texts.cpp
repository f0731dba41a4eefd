#include "screen/play_texts.h"

#include "model/game_data.h"

static const char* const color_names[card_property_count] = {"Red", "Blue", "Green", "Yellow", "Purple", "Orange"};

string color_name(uint8_t color_index) {
    return color_index < card_property_count ? str(color_names[color_index]) : string{nullptr, 0};
}

string seat_sentence(int64_t seat, string rest, FixedText* text) {
    if (seat >= 0 && seat < players.count) fixed_put_string(text, color_name(players.data[seat].color_index));
    fixed_put_string(text, rest);
    return fixed_view(text);
}

string difficulty_name(int64_t difficulty) {
    switch (difficulty) {
        case 0: return str("easy");
        case 1: return str("normal");
        case 2: return str("hard");
        default: return str("expert");
    }
}

string win_mode_requirement() {
    if (win_mode == all_accepting) return str("and every stone on a light blue state");
    if (win_mode == any_accepting) return str("and a stone on a light blue state");
    return string{nullptr, 0};
}
