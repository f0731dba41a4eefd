#include "shell/input_capture.h"

#include "render/scene.h"
#include "screen/camera.h"
#include "screen/frame_input.h"

#include <kestrune_system.h>

#include <cstring>

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

// The character a press types, or 0 for keys that type nothing.
char typed_character(uint8_t key, uint8_t modifiers) {
    if (modifiers & (MODIFIER_CTRL | MODIFIER_ALT)) return 0;
    bool shift = (modifiers & MODIFIER_SHIFT) != 0;
    bool caps_lock = (modifiers & MODIFIER_CAPS_LOCK) != 0;
    if (key >= KEY_A && key <= KEY_Z) return static_cast<char>((shift == caps_lock ? 'a' : 'A') + (key - KEY_A));
    static const char shifted_digits[] = ")!@#$%^&*(";
    int digit = key == KEY_0 ? 0 : key >= KEY_1 && key <= KEY_9 ? key - KEY_1 + 1 : -1;
    if (digit >= 0) return shift ? shifted_digits[digit] : static_cast<char>('0' + digit);
    for (const PunctuationKey& each : punctuation_keys) {
        if (each.key == key) return shift ? each.shifted : each.plain;
    }
    if (key == KEY_BACKSPACE) return typed_backspace;
    return 0;
}

// Typed characters, and the keys pressed with Ctrl.
void capture_typing() {
    byte_view keys = input_typed_keys();
    byte_view modifiers = input_typed_key_modifiers();
    frame_input.typed_count = 0;
    memset(frame_input.keys_pressed_with_ctrl, 0, sizeof frame_input.keys_pressed_with_ctrl);
    for (int64_t i = 0; i < keys.count; i++) {
        if (modifiers.data[i] & MODIFIER_CTRL) frame_input.keys_pressed_with_ctrl[keys.data[i]] = modifiers.data[i];
    }
    for (int64_t i = 0; i < keys.count && frame_input.typed_count < typed_character_capacity; i++) {
        char c = typed_character(keys.data[i], modifiers.data[i]);
        if (c != 0) frame_input.typed[frame_input.typed_count++] = c;
    }
}

}  // namespace

void capture_frame_input() {
    int32_t x, y;
    input_mouse_position(&x, &y);
    frame_input.mouse_x = x;
    frame_input.mouse_y = window_height - y;
    world_point_of(frame_input.mouse_x, frame_input.mouse_y, &frame_input.world_x, &frame_input.world_y);
    input_mouse_moved(&frame_input.mouse_moved_x, &frame_input.mouse_moved_y);
    frame_input.wheel = input_mouse_wheel();
    memcpy(frame_input.buttons_pressed, input_mouse_pressed_state().data, sizeof frame_input.buttons_pressed);
    memcpy(frame_input.buttons_released, input_mouse_released_state().data, sizeof frame_input.buttons_released);
    memcpy(frame_input.keys_pressed, input_key_pressed_state().data, sizeof frame_input.keys_pressed);
    memcpy(frame_input.keys_held, input_key_held_state().data, sizeof frame_input.keys_held);
    frame_input.modifiers = input_key_modifiers();
    capture_typing();
}
