// Turns SDL's event queue into a per-frame snapshot of keys, buttons, mouse and window events.
#include "platform_internal.h"

#include <SDL.h>

#include <cstring>

uint8_t to_key_code[SCANCODE_COUNT];

static uint8_t keys_pressed[KEY_CODE_COUNT];
static uint8_t keys_released[KEY_CODE_COUNT];
static uint8_t keys_held[KEY_CODE_COUNT];
static uint8_t mouse_buttons_pressed[MOUSE_BUTTON_COUNT];
static uint8_t mouse_buttons_released[MOUSE_BUTTON_COUNT];
static uint8_t mouse_buttons_held[MOUSE_BUTTON_COUNT];
static uint8_t key_last_pressed;
static uint8_t key_last_released;
static uint8_t mouse_button_last_pressed;
static uint8_t mouse_button_last_released;
static int32_t mouse_x;
static int32_t mouse_y;
static int32_t mouse_moved_x;
static int32_t mouse_moved_y;
static int32_t mouse_wheel;
static bool window_resized;
static int32_t window_new_width;
static int32_t window_new_height;
static bool window_minimized;
static bool window_maximized;
static bool window_restored;
static bool window_entered;
static bool window_left;
static bool window_focus_gained;
static bool window_focus_lost;
static bool window_closed;
static uint8_t dropped_file_data[DROPPED_FILE_CAPACITY];
static int32_t dropped_file_length;

bool controller_device_added;
int32_t controller_device_added_index;
bool controller_device_removed;
SDL_Joystick* controller_device_removed_handle;

void build_key_table() {
    memset(to_key_code, 255, sizeof to_key_code);
    for (int i = 0; i < 26; i++) to_key_code[SDL_SCANCODE_A + i] = static_cast<uint8_t>(KEY_A + i);
    to_key_code[SDL_SCANCODE_0] = KEY_0;
    for (int i = 0; i < 9; i++) to_key_code[SDL_SCANCODE_1 + i] = static_cast<uint8_t>(KEY_1 + i);
    to_key_code[SDL_SCANCODE_LEFT] = KEY_LEFT;
    to_key_code[SDL_SCANCODE_RIGHT] = KEY_RIGHT;
    to_key_code[SDL_SCANCODE_UP] = KEY_UP;
    to_key_code[SDL_SCANCODE_DOWN] = KEY_DOWN;
    to_key_code[SDL_SCANCODE_SPACE] = KEY_SPACE;
    to_key_code[SDL_SCANCODE_RETURN] = KEY_RETURN;
    to_key_code[SDL_SCANCODE_BACKSPACE] = KEY_BACKSPACE;
    to_key_code[SDL_SCANCODE_TAB] = KEY_TAB;
    to_key_code[SDL_SCANCODE_ESCAPE] = KEY_ESCAPE;
    to_key_code[SDL_SCANCODE_LCTRL] = KEY_LEFT_CTRL;
    to_key_code[SDL_SCANCODE_LSHIFT] = KEY_LEFT_SHIFT;
    to_key_code[SDL_SCANCODE_LALT] = KEY_LEFT_ALT;
    to_key_code[SDL_SCANCODE_LGUI] = KEY_LEFT_GUI;
    to_key_code[SDL_SCANCODE_RCTRL] = KEY_RIGHT_CTRL;
    to_key_code[SDL_SCANCODE_RSHIFT] = KEY_RIGHT_SHIFT;
    to_key_code[SDL_SCANCODE_RALT] = KEY_RIGHT_ALT;
    to_key_code[SDL_SCANCODE_RGUI] = KEY_RIGHT_GUI;
    to_key_code[SDL_SCANCODE_APPLICATION] = 59;
    to_key_code[SDL_SCANCODE_LEFTBRACKET] = 60;
    to_key_code[SDL_SCANCODE_RIGHTBRACKET] = 61;
    to_key_code[SDL_SCANCODE_SEMICOLON] = 62;
    to_key_code[SDL_SCANCODE_COMMA] = 63;
    to_key_code[SDL_SCANCODE_PERIOD] = 64;
    to_key_code[SDL_SCANCODE_APOSTROPHE] = 65;
    to_key_code[SDL_SCANCODE_SLASH] = 66;
    to_key_code[SDL_SCANCODE_BACKSLASH] = 67;
    to_key_code[SDL_SCANCODE_GRAVE] = 68;
    to_key_code[SDL_SCANCODE_EQUALS] = 69;
    to_key_code[SDL_SCANCODE_MINUS] = 70;
    to_key_code[SDL_SCANCODE_CAPSLOCK] = 71;
    to_key_code[SDL_SCANCODE_NUMLOCKCLEAR] = 72;
    to_key_code[SDL_SCANCODE_PRINTSCREEN] = 73;
    to_key_code[SDL_SCANCODE_PAGEUP] = 74;
    to_key_code[SDL_SCANCODE_PAGEDOWN] = 75;
    to_key_code[SDL_SCANCODE_HOME] = 76;
    to_key_code[SDL_SCANCODE_END] = 77;
    to_key_code[SDL_SCANCODE_INSERT] = 78;
    to_key_code[SDL_SCANCODE_DELETE] = KEY_DELETE;
    to_key_code[SDL_SCANCODE_KP_PLUS] = 80;
    to_key_code[SDL_SCANCODE_KP_MINUS] = 81;
    to_key_code[SDL_SCANCODE_KP_MULTIPLY] = 82;
    to_key_code[SDL_SCANCODE_KP_DIVIDE] = 83;
    to_key_code[SDL_SCANCODE_KP_0] = 84;
    for (int i = 0; i < 9; i++) to_key_code[SDL_SCANCODE_KP_1 + i] = static_cast<uint8_t>(85 + i);
    to_key_code[SDL_SCANCODE_KP_PERIOD] = 94;
    to_key_code[SDL_SCANCODE_KP_ENTER] = 95;
    for (int i = 0; i < 12; i++) to_key_code[SDL_SCANCODE_F1 + i] = static_cast<uint8_t>(KEY_F1 + i);
}

static void clear_poll_state() {
    memset(keys_pressed, 0, sizeof keys_pressed);
    memset(keys_released, 0, sizeof keys_released);
    memset(mouse_buttons_pressed, 0, sizeof mouse_buttons_pressed);
    memset(mouse_buttons_released, 0, sizeof mouse_buttons_released);
    mouse_moved_x = 0;
    mouse_moved_y = 0;
    mouse_wheel = 0;
    window_resized = false;
    window_minimized = false;
    window_maximized = false;
    window_restored = false;
    window_entered = false;
    window_left = false;
    window_focus_gained = false;
    window_focus_lost = false;
    window_closed = false;
    controller_device_added = false;
    controller_device_removed = false;
    dropped_file_length = 0;
}

void reset_input_state() {
    clear_poll_state();
    memset(keys_held, 0, sizeof keys_held);
    memset(mouse_buttons_held, 0, sizeof mouse_buttons_held);
    key_last_pressed = 0;
    key_last_released = 0;
    mouse_button_last_pressed = 0;
    mouse_button_last_released = 0;
}

// Summary code of a left or right modifier key, or 0.
static uint8_t modifier_summary(uint8_t key) {
    if (key >= KEY_LEFT_CTRL && key <= KEY_LEFT_GUI) return static_cast<uint8_t>(KEY_CTRL + key - KEY_LEFT_CTRL);
    if (key >= KEY_RIGHT_CTRL && key <= KEY_RIGHT_GUI) return static_cast<uint8_t>(KEY_CTRL + key - KEY_RIGHT_CTRL);
    return 0;
}

static void handle_key(const SDL_KeyboardEvent& event, bool down) {
    if (event.repeat) return;
    int scancode = event.keysym.scancode;
    if (scancode < 0 || scancode >= SCANCODE_COUNT) return;
    uint8_t key = to_key_code[scancode];
    if (key >= KEY_CODE_COUNT) return;
    uint8_t summary = modifier_summary(key);
    if (down) {
        keys_pressed[key] = 1;
        keys_held[key] = 1;
        keys_pressed[KEY_ANY] = 1;
        keys_held[KEY_ANY] += 1;
        key_last_pressed = key;
        if (summary) {
            keys_pressed[summary] = 1;
            keys_held[summary] += 1;
        }
    } else {
        keys_released[key] = 1;
        keys_held[key] = 0;
        keys_released[KEY_ANY] = 1;
        keys_held[KEY_ANY] -= 1;
        key_last_released = key;
        if (summary) {
            keys_released[summary] = 1;
            keys_held[summary] -= 1;
        }
    }
}

static void handle_mouse_button(const SDL_MouseButtonEvent& event, bool down) {
    uint8_t button;
    switch (event.button) {
        case SDL_BUTTON_LEFT: button = MOUSE_LEFT; break;
        case SDL_BUTTON_MIDDLE: button = MOUSE_MIDDLE; break;
        case SDL_BUTTON_RIGHT: button = MOUSE_RIGHT; break;
        default: return;
    }
    if (down) {
        mouse_buttons_pressed[button] = 1;
        mouse_buttons_held[button] = 1;
        mouse_buttons_pressed[MOUSE_ANY] = 1;
        mouse_buttons_held[MOUSE_ANY] += 1;
        mouse_button_last_pressed = button;
    } else {
        mouse_buttons_released[button] = 1;
        mouse_buttons_held[button] = 0;
        mouse_buttons_released[MOUSE_ANY] = 1;
        mouse_buttons_held[MOUSE_ANY] -= 1;
        mouse_button_last_released = button;
    }
}

static void handle_window_event(const SDL_WindowEvent& event) {
    if (event.windowID != sdl_window_id) return;
    switch (event.event) {
        case SDL_WINDOWEVENT_RESIZED:
            window_resized = true;
            window_new_width = event.data1;
            window_new_height = event.data2;
            break;
        case SDL_WINDOWEVENT_MINIMIZED: window_minimized = true; break;
        case SDL_WINDOWEVENT_MAXIMIZED: window_maximized = true; break;
        case SDL_WINDOWEVENT_RESTORED: window_restored = true; break;
        case SDL_WINDOWEVENT_ENTER: window_entered = true; break;
        case SDL_WINDOWEVENT_LEAVE: window_left = true; break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: window_focus_gained = true; break;
        case SDL_WINDOWEVENT_FOCUS_LOST: window_focus_lost = true; break;
        case SDL_WINDOWEVENT_CLOSE: window_closed = true; break;
        default: break;
    }
}

static void handle_drop(char* path) {
    if (!path) return;
    size_t length = strlen(path);
    if (length > DROPPED_FILE_CAPACITY) length = DROPPED_FILE_CAPACITY;
    memcpy(dropped_file_data, path, length);
    dropped_file_length = static_cast<int32_t>(length);
    SDL_free(path);
}

void input_poll() {
    clear_poll_state();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
            case SDL_QUIT: window_closed = true; break;
            case SDL_WINDOWEVENT: handle_window_event(event.window); break;
            case SDL_KEYDOWN: handle_key(event.key, true); break;
            case SDL_KEYUP: handle_key(event.key, false); break;
            case SDL_MOUSEMOTION:
                mouse_x = event.motion.x;
                mouse_y = event.motion.y;
                mouse_moved_x += event.motion.xrel;
                mouse_moved_y += event.motion.yrel;
                break;
            case SDL_MOUSEBUTTONDOWN: handle_mouse_button(event.button, true); break;
            case SDL_MOUSEBUTTONUP: handle_mouse_button(event.button, false); break;
            case SDL_MOUSEWHEEL: mouse_wheel += event.wheel.y; break;
            case SDL_JOYDEVICEADDED:
                controller_device_added = true;
                controller_device_added_index = event.jdevice.which;
                break;
            case SDL_JOYDEVICEREMOVED:
                controller_device_removed = true;
                controller_device_removed_handle = SDL_JoystickFromInstanceID(event.jdevice.which);
                break;
            case SDL_DROPFILE: handle_drop(event.drop.file); break;
            default: break;
        }
    }
}

// Codes outside the arrays are outside the contract; they read as 0 rather than past the end.
static uint8_t entry(const uint8_t* array, int count, uint8_t index) { return index < count ? array[index] : 0; }

uint8_t input_key_is_pressed(uint8_t key) { return entry(keys_pressed, KEY_CODE_COUNT, key); }
uint8_t input_key_is_released(uint8_t key) { return entry(keys_released, KEY_CODE_COUNT, key); }
uint8_t input_key_is_held(uint8_t key) { return entry(keys_held, KEY_CODE_COUNT, key); }
byte_view input_key_pressed_state() { return byte_view{keys_pressed, KEY_CODE_COUNT}; }
byte_view input_key_released_state() { return byte_view{keys_released, KEY_CODE_COUNT}; }
byte_view input_key_held_state() { return byte_view{keys_held, KEY_CODE_COUNT}; }
uint8_t input_last_pressed_key() { return key_last_pressed; }
uint8_t input_last_released_key() { return key_last_released; }

uint8_t input_key_modifiers() {
    SDL_Keymod state = SDL_GetModState();
    uint8_t bits = 0;
    if (state & KMOD_CTRL) bits |= MODIFIER_CTRL;
    if (state & KMOD_SHIFT) bits |= MODIFIER_SHIFT;
    if (state & KMOD_ALT) bits |= MODIFIER_ALT;
    if (state & KMOD_GUI) bits |= MODIFIER_GUI;
    if (state & KMOD_CAPS) bits |= MODIFIER_CAPS_LOCK;
    if (state & KMOD_NUM) bits |= MODIFIER_NUM_LOCK;
    return bits;
}

uint8_t input_mouse_is_pressed(uint8_t button) { return entry(mouse_buttons_pressed, MOUSE_BUTTON_COUNT, button); }
uint8_t input_mouse_is_released(uint8_t button) { return entry(mouse_buttons_released, MOUSE_BUTTON_COUNT, button); }
uint8_t input_mouse_is_held(uint8_t button) { return entry(mouse_buttons_held, MOUSE_BUTTON_COUNT, button); }
byte_view input_mouse_pressed_state() { return byte_view{mouse_buttons_pressed, MOUSE_BUTTON_COUNT}; }
byte_view input_mouse_released_state() { return byte_view{mouse_buttons_released, MOUSE_BUTTON_COUNT}; }
byte_view input_mouse_held_state() { return byte_view{mouse_buttons_held, MOUSE_BUTTON_COUNT}; }
uint8_t input_last_pressed_mouse_button() { return mouse_button_last_pressed; }
uint8_t input_last_released_mouse_button() { return mouse_button_last_released; }

void input_mouse_position(int32_t* x, int32_t* y) {
    if (x) *x = mouse_x;
    if (y) *y = mouse_y;
}

void input_mouse_moved(int32_t* dx, int32_t* dy) {
    if (dx) *dx = mouse_moved_x;
    if (dy) *dy = mouse_moved_y;
}

int32_t input_mouse_wheel() { return mouse_wheel; }

void input_mouse_global_position(int32_t* x, int32_t* y) {
    int gx = 0, gy = 0;
    SDL_GetGlobalMouseState(&gx, &gy);
    if (x) *x = gx;
    if (y) *y = gy;
}

void input_mouse_set_position(int32_t x, int32_t y) { SDL_WarpMouseInWindow(sdl_window, x, y); }
int input_mouse_set_global_position(int32_t x, int32_t y) { return SDL_WarpMouseGlobal(x, y); }
int input_mouse_set_visible(bool on) { return SDL_ShowCursor(on ? 1 : 0); }
int input_mouse_set_relative(bool on) { return SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE); }

void input_mouse_set_cursor(uint8_t index) {
    if (index >= SYSTEM_CURSOR_COUNT) return;
    SDL_SetCursor(system_cursors[index]);
}

bool display_is_minimized() { return window_minimized; }
bool display_is_maximized() { return window_maximized; }
bool display_is_restored() { return window_restored; }
bool display_is_entered() { return window_entered; }
bool display_is_left() { return window_left; }
bool display_is_focus_gained() { return window_focus_gained; }
bool display_is_focus_lost() { return window_focus_lost; }
bool display_is_closed() { return window_closed; }

bool display_is_resized(int32_t* width, int32_t* height) {
    if (!window_resized) return false;
    if (width) *width = window_new_width;
    if (height) *height = window_new_height;
    return true;
}

string display_file_dropped() { return string{reinterpret_cast<const char*>(dropped_file_data), dropped_file_length}; }
