#include "screen/seat_names.h"

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
