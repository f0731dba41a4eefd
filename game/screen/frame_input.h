// What the player did this frame, read from the platform once by the shell: every screen, widget
// and the camera look only here, so a test can drive them by filling the record.
#pragma once

#include <kestrune_system.h>

#include <cstdint>

// Backspace among the typed characters, in the order it was pressed.
constexpr char typed_backspace = '\b';
constexpr int32_t typed_character_capacity = TYPED_KEY_CAPACITY;

struct FrameInput {
    // Window pixels, origin at the bottom-left; the world point through the camera drawn last frame.
    double mouse_x, mouse_y;
    double world_x, world_y;
    int32_t mouse_moved_x, mouse_moved_y;
    int32_t wheel;
    uint8_t buttons_pressed[MOUSE_BUTTON_COUNT];
    uint8_t buttons_released[MOUSE_BUTTON_COUNT];
    uint8_t keys_pressed[KEY_CODE_COUNT];
    uint8_t keys_held[KEY_CODE_COUNT];
    uint8_t modifiers;
    // Keys pressed with Ctrl down at that press, so a shortcut pressed and let go within one frame
    // still counts; the MODIFIER_ bits of the press, 0 when not.
    uint8_t keys_pressed_with_ctrl[KEY_CODE_COUNT];
    char typed[typed_character_capacity];
    int32_t typed_count;
};

extern FrameInput frame_input;

void reset_frame_input();

inline bool key_pressed(uint8_t key) { return key < KEY_CODE_COUNT && frame_input.keys_pressed[key] != 0; }
inline bool key_held(uint8_t key) { return key < KEY_CODE_COUNT && frame_input.keys_held[key] != 0; }
inline bool shift_held() { return key_held(KEY_SHIFT); }
inline bool ctrl_held() { return key_held(KEY_CTRL); }
inline bool ctrl_shortcut(uint8_t key) { return key < KEY_CODE_COUNT && frame_input.keys_pressed_with_ctrl[key] != 0; }
inline bool ctrl_shift_shortcut(uint8_t key) {
    return ctrl_shortcut(key) && (frame_input.keys_pressed_with_ctrl[key] & MODIFIER_SHIFT) != 0;
}
inline bool left_click() { return frame_input.buttons_pressed[MOUSE_LEFT] != 0; }
inline bool right_click() { return frame_input.buttons_pressed[MOUSE_RIGHT] != 0; }

// Left and bottom edges inside, right and top edges outside.
inline bool mouse_in_rectangle(double x, double y, double width, double height) {
    return frame_input.mouse_x >= x && frame_input.mouse_x < x + width && frame_input.mouse_y >= y &&
           frame_input.mouse_y < y + height;
}

