#include "screen/text_entry.h"

#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/keys.h"

#include <kestrune_system.h>

uint8_t entry_open;
uint8_t entry_purpose;
uint8_t entry_accepted;
string entry_prompt;
GrowableArray<char> entry_text;

void reset_text_entry() {
    entry_open = 0;
    entry_purpose = entry_for_nothing;
    entry_accepted = 0;
    entry_prompt = string{nullptr, 0};
    entry_text = GrowableArray<char>{};
}

void open_text_entry(uint8_t purpose, string prompt) {
    entry_open = 1;
    entry_purpose = purpose;
    entry_accepted = 0;
    entry_prompt = arena_copy_string(prompt);
    array_clear(&entry_text);
}

void type_character(char c) { array_push(&entry_text, c); }

string typed_text() { return string{entry_text.data, entry_text.count}; }

void finish_text_entry() {
    entry_purpose = entry_for_nothing;
    entry_accepted = 0;
}

namespace {

struct PunctuationKey {
    uint8_t key;
    char plain, shifted;
};

// A double quote cannot be typed, so a rule text never holds one.
const PunctuationKey punctuation_keys[] = {
    {KEY_SLASH, '/', '?'},         {KEY_BACKSLASH, '\\', '|'},      {KEY_SEMICOLON, ';', ':'},
    {KEY_APOSTROPHE, '\'', '\''},   {KEY_COMMA, ',', '<'},           {KEY_PERIOD, '.', '>'},
    {KEY_LEFT_BRACKET, '[', '{'},  {KEY_RIGHT_BRACKET, ']', '}'},   {KEY_MINUS, '-', '_'},
    {KEY_EQUALS, '=', '+'},        {KEY_GRAVE, '~', '~'},
};

void type_from_keys() {
    if (input_key_is_held(KEY_CTRL) || input_key_is_held(KEY_ALT)) return;
    bool shift = shift_held();
    bool caps_lock = (input_key_modifiers() & MODIFIER_CAPS_LOCK) != 0;
    for (char letter = 'A'; letter <= 'Z'; letter++) {
        if (!input_key_is_pressed(letter_key(letter))) continue;
        type_character(shift == caps_lock ? static_cast<char>(letter - 'A' + 'a') : letter);
    }
    static const char shifted_digits[] = ")!@#$%^&*(";
    for (int digit = 0; digit <= 9; digit++) {
        if (input_key_is_pressed(digit_key(digit))) type_character(shift ? shifted_digits[digit] : static_cast<char>('0' + digit));
    }
    for (const PunctuationKey& each : punctuation_keys) {
        if (input_key_is_pressed(each.key)) type_character(shift ? each.shifted : each.plain);
    }
    if (input_key_is_pressed(KEY_BACKSPACE) && entry_text.count > 0) entry_text.count -= 1;
}

}  // namespace

void text_entry_frame() {
    double center_x = window_width / 2.0, center_y = window_height / 2.0;
    Color white{1, 1, 1, 1};
    draw_quad(white_texture, center_x - 320, center_y - 240, 640, 480, Color{0, 0, 0, 0.8f}, true);
    draw_text(entry_prompt, center_x, center_y + 64, 256, white, true, false, true);
    type_from_keys();
    draw_text(typed_text(), center_x, center_y - 64, 256, white, true, false, true);
    bool accept = input_key_is_pressed(KEY_RETURN) != 0;
    accept = draw_button(str("OK"), center_x, center_y - 144, 128, 64) || accept;
    if (accept) {
        entry_open = 0;
        entry_accepted = 1;
    }
    if (draw_button(str("Cancel"), center_x - 224, center_y - 144, 128, 64)) {
        entry_open = 0;
        entry_purpose = entry_for_nothing;
    }
}
