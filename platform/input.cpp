// Turns SDL's event queue into a per-frame snapshot of keys, buttons, mouse and window events.
#include "platform_internal.h"
#include "sdl_handles.h"

#include <array>
#include <cstring>

uint8_t to_key_code[SCANCODE_COUNT];

uint8_t keys_pressed[KEY_CODE_COUNT];
uint8_t keys_released[KEY_CODE_COUNT];
uint8_t keys_held[KEY_CODE_COUNT];
uint8_t mouse_buttons_pressed[MOUSE_BUTTON_COUNT];
uint8_t mouse_buttons_released[MOUSE_BUTTON_COUNT];
uint8_t mouse_buttons_held[MOUSE_BUTTON_COUNT];
uint8_t key_last_pressed;
uint8_t key_last_released;
uint8_t mouse_button_last_pressed;
uint8_t mouse_button_last_released;
int32_t mouse_x;
int32_t mouse_y;
int32_t mouse_moved_x;
int32_t mouse_moved_y;
int32_t mouse_wheel;
bool window_resized;
int32_t window_new_width;
int32_t window_new_height;
bool window_minimized;
bool window_maximized;
bool window_restored;
bool window_entered;
bool window_left;
bool window_focus_gained;
bool window_focus_lost;
bool window_closed;
uint8_t dropped_file_data[DROPPED_FILE_CAPACITY];
int32_t dropped_file_length;
uint8_t typed_keys[TYPED_KEY_CAPACITY];
uint8_t typed_key_modifiers[TYPED_KEY_CAPACITY];
int32_t typed_key_count;

bool controller_device_added;
int32_t controller_device_added_index;
bool controller_device_removed;
kestrune_controller* controller_device_removed_handle;

namespace {

struct KeyRow {
    SDL_Scancode scancode;
    uint8_t key;
};

// Runs of keys whose scancodes and codes both count up by one.
struct KeyRun {
    SDL_Scancode first_scancode;
    uint8_t first_key;
    uint8_t last_key;
};

constexpr KeyRun key_runs[] = {
    {SDL_SCANCODE_A, KEY_A, KEY_Z},
    {SDL_SCANCODE_1, KEY_1, KEY_9},
    {SDL_SCANCODE_KP_1, KEY_KEYPAD_1, KEY_KEYPAD_9},
    {SDL_SCANCODE_F1, KEY_F1, KEY_F12},
};
static_assert(SDL_SCANCODE_Z - SDL_SCANCODE_A == KEY_Z - KEY_A && SDL_SCANCODE_9 - SDL_SCANCODE_1 == KEY_9 - KEY_1 &&
              SDL_SCANCODE_KP_9 - SDL_SCANCODE_KP_1 == KEY_KEYPAD_9 - KEY_KEYPAD_1 &&
              SDL_SCANCODE_F12 - SDL_SCANCODE_F1 == KEY_F12 - KEY_F1);

constexpr KeyRow key_rows[] = {
    {SDL_SCANCODE_0, KEY_0},
    {SDL_SCANCODE_LEFT, KEY_LEFT},
    {SDL_SCANCODE_RIGHT, KEY_RIGHT},
    {SDL_SCANCODE_UP, KEY_UP},
    {SDL_SCANCODE_DOWN, KEY_DOWN},
    {SDL_SCANCODE_SPACE, KEY_SPACE},
    {SDL_SCANCODE_RETURN, KEY_RETURN},
    {SDL_SCANCODE_BACKSPACE, KEY_BACKSPACE},
    {SDL_SCANCODE_TAB, KEY_TAB},
    {SDL_SCANCODE_ESCAPE, KEY_ESCAPE},
    {SDL_SCANCODE_LCTRL, KEY_LEFT_CTRL},
    {SDL_SCANCODE_LSHIFT, KEY_LEFT_SHIFT},
    {SDL_SCANCODE_LALT, KEY_LEFT_ALT},
    {SDL_SCANCODE_LGUI, KEY_LEFT_GUI},
    {SDL_SCANCODE_RCTRL, KEY_RIGHT_CTRL},
    {SDL_SCANCODE_RSHIFT, KEY_RIGHT_SHIFT},
    {SDL_SCANCODE_RALT, KEY_RIGHT_ALT},
    {SDL_SCANCODE_RGUI, KEY_RIGHT_GUI},
    {SDL_SCANCODE_APPLICATION, KEY_APPLICATION},
    {SDL_SCANCODE_LEFTBRACKET, KEY_LEFT_BRACKET},
    {SDL_SCANCODE_RIGHTBRACKET, KEY_RIGHT_BRACKET},
    {SDL_SCANCODE_SEMICOLON, KEY_SEMICOLON},
    {SDL_SCANCODE_COMMA, KEY_COMMA},
    {SDL_SCANCODE_PERIOD, KEY_PERIOD},
    {SDL_SCANCODE_APOSTROPHE, KEY_APOSTROPHE},
    {SDL_SCANCODE_SLASH, KEY_SLASH},
    {SDL_SCANCODE_BACKSLASH, KEY_BACKSLASH},
    {SDL_SCANCODE_GRAVE, KEY_GRAVE},
    {SDL_SCANCODE_EQUALS, KEY_EQUALS},
    {SDL_SCANCODE_MINUS, KEY_MINUS},
    {SDL_SCANCODE_CAPSLOCK, KEY_CAPS_LOCK},
    {SDL_SCANCODE_NUMLOCKCLEAR, KEY_NUM_LOCK},
    {SDL_SCANCODE_PRINTSCREEN, KEY_PRINT_SCREEN},
    {SDL_SCANCODE_PAGEUP, KEY_PAGE_UP},
    {SDL_SCANCODE_PAGEDOWN, KEY_PAGE_DOWN},
    {SDL_SCANCODE_HOME, KEY_HOME},
    {SDL_SCANCODE_END, KEY_END},
    {SDL_SCANCODE_INSERT, KEY_INSERT},
    {SDL_SCANCODE_DELETE, KEY_DELETE},
    {SDL_SCANCODE_KP_PLUS, KEY_KEYPAD_PLUS},
    {SDL_SCANCODE_KP_MINUS, KEY_KEYPAD_MINUS},
    {SDL_SCANCODE_KP_MULTIPLY, KEY_KEYPAD_MULTIPLY},
    {SDL_SCANCODE_KP_DIVIDE, KEY_KEYPAD_DIVIDE},
    {SDL_SCANCODE_KP_0, KEY_KEYPAD_0},
    {SDL_SCANCODE_KP_PERIOD, KEY_KEYPAD_PERIOD},
    {SDL_SCANCODE_KP_ENTER, KEY_KEYPAD_ENTER},
};

constexpr std::array<uint8_t, SCANCODE_COUNT> key_table = [] {
    std::array<uint8_t, SCANCODE_COUNT> table{};
    table.fill(KEY_NONE);
    for (const KeyRun& run : key_runs) {
        for (int key = run.first_key; key <= run.last_key; ++key) {
            table[run.first_scancode + key - run.first_key] = static_cast<uint8_t>(key);
        }
    }
    for (const KeyRow& row : key_rows) table[row.scancode] = row.key;
    return table;
}();

// Every code from KEY_A to the last is produced by exactly one scancode, except the summaries,
// which no scancode produces: the names are dense and none is mapped twice.
consteval bool key_codes_are_dense() {
    std::array<int, KEY_CODE_COUNT> producers{};
    for (uint8_t key : key_table) {
        if (key == KEY_NONE) continue;
        if (key >= KEY_CODE_COUNT) return false;
        producers[key] += 1;
    }
    for (int key = 0; key < KEY_CODE_COUNT; ++key) {
        bool summary = key == KEY_UNUSED || key == KEY_ANY || (key >= KEY_CTRL && key <= KEY_GUI);
        if (producers[key] != (summary ? 0 : 1)) return false;
    }
    return true;
}
static_assert(key_codes_are_dense());
static_assert(KEY_F12 + 1 == KEY_CODE_COUNT && MOUSE_RIGHT + 1 == MOUSE_BUTTON_COUNT);

}  // namespace

void build_key_table() { memcpy(to_key_code, key_table.data(), sizeof to_key_code); }

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
    typed_key_count = 0;
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

static uint8_t modifier_bits(uint16_t state) {
    uint8_t bits = 0;
    if (state & KMOD_CTRL) bits |= MODIFIER_CTRL;
    if (state & KMOD_SHIFT) bits |= MODIFIER_SHIFT;
    if (state & KMOD_ALT) bits |= MODIFIER_ALT;
    if (state & KMOD_GUI) bits |= MODIFIER_GUI;
    if (state & KMOD_CAPS) bits |= MODIFIER_CAPS_LOCK;
    if (state & KMOD_NUM) bits |= MODIFIER_NUM_LOCK;
    return bits;
}

// Typing needs every press in order, repeats too; the per-key flags below keep one press a frame.
// The modifier keys seen down so far in this poll count as well as the event's own bits, since an
// event pushed by a program may carry none.
static void record_typed_key(uint8_t key, uint16_t modifiers) {
    if (typed_key_count >= TYPED_KEY_CAPACITY) return;
    uint8_t bits = modifier_bits(modifiers | static_cast<uint16_t>(SDL_GetModState() & (KMOD_CAPS | KMOD_NUM)));
    if (keys_held[KEY_CTRL]) bits |= MODIFIER_CTRL;
    if (keys_held[KEY_SHIFT]) bits |= MODIFIER_SHIFT;
    if (keys_held[KEY_ALT]) bits |= MODIFIER_ALT;
    if (keys_held[KEY_GUI]) bits |= MODIFIER_GUI;
    typed_keys[typed_key_count] = key;
    typed_key_modifiers[typed_key_count] = bits;
    typed_key_count += 1;
}

static void handle_key(const SDL_KeyboardEvent& event, bool down) {
    int scancode = event.keysym.scancode;
    if (scancode < 0 || scancode >= SCANCODE_COUNT) return;
    uint8_t key = to_key_code[scancode];
    if (key >= KEY_CODE_COUNT) return;
    if (down) record_typed_key(key, event.keysym.mod);
    if (event.repeat) return;
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
                controller_device_removed_handle = from_sdl(SDL_JoystickFromInstanceID(event.jdevice.which));
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

uint8_t input_key_modifiers() { return modifier_bits(static_cast<uint16_t>(SDL_GetModState())); }
byte_view input_typed_keys() { return byte_view{typed_keys, typed_key_count}; }
byte_view input_typed_key_modifiers() { return byte_view{typed_key_modifiers, typed_key_count}; }

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

void input_mouse_set_position(int32_t x, int32_t y) { SDL_WarpMouseInWindow(to_sdl(sdl_window), x, y); }
int input_mouse_set_global_position(int32_t x, int32_t y) { return SDL_WarpMouseGlobal(x, y); }
int input_mouse_set_visible(bool on) { return SDL_ShowCursor(on ? 1 : 0); }
int input_mouse_set_relative(bool on) { return SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE); }

void input_mouse_set_cursor(uint8_t index) {
    if (index >= SYSTEM_CURSOR_COUNT) return;
    SDL_SetCursor(to_sdl(system_cursors[index]));
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
