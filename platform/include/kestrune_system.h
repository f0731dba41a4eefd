/* kestrune_system: a flat C interface over SDL2, OpenGL 3.3 core and the operating system.
 *
 * Text crosses the interface as `string` views (pointer + byte count, no terminator).
 * Text and arrays the library returns live in its scratch rings and stay valid only
 * until the ring wraps: copy what you keep. The library's globals are unsynchronised;
 * call it from one thread at a time. Each export's comment says what it gives on failure;
 * system_get_error() then tells why. The guide is docs/library.md. */
#ifndef KESTRUNE_SYSTEM_H
#define KESTRUNE_SYSTEM_H

#include <stdbool.h>
#include <stdint.h>

#define KESTRUNE_SYSTEM_VERSION_MAJOR 0
#define KESTRUNE_SYSTEM_VERSION_MINOR 1
#define KESTRUNE_SYSTEM_VERSION_PATCH 0
#define KESTRUNE_SYSTEM_VERSION_NUMBER(major, minor, patch) ((major) * 1000000 + (minor) * 1000 + (patch))
/* The version this header belongs to; system_version() gives the one actually loaded. */
#define KESTRUNE_SYSTEM_VERSION                                                                \
    KESTRUNE_SYSTEM_VERSION_NUMBER(KESTRUNE_SYSTEM_VERSION_MAJOR, KESTRUNE_SYSTEM_VERSION_MINOR, \
                                   KESTRUNE_SYSTEM_VERSION_PATCH)

/* The library's own build defines KESTRUNE_SYSTEM_BUILDING; programs define nothing. */
#if defined(_WIN32) || defined(__CYGWIN__)
#ifdef KESTRUNE_SYSTEM_BUILDING
#define KESTRUNE_API __declspec(dllexport)
#else
#define KESTRUNE_API __declspec(dllimport)
#endif
#elif defined(__GNUC__) || defined(__clang__)
#define KESTRUNE_API __attribute__((visibility("default")))
#else
#define KESTRUNE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Handles of objects the library makes; their contents are private. */
typedef struct kestrune_window kestrune_window;
typedef struct kestrune_renderer kestrune_renderer;
typedef struct kestrune_renderer_texture kestrune_renderer_texture;
typedef struct kestrune_cursor kestrune_cursor;
typedef struct kestrune_controller kestrune_controller;
typedef struct kestrune_haptic kestrune_haptic;
typedef struct kestrune_thread kestrune_thread;
typedef struct kestrune_mutex kestrune_mutex;
typedef struct kestrune_condition kestrune_condition;
typedef struct kestrune_semaphore kestrune_semaphore;

typedef struct string {
    const char* data;
    int64_t length;
} string;

/* Array views: first element and element count. */
typedef struct byte_view {
    uint8_t* data;
    int64_t count;
} byte_view;

typedef struct string_array {
    string* data;
    int64_t count;
} string_array;

typedef struct float_view {
    float* data;
    int64_t count;
} float_view;

typedef struct int_view {
    int32_t* data;
    int64_t count;
} int_view;

typedef struct uint_view {
    uint32_t* data;
    int64_t count;
} uint_view;

/* ---- system: lifecycle, time, libraries and scratch buffers ---- */

/* Subsystem flags of system_init. */
enum {
    SYSTEM_TIMER = 1,
    SYSTEM_AUDIO = 2,
    SYSTEM_VIDEO = 4,
    SYSTEM_EVENTS = 8,
    SYSTEM_JOYSTICK = 16,
    SYSTEM_HAPTIC = 32,
    SYSTEM_ALL = 63
};

#define TEMPORARY_BUFFER_SIZE 16384
#define DYNAMIC_BUFFER_SIZE 524288
#define SYSTEM_CURSOR_COUNT 12

/* Indices of system_cursors and input_mouse_set_cursor. */
enum {
    CURSOR_ARROW = 0,
    CURSOR_TEXT = 1,
    CURSOR_WAIT = 2,
    CURSOR_CROSSHAIR = 3,
    CURSOR_WAIT_ARROW = 4,
    CURSOR_RESIZE_NORTHWEST_SOUTHEAST = 5,
    CURSOR_RESIZE_NORTHEAST_SOUTHWEST = 6,
    CURSOR_RESIZE_WEST_EAST = 7,
    CURSOR_RESIZE_NORTH_SOUTH = 8,
    CURSOR_RESIZE_ALL = 9,
    CURSOR_FORBIDDEN = 10,
    CURSOR_HAND = 11
};

/* Codes of system_error: what kind of failure the last failing call on this thread met. */
typedef enum system_error_code {
    SYSTEM_ERROR_NONE = 0,
    SYSTEM_ERROR_INVALID_ARGUMENT = 1, /* a null pointer, a zero size, an unknown mode, format or extension */
    SYSTEM_ERROR_INVALID_HANDLE = 2,   /* a closed, destroyed or never-made handle, slot or selector */
    SYSTEM_ERROR_NOT_FOUND = 3,        /* no such file, folder, host, library or function */
    SYSTEM_ERROR_OUT_OF_MEMORY = 4,    /* a caller block or a scratch ring too small for the result */
    SYSTEM_ERROR_UNSUPPORTED = 5,      /* content the library cannot read or write */
    SYSTEM_ERROR_OPERATING_SYSTEM = 6, /* the operating system or SDL refused; the text says why */
    SYSTEM_ERROR_GRAPHICS = 7          /* no window, no OpenGL 3.3 context, or no hardware graphics current */
} system_error_code;

/* The last failure of the calling thread. Failing calls set it; succeeding calls leave it alone. */
typedef struct system_error {
    int32_t code; /* a system_error_code */
    string text;  /* short English text, NUL-terminated after its length; kept until the next failure */
} system_error;

/* Receives each message line the library prints (no line feed); runs on the thread that failed. */
typedef void (*system_log_function)(void* user_data, string line);

/* Ring of NUL-terminated and UTF-16 copies of caller text handed to the system; overwritten as it wraps. */
extern KESTRUNE_API uint8_t temporary_buffer[TEMPORARY_BUFFER_SIZE];
/* Offset of the next free byte in temporary_buffer. */
extern KESTRUNE_API int32_t temporary_pos;
/* The twelve SDL system cursors made by system_init, by CURSOR_ index; null where SDL made none. */
extern KESTRUNE_API kestrune_cursor* system_cursors[SYSTEM_CURSOR_COUNT];

/* The calling thread's last failure; code SYSTEM_ERROR_NONE and an empty text when none happened. */
KESTRUNE_API system_error system_get_error(void);
/* Forgets the calling thread's last failure, so a later empty result can be told from a failure. */
KESTRUNE_API void system_clear_error(void);
/* Sends the library's message lines to function (null silences them); standard output is the default. */
KESTRUNE_API void system_set_log(system_log_function function, void* user_data);
/* The default log: writes the line and a line feed to standard output; give it to system_set_log to restore. */
KESTRUNE_API void system_log_to_standard_output(void* user_data, string line);
/* KESTRUNE_SYSTEM_VERSION of the library that is loaded; cannot fail. */
KESTRUNE_API uint32_t system_version(void);
/* Starts SDL's subsystems of the SYSTEM_ flags and makes the cursors; SDL's failures go unnoticed. */
KESTRUNE_API void system_init(uint32_t flags);
/* Destroys the window, its graphics and the cursors and stops SDL; no export may be used afterwards. */
KESTRUNE_API void system_release(void);
/* Seconds since 1970-01-01 UTC; -1 when the clock cannot be read. */
KESTRUNE_API int64_t system_time(void);
/* Milliseconds since SDL started; cannot fail. */
KESTRUNE_API uint64_t system_ticks(void);
/* The high-resolution counter; cannot fail. */
KESTRUNE_API uint64_t system_performance_counter(void);
/* Counts per second of system_performance_counter; cannot fail. */
KESTRUNE_API uint64_t system_performance_frequency(void);
/* Blocks the calling thread for at least the given milliseconds; cannot fail. */
KESTRUNE_API void system_sleep(uint32_t milliseconds);
/* Keeps up to bytes of freed heap memory for the next allocations (a frame loop's); negative is ignored. */
KESTRUNE_API void system_retain_freed_memory(int64_t bytes);
/* Runs the command through the shell; returns what system() returns, -1 when no shell could start. */
KESTRUNE_API int system_execute(string command);
/* Loads a shared library by path; null when it cannot be loaded (SYSTEM_ERROR_NOT_FOUND). */
KESTRUNE_API void* system_load_library(string path);
/* The address of the named function in a loaded library; null when there is none. */
KESTRUNE_API void* system_load_function(void* library, string name);
/* Unloads a library from system_load_library; a null handle is ignored. */
KESTRUNE_API void system_unload_library(void* library);
/* The running program's folder, ending in "/", in the temporary ring; empty when unknown. Works before system_init. */
KESTRUNE_API string system_get_program_folder(void);
/* The variable's value in the temporary ring; a null view when it is not set. */
KESTRUNE_API string system_get_environment(string name);
/* NUL-terminated UTF-16 copy in the temporary ring; invalid UTF-8 becomes U+FFFD, overlong text is cut. */
KESTRUNE_API const uint16_t* to_wide_cstr(string text);

/* ---- display: window and graphics context ---- */

/* Flags of display_open. */
enum {
    DISPLAY_HIDDEN = 1,
    DISPLAY_BORDERLESS = 2,
    DISPLAY_RESIZABLE = 4,
    DISPLAY_MINIMIZED = 8,
    DISPLAY_MAXIMIZED = 16,
    DISPLAY_FULLSCREEN = 32,
    DISPLAY_VSYNC = 64,
    DISPLAY_SOFTWARE = 128,
    /* Failing hardware graphics make display_open return false with the reason in system_get_error
       instead of showing an error box and ending the process. */
    DISPLAY_RETURN_ON_FAILURE = 256
};

typedef struct display_info {
    int32_t width;
    int32_t height;
    int32_t refresh_rate;
} display_info;

/* The display's window; null while no display is open. */
extern KESTRUNE_API kestrune_window* sdl_window;
/* SDL's id of the display's window; 0 while none is open. */
extern KESTRUNE_API uint32_t sdl_window_id;
/* The OpenGL context, made once by the first hardware set-up; null before. */
extern KESTRUNE_API void* opengl_context;
/* Set once the OpenGL context exists and its functions are loaded; never cleared. */
extern KESTRUNE_API bool opengl_initialized;
/* The software back end's SDL renderer; null without a software set-up. */
extern KESTRUNE_API kestrune_renderer* sdl_renderer;
/* The software back end's streaming texture; null without one. */
extern KESTRUNE_API kestrune_renderer_texture* sdl_texture;
/* Width given to the last software set-up. */
extern KESTRUNE_API int32_t sdl_texture_width;
/* Height given to the last software set-up. */
extern KESTRUNE_API int32_t sdl_texture_height;
/* True while the software back end is current. */
extern KESTRUNE_API bool is_software_rendering;
/* The vertical-sync choice recorded when a display opened with hardware graphics. */
extern KESTRUNE_API bool sdl_vsync;
/* Set when a display opened with DISPLAY_FULLSCREEN; nothing clears it. */
extern KESTRUNE_API bool fullscreen;

/* Opens the one window with DISPLAY_ flags; false when open already or failed (see DISPLAY_RETURN_ON_FAILURE). */
KESTRUNE_API bool display_open(int32_t width, int32_t height, string title, uint32_t flags, int32_t samples);
/* Destroys the window and keeps its graphics context for a later display; safe to call twice. */
KESTRUNE_API void display_close(void);
/* Makes the OpenGL 3.3 context once; on failure a box and exit 1, or with the opt-in the last error. */
KESTRUNE_API void init_opengl_renderer(void);
/* Makes the software renderer and a width x height texture; failures leave them null. */
KESTRUNE_API void init_sdl_renderer(int32_t width, int32_t height, bool vsync);
/* Turns vertical sync on or off for the current back end; a failed hardware set-up changes nothing. */
KESTRUNE_API void display_set_vsync(bool on);
/* Switches to software (on) or hardware graphics; a failed hardware set-up keeps software. */
KESTRUNE_API void display_set_software_graphics(bool on);
/* Shows width x height RGBA pixels, rows top to bottom, with the software back end; else does nothing. */
KESTRUNE_API void display_set_content(int32_t width, int32_t height, const void* pixels);
/* Shows the frame drawn with OpenGL (swaps the back buffer); does nothing without a window. */
KESTRUNE_API void pipeline_present(void);
/* Frames since the back buffer held a presented frame, as GLX/EGL_EXT_buffer_age report it; 0 when unknown or untold. */
KESTRUNE_API int32_t display_back_buffer_age(void);
/* Whether pipeline_present_part shows only its rectangles and keeps the back buffer; false without an OpenGL window. */
KESTRUNE_API bool display_can_present_part(void);
/* Shows the rectangles (x, y, width, height; origin bottom-left) keeping the back buffer, else swaps it whole; no vsync. */
KESTRUNE_API void pipeline_present_part(int_view rects);
/* Sets the window's title; does nothing without a window. */
KESTRUNE_API void display_set_title(string title);
/* Sets the window's size in pixels; does nothing without a window. */
KESTRUNE_API void display_set_size(int32_t width, int32_t height);
/* Sets the window's icon from width x height RGBA pixels; does nothing when SDL cannot use them. */
KESTRUNE_API void display_set_icon(int32_t width, int32_t height, const void* pixels);
/* Shows or hides the window; does nothing without a window. */
KESTRUNE_API void display_set_visible(bool on);
/* Gives the window its border or takes it away; does nothing without a window. */
KESTRUNE_API void display_set_border(bool on);
/* Switches to desktop fullscreen or back to a window; 0 on success, negative on failure. */
KESTRUNE_API int display_set_fullscreen(bool on);
/* Confines input to the window or frees it; does nothing without a window. */
KESTRUNE_API void display_set_grab(bool on);
/* Maximises the window; does nothing without a window. */
KESTRUNE_API void display_maximize(void);
/* Minimises the window; does nothing without a window. */
KESTRUNE_API void display_minimize(void);
/* Restores the window from minimised or maximised; does nothing without a window. */
KESTRUNE_API void display_restore(void);
/* Writes the window's size and refresh rate to out; zeros without a window, nothing for a null out. */
KESTRUNE_API void display_get_info(display_info* out);
/* Allows (on) or prevents the screen saver; cannot fail. */
KESTRUNE_API void screensaver_enable(bool on);
/* Kinds of show_simple_message_box; any other value shows information. */
enum {
    MESSAGE_BOX_INFORMATION = 0,
    MESSAGE_BOX_WARNING = 1,
    MESSAGE_BOX_ERROR = 2
};

/* Shows a modal box of a MESSAGE_BOX_ kind over the window; 0 once closed, negative when none could show. */
KESTRUNE_API int show_simple_message_box(uint8_t kind, string title, string message);

/* ---- input: keys, mouse and window events ---- */

#define KEY_CODE_COUNT 108
#define MOUSE_BUTTON_COUNT 5
#define SCANCODE_COUNT 285
#define DROPPED_FILE_CAPACITY 256
#define TYPED_KEY_CAPACITY 64

/* Key codes: a dense numbering of the keys the library knows, the indices of the key arrays. */
enum {
    KEY_UNUSED = 0, /* never produced */
    KEY_ANY = 1, /* any key: pressed and released flags, and in the held array a count of keys down */
    KEY_A = 2,
    KEY_B = 3,
    KEY_C = 4,
    KEY_D = 5,
    KEY_E = 6,
    KEY_F = 7,
    KEY_G = 8,
    KEY_H = 9,
    KEY_I = 10,
    KEY_J = 11,
    KEY_K = 12,
    KEY_L = 13,
    KEY_M = 14,
    KEY_N = 15,
    KEY_O = 16,
    KEY_P = 17,
    KEY_Q = 18,
    KEY_R = 19,
    KEY_S = 20,
    KEY_T = 21,
    KEY_U = 22,
    KEY_V = 23,
    KEY_W = 24,
    KEY_X = 25,
    KEY_Y = 26,
    KEY_Z = 27,
    KEY_0 = 28,
    KEY_1 = 29,
    KEY_2 = 30,
    KEY_3 = 31,
    KEY_4 = 32,
    KEY_5 = 33,
    KEY_6 = 34,
    KEY_7 = 35,
    KEY_8 = 36,
    KEY_9 = 37,
    KEY_LEFT = 38,
    KEY_RIGHT = 39,
    KEY_UP = 40,
    KEY_DOWN = 41,
    KEY_SPACE = 42,
    KEY_RETURN = 43,
    KEY_BACKSPACE = 44,
    KEY_TAB = 45,
    KEY_ESCAPE = 46,
    KEY_CTRL = 47, /* either Ctrl key, counted like KEY_ANY; the same for Shift, Alt and GUI */
    KEY_SHIFT = 48,
    KEY_ALT = 49,
    KEY_GUI = 50,
    KEY_LEFT_CTRL = 51,
    KEY_LEFT_SHIFT = 52,
    KEY_LEFT_ALT = 53,
    KEY_LEFT_GUI = 54,
    KEY_RIGHT_CTRL = 55,
    KEY_RIGHT_SHIFT = 56,
    KEY_RIGHT_ALT = 57,
    KEY_RIGHT_GUI = 58,
    KEY_APPLICATION = 59,
    KEY_LEFT_BRACKET = 60,
    KEY_RIGHT_BRACKET = 61,
    KEY_SEMICOLON = 62,
    KEY_COMMA = 63,
    KEY_PERIOD = 64,
    KEY_APOSTROPHE = 65,
    KEY_SLASH = 66,
    KEY_BACKSLASH = 67,
    KEY_GRAVE = 68,
    KEY_EQUALS = 69,
    KEY_MINUS = 70,
    KEY_CAPS_LOCK = 71,
    KEY_NUM_LOCK = 72,
    KEY_PRINT_SCREEN = 73,
    KEY_PAGE_UP = 74,
    KEY_PAGE_DOWN = 75,
    KEY_HOME = 76,
    KEY_END = 77,
    KEY_INSERT = 78,
    KEY_DELETE = 79,
    KEY_KEYPAD_PLUS = 80,
    KEY_KEYPAD_MINUS = 81,
    KEY_KEYPAD_MULTIPLY = 82,
    KEY_KEYPAD_DIVIDE = 83,
    KEY_KEYPAD_0 = 84,
    KEY_KEYPAD_1 = 85,
    KEY_KEYPAD_2 = 86,
    KEY_KEYPAD_3 = 87,
    KEY_KEYPAD_4 = 88,
    KEY_KEYPAD_5 = 89,
    KEY_KEYPAD_6 = 90,
    KEY_KEYPAD_7 = 91,
    KEY_KEYPAD_8 = 92,
    KEY_KEYPAD_9 = 93,
    KEY_KEYPAD_PERIOD = 94,
    KEY_KEYPAD_ENTER = 95,
    KEY_F1 = 96,
    KEY_F2 = 97,
    KEY_F3 = 98,
    KEY_F4 = 99,
    KEY_F5 = 100,
    KEY_F6 = 101,
    KEY_F7 = 102,
    KEY_F8 = 103,
    KEY_F9 = 104,
    KEY_F10 = 105,
    KEY_F11 = 106,
    KEY_F12 = 107,
    KEY_NONE = 255 /* a scancode of to_key_code that maps to no key */
};

/* Mouse-button codes, the indices of the mouse-button arrays. */
enum {
    MOUSE_UNUSED = 0, /* never produced */
    MOUSE_ANY = 1,    /* any button, counted like KEY_ANY */
    MOUSE_LEFT = 2,
    MOUSE_MIDDLE = 3,
    MOUSE_RIGHT = 4
};

/* Bits of input_key_modifiers. */
enum {
    MODIFIER_CTRL = 1,
    MODIFIER_SHIFT = 2,
    MODIFIER_ALT = 4,
    MODIFIER_GUI = 8,
    MODIFIER_CAPS_LOCK = 16,
    MODIFIER_NUM_LOCK = 32
};

/* SDL scancode to key code, KEY_NONE for keys the library does not know; built by system_init. */
extern KESTRUNE_API uint8_t to_key_code[SCANCODE_COUNT];

/* The snapshot input_poll writes and the queries below read. */
/* 1 for each key code pressed during the last poll. */
extern KESTRUNE_API uint8_t keys_pressed[KEY_CODE_COUNT];
/* 1 for each key code released during the last poll. */
extern KESTRUNE_API uint8_t keys_released[KEY_CODE_COUNT];
/* 1 while a key is down; KEY_ANY and the modifier summaries count the keys down. */
extern KESTRUNE_API uint8_t keys_held[KEY_CODE_COUNT];
/* 1 for each button pressed during the last poll. */
extern KESTRUNE_API uint8_t mouse_buttons_pressed[MOUSE_BUTTON_COUNT];
/* 1 for each button released during the last poll. */
extern KESTRUNE_API uint8_t mouse_buttons_released[MOUSE_BUTTON_COUNT];
/* 1 while a button is down; MOUSE_ANY counts the buttons down. */
extern KESTRUNE_API uint8_t mouse_buttons_held[MOUSE_BUTTON_COUNT];
/* The most recent key pressed; kept across polls. */
extern KESTRUNE_API uint8_t key_last_pressed;
/* The most recent key released; kept across polls. */
extern KESTRUNE_API uint8_t key_last_released;
/* The most recent button pressed; kept across polls. */
extern KESTRUNE_API uint8_t mouse_button_last_pressed;
/* The most recent button released; kept across polls. */
extern KESTRUNE_API uint8_t mouse_button_last_released;
/* Last pointer x in window pixels from the left. */
extern KESTRUNE_API int32_t mouse_x;
/* Last pointer y in window pixels from the top. */
extern KESTRUNE_API int32_t mouse_y;
/* Relative pointer motion in x during the last poll. */
extern KESTRUNE_API int32_t mouse_moved_x;
/* Relative pointer motion in y during the last poll. */
extern KESTRUNE_API int32_t mouse_moved_y;
/* Net vertical wheel steps during the last poll, positive away from the user. */
extern KESTRUNE_API int32_t mouse_wheel;
/* A resize arrived during the last poll. */
extern KESTRUNE_API bool window_resized;
/* Width of the last resize; kept until the next. */
extern KESTRUNE_API int32_t window_new_width;
/* Height of the last resize; kept until the next. */
extern KESTRUNE_API int32_t window_new_height;
/* The window was minimised during the last poll. */
extern KESTRUNE_API bool window_minimized;
/* The window was maximised during the last poll. */
extern KESTRUNE_API bool window_maximized;
/* The window was restored during the last poll. */
extern KESTRUNE_API bool window_restored;
/* The pointer entered the window during the last poll. */
extern KESTRUNE_API bool window_entered;
/* The pointer left the window during the last poll. */
extern KESTRUNE_API bool window_left;
/* The window gained keyboard focus during the last poll. */
extern KESTRUNE_API bool window_focus_gained;
/* The window lost keyboard focus during the last poll. */
extern KESTRUNE_API bool window_focus_lost;
/* The window or the program was asked to close during the last poll. */
extern KESTRUNE_API bool window_closed;
/* Path of the last file dropped on the window, UTF-8, cut to 256 bytes, no terminator. */
extern KESTRUNE_API uint8_t dropped_file_data[DROPPED_FILE_CAPACITY];
/* Bytes of dropped_file_data; 0 when nothing was dropped during the last poll. */
extern KESTRUNE_API int32_t dropped_file_length;
/* Every key press of the last poll in order, repeats included; presses past TYPED_KEY_CAPACITY are dropped. */
extern KESTRUNE_API uint8_t typed_keys[TYPED_KEY_CAPACITY];
/* The MODIFIER_ bits held at each press of typed_keys. */
extern KESTRUNE_API uint8_t typed_key_modifiers[TYPED_KEY_CAPACITY];
/* Entries in typed_keys and typed_key_modifiers. */
extern KESTRUNE_API int32_t typed_key_count;
/* A joystick was connected during the last poll. */
extern KESTRUNE_API bool controller_device_added;
/* Device index of the joystick connected during the last poll. */
extern KESTRUNE_API int32_t controller_device_added_index;
/* A joystick was disconnected during the last poll. */
extern KESTRUNE_API bool controller_device_removed;
/* Open handle of the joystick disconnected during the last poll; null when it was not open. */
extern KESTRUNE_API kestrune_controller* controller_device_removed_handle;

/* Clears the last frame's events and takes SDL's queued ones into the snapshot; cannot fail. */
KESTRUNE_API void input_poll(void);
/* 1 when the key was pressed during the last poll; 0 for codes past KEY_F12. */
KESTRUNE_API uint8_t input_key_is_pressed(uint8_t key);
/* 1 when the key was released during the last poll; 0 for codes past KEY_F12. */
KESTRUNE_API uint8_t input_key_is_released(uint8_t key);
/* Non-zero while the key is down; 0 for codes past KEY_F12. */
KESTRUNE_API uint8_t input_key_is_held(uint8_t key);
/* View of keys_pressed, KEY_CODE_COUNT entries; cannot fail. */
KESTRUNE_API byte_view input_key_pressed_state(void);
/* View of keys_released, KEY_CODE_COUNT entries; cannot fail. */
KESTRUNE_API byte_view input_key_released_state(void);
/* View of keys_held, KEY_CODE_COUNT entries; cannot fail. */
KESTRUNE_API byte_view input_key_held_state(void);
/* The most recent key pressed; KEY_UNUSED before any. */
KESTRUNE_API uint8_t input_last_pressed_key(void);
/* The most recent key released; KEY_UNUSED before any. */
KESTRUNE_API uint8_t input_last_released_key(void);
/* MODIFIER_ bits of the keys down now, read live from SDL; 0 without video. */
KESTRUNE_API uint8_t input_key_modifiers(void);
/* View of the key codes pressed during the last poll, in order; cannot fail. */
KESTRUNE_API byte_view input_typed_keys(void);
/* View of the modifier bits of each typed key (same length as input_typed_keys); cannot fail. */
KESTRUNE_API byte_view input_typed_key_modifiers(void);
/* 1 when the button was pressed during the last poll; 0 for codes past MOUSE_RIGHT. */
KESTRUNE_API uint8_t input_mouse_is_pressed(uint8_t button);
/* 1 when the button was released during the last poll; 0 for codes past MOUSE_RIGHT. */
KESTRUNE_API uint8_t input_mouse_is_released(uint8_t button);
/* Non-zero while the button is down; 0 for codes past MOUSE_RIGHT. */
KESTRUNE_API uint8_t input_mouse_is_held(uint8_t button);
/* View of mouse_buttons_pressed, MOUSE_BUTTON_COUNT entries; cannot fail. */
KESTRUNE_API byte_view input_mouse_pressed_state(void);
/* View of mouse_buttons_released, MOUSE_BUTTON_COUNT entries; cannot fail. */
KESTRUNE_API byte_view input_mouse_released_state(void);
/* View of mouse_buttons_held, MOUSE_BUTTON_COUNT entries; cannot fail. */
KESTRUNE_API byte_view input_mouse_held_state(void);
/* The most recent button pressed; MOUSE_UNUSED before any. */
KESTRUNE_API uint8_t input_last_pressed_mouse_button(void);
/* The most recent button released; MOUSE_UNUSED before any. */
KESTRUNE_API uint8_t input_last_released_mouse_button(void);
/* Writes the last pointer position (y from the top) to x and y; a null output is skipped. */
KESTRUNE_API void input_mouse_position(int32_t* x, int32_t* y);
/* Writes the last poll's relative motion to dx and dy; a null output is skipped. */
KESTRUNE_API void input_mouse_moved(int32_t* dx, int32_t* dy);
/* Net wheel steps of the last poll; cannot fail. */
KESTRUNE_API int32_t input_mouse_wheel(void);
/* Writes the pointer's desktop position, read live, to x and y; a null output is skipped. */
KESTRUNE_API void input_mouse_global_position(int32_t* x, int32_t* y);
/* Moves the pointer within the window; does nothing without a window. */
KESTRUNE_API void input_mouse_set_position(int32_t x, int32_t y);
/* Moves the pointer on the desktop; 0 on success, negative when SDL cannot. */
KESTRUNE_API int input_mouse_set_global_position(int32_t x, int32_t y);
/* Shows or hides the pointer; SDL's previous state, negative on failure. */
KESTRUNE_API int input_mouse_set_visible(bool on);
/* Turns relative mouse mode on or off; 0 on success, negative when unsupported. */
KESTRUNE_API int input_mouse_set_relative(bool on);
/* Selects a system cursor by CURSOR_ index; indices past CURSOR_HAND are ignored. */
KESTRUNE_API void input_mouse_set_cursor(uint8_t index);
/* The window was minimised during the last poll. */
KESTRUNE_API bool display_is_minimized(void);
/* The window was maximised during the last poll. */
KESTRUNE_API bool display_is_maximized(void);
/* The window was restored during the last poll. */
KESTRUNE_API bool display_is_restored(void);
/* The pointer entered the window during the last poll. */
KESTRUNE_API bool display_is_entered(void);
/* The pointer left the window during the last poll. */
KESTRUNE_API bool display_is_left(void);
/* The window gained focus during the last poll. */
KESTRUNE_API bool display_is_focus_gained(void);
/* The window lost focus during the last poll. */
KESTRUNE_API bool display_is_focus_lost(void);
/* A close was asked for during the last poll. */
KESTRUNE_API bool display_is_closed(void);
/* True and the new size written when a resize arrived during the last poll; false leaves the outputs. */
KESTRUNE_API bool display_is_resized(int32_t* width, int32_t* height);
/* The path dropped during the last poll; empty when none. */
KESTRUNE_API string display_file_dropped(void);

/* ---- files and directories ---- */

/* A buffered stream; null when the open failed. */
typedef struct file_handle file_handle;

/* Open modes: 1 "wb", 2 "rb", 3 "r+b", 4 "a", 6 "a+"; any other mode opens nothing. */
enum {
    FILE_WRITE = 1,
    FILE_READ = 2,
    FILE_READ_WRITE = 3,
    FILE_APPEND = 4,
    FILE_READ_APPEND = 6
};

/* Names live in the dynamic ring, each followed by a NUL the length does not count.
 * "." and ".." are listed among the directories. */
typedef struct directory_content {
    string* directories;
    int64_t directory_count;
    string* files;
    int64_t file_count;
} directory_content;

/* Opens a file in a FILE_ mode; null when it cannot be opened or the mode is unknown. */
KESTRUNE_API file_handle* file_open(string path, uint8_t mode);
/* True for the null handle of a failed file_open. */
KESTRUNE_API bool file_failed(file_handle* file);
/* Closes the file; 0 on success, -1 (EOF) for a null handle or a failed flush. */
KESTRUNE_API int file_close(file_handle* file);
/* Reads up to count bytes into buffer; the bytes read, short at the end of the file, 0 on failure. */
KESTRUNE_API uint64_t file_read(file_handle* file, uint64_t count, void* buffer);
/* Writes count bytes from buffer; the bytes written, short or 0 on failure. */
KESTRUNE_API uint64_t file_write(file_handle* file, uint64_t count, const void* buffer);
/* The next byte, 0 to 255; -1 at the end of the file or on failure. */
KESTRUNE_API int file_read_byte(file_handle* file);
/* Writes one byte; the byte, or -1 on failure. */
KESTRUNE_API int file_write_byte(file_handle* file, uint8_t byte);
/* Moves to an absolute position below 2 GiB; false on failure (file_seek64 reaches further). */
KESTRUNE_API bool file_seek(file_handle* file, int32_t position);
/* Moves to an absolute 64-bit position (past the end is allowed); false on failure. */
KESTRUNE_API bool file_seek64(file_handle* file, int64_t position);
/* The current 64-bit position; -1 on failure. */
KESTRUNE_API int64_t file_get_position(file_handle* file);
/* Non-zero once a read has hit the end of the file (and for a null handle). */
KESTRUNE_API int file_end(file_handle* file);
/* The file's size in bytes, 64-bit, the position unchanged; -1 on failure. */
KESTRUNE_API int64_t file_size(file_handle* file);
/* True when the path opens for reading and is not a folder; a missing file is no error. */
KESTRUNE_API bool file_exists(string path);
/* Creates an empty file or truncates one; false when it cannot. */
KESTRUNE_API bool file_create(string path);
/* Copies a file's bytes to a new or truncated file; false when either cannot be opened or both are one file. */
KESTRUNE_API bool file_copy(string from, string to);
/* Deletes a file; false when it cannot. */
KESTRUNE_API bool file_delete(string path);
/* Moves a file to a name not in use; false for a folder, an existing target or a failure. */
KESTRUNE_API bool file_rename(string from, string to);
/* Creates one folder in an existing parent; false when it cannot. */
KESTRUNE_API bool directory_create(string path);
/* Deletes an empty folder; false when it cannot. */
KESTRUNE_API bool directory_delete(string path);
/* Moves a folder to a name not in use; false for a file, an existing target or a failure. */
KESTRUNE_API bool directory_rename(string from, string to);
/* True when the path is a folder; a missing one is no error. */
KESTRUNE_API bool directory_exists(string path);
/* Lists a folder whole into the dynamic ring; empty arrays when it cannot be read or does not fit. */
KESTRUNE_API directory_content directory_get_content(string path);

/* ---- images ---- */

/* Decoded pixels and the decoder's working memory come from one caller-supplied block,
 * reclaimed by resetting its position. */
typedef struct image {
    uint8_t* pixels; /* null when loading failed; rows of width x components bytes */
    int32_t width;
    int32_t height;
} image;

/* Components per pixel, asked for when loading and given again when saving. */
enum {
    IMAGE_GREY = 1,
    IMAGE_GREY_ALPHA = 2,
    IMAGE_RGB = 3,
    IMAGE_RGBA = 4
};

/* Hands the library the block that decoded images take their memory from, position 0. */
KESTRUNE_API void image_set_buffer(int64_t size, void* memory);
/* Sets the image block's position, releasing everything allocated after it. */
KESTRUNE_API void image_set_buffer_position(int64_t position);
/* The image block's position; cannot fail. */
KESTRUNE_API int64_t image_get_buffer_position(void);
/* Flips vertically on load and on save from now on, so the first row in memory is the bottom row. */
KESTRUNE_API void image_set_flip(bool on);
/* Decodes an image file with 1 to 4 components (0: the file's own); null pixels on failure, the block untouched. */
KESTRUNE_API image image_load(string path, int8_t components);
/* Decodes length bytes like image_load; null pixels on failure, the block untouched. */
KESTRUNE_API image image_load_from_memory(int32_t length, const void* data, int8_t components);
/* Components per pixel of the last successful load (the file's own when 0 was asked); 0 before any. */
KESTRUNE_API int32_t image_get_components(void);
/* Writes a .bmp, .png, .tga or .jpg (exact extension) with 1 to 4 components; false on failure. */
KESTRUNE_API bool image_save(const image* picture, string path, int8_t components);

/* ---- graphics objects: textures, frame buffers, buffers, vertex arrays, draws, pipeline ---- */

/* Enumerations are library indices into fixed tables; an index past a table reaches
 * OpenGL as 0. Object handles are OpenGL names, 0 meaning none. Display thread only. */

/* Buffer-set bits of pipeline_clear and frame_buffer_blit. */
enum {
    BUFFER_DEPTH = 1,
    BUFFER_STENCIL = 2,
    BUFFER_COLOR = 4
};

/* Error codes of pipeline_get_error. */
enum {
    GRAPHICS_NO_ERROR = 0,
    GRAPHICS_INVALID_ENUM = 1,
    GRAPHICS_INVALID_VALUE = 2,
    GRAPHICS_INVALID_OPERATION = 3,
    GRAPHICS_STACK_OVERFLOW = 4,
    GRAPHICS_STACK_UNDERFLOW = 5,
    GRAPHICS_OUT_OF_MEMORY = 6,
    GRAPHICS_INVALID_FRAME_BUFFER_OPERATION = 7
};

/* Texture targets. */
enum {
    TEXTURE_1D = 0,
    TEXTURE_2D = 1,
    TEXTURE_3D = 2,
    TEXTURE_CUBE_MAP = 3,
    TEXTURE_BUFFER = 4,
    TEXTURE_1D_ARRAY = 5,
    TEXTURE_2D_ARRAY = 6,
    TEXTURE_2D_MULTISAMPLE = 7,
    TEXTURE_2D_MULTISAMPLE_ARRAY = 8,
    TEXTURE_TARGET_COUNT = 9
};

/* Data types of pixels, vertex attributes and indices. */
enum {
    TYPE_UNSIGNED_BYTE = 0,
    TYPE_UNSIGNED_SHORT = 1,
    TYPE_UNSIGNED_INT = 2,
    TYPE_BYTE = 3,
    TYPE_SHORT = 4,
    TYPE_INT = 5,
    TYPE_FLOAT = 6,
    TYPE_UNSIGNED_BYTE_3_3_2 = 7,
    TYPE_UNSIGNED_SHORT_4_4_4_4 = 8,
    TYPE_UNSIGNED_SHORT_5_5_5_1 = 9,
    TYPE_UNSIGNED_INT_8_8_8_8 = 10,
    TYPE_UNSIGNED_INT_10_10_10_2 = 11,
    TYPE_UNSIGNED_INT_24_8 = 12,
    TYPE_FLOAT_32_UNSIGNED_INT_24_8 = 13,
    TYPE_COUNT = 14
};

/* Pixel formats of uploads and read-backs. */
enum {
    FORMAT_DEPTH = 0,
    FORMAT_STENCIL = 1,
    FORMAT_DEPTH_STENCIL = 2,
    FORMAT_RED = 3,
    FORMAT_GREEN = 4,
    FORMAT_BLUE = 5,
    FORMAT_RG = 6,
    FORMAT_RGB = 7,
    FORMAT_RGBA = 8,
    FORMAT_RED_INTEGER = 9,
    FORMAT_GREEN_INTEGER = 10,
    FORMAT_BLUE_INTEGER = 11,
    FORMAT_RG_INTEGER = 12,
    FORMAT_RGB_INTEGER = 13,
    FORMAT_RGBA_INTEGER = 14,
    FORMAT_COUNT = 15
};

/* Internal formats of textures and render buffers; INTERNAL_NONE reaches OpenGL as 0. */
enum {
    INTERNAL_DEPTH16 = 0,
    INTERNAL_DEPTH24 = 1,
    INTERNAL_DEPTH32 = 2,
    INTERNAL_DEPTH32F = 3,
    INTERNAL_STENCIL8 = 4,
    INTERNAL_DEPTH24_STENCIL8 = 5,
    INTERNAL_DEPTH32F_STENCIL8 = 6,
    INTERNAL_R8 = 7,
    INTERNAL_R16 = 8,
    INTERNAL_RG8 = 9,
    INTERNAL_RG16 = 10,
    INTERNAL_RGB8 = 11,
    INTERNAL_RGB16 = 12,
    INTERNAL_RGBA8 = 13,
    INTERNAL_RGBA16 = 14,
    INTERNAL_R8_SNORM = 15,
    INTERNAL_R16_SNORM = 16,
    INTERNAL_RG8_SNORM = 17,
    INTERNAL_RG16_SNORM = 18,
    INTERNAL_RGB8_SNORM = 19,
    INTERNAL_RGB16_SNORM = 20,
    INTERNAL_RGBA8_SNORM = 21,
    INTERNAL_RGBA16_SNORM = 22,
    INTERNAL_R16F = 23,
    INTERNAL_R32F = 24,
    INTERNAL_RG16F = 25,
    INTERNAL_RG32F = 26,
    INTERNAL_RGB16F = 27,
    INTERNAL_RGB32F = 28,
    INTERNAL_RGBA16F = 29,
    INTERNAL_RGBA32F = 30,
    INTERNAL_R8I = 31,
    INTERNAL_R16I = 32,
    INTERNAL_R32I = 33,
    INTERNAL_RG8I = 34,
    INTERNAL_RG16I = 35,
    INTERNAL_RG32I = 36,
    INTERNAL_RGB8I = 37,
    INTERNAL_RGB16I = 38,
    INTERNAL_RGB32I = 39,
    INTERNAL_RGBA8I = 40,
    INTERNAL_RGBA16I = 41,
    INTERNAL_RGBA32I = 42,
    INTERNAL_R8UI = 43,
    INTERNAL_R16UI = 44,
    INTERNAL_R32UI = 45,
    INTERNAL_RG8UI = 46,
    INTERNAL_RG16UI = 47,
    INTERNAL_RG32UI = 48,
    INTERNAL_RGB8UI = 49,
    INTERNAL_RGB16UI = 50,
    INTERNAL_RGB32UI = 51,
    INTERNAL_RGBA8UI = 52,
    INTERNAL_RGBA16UI = 53,
    INTERNAL_RGBA32UI = 54,
    INTERNAL_R3_G3_B2 = 55,
    INTERNAL_RGB4 = 56,
    INTERNAL_RGBA4 = 57,
    INTERNAL_RGB5 = 58,
    INTERNAL_RGB5_A1 = 59,
    INTERNAL_RGB10 = 60,
    INTERNAL_RGB10_A2 = 61,
    INTERNAL_RGB10_A2UI = 62,
    INTERNAL_RGB12 = 63,
    INTERNAL_RGBA12 = 64,
    INTERNAL_R11F_G11F_B10F = 65,
    INTERNAL_RGB9_E5 = 66,
    INTERNAL_SRGB8 = 67,
    INTERNAL_SRGB8_ALPHA8 = 68,
    INTERNAL_NONE = 69,
    INTERNAL_COMPRESSED_RED = 70,
    INTERNAL_COMPRESSED_RG = 71,
    INTERNAL_COMPRESSED_RGB = 72,
    INTERNAL_COMPRESSED_RGBA = 73,
    INTERNAL_COMPRESSED_SRGB = 74,
    INTERNAL_COMPRESSED_SRGB_ALPHA = 75,
    INTERNAL_COMPRESSED_RED_RGTC1 = 76,
    INTERNAL_COMPRESSED_SIGNED_RED_RGTC1 = 77,
    INTERNAL_COMPRESSED_RG_RGTC2 = 78,
    INTERNAL_COMPRESSED_SIGNED_RG_RGTC2 = 79,
    INTERNAL_COMPRESSED_RGB_DXT1 = 80,
    INTERNAL_COMPRESSED_RGBA_DXT1 = 81,
    INTERNAL_COMPRESSED_RGBA_DXT3 = 82,
    INTERNAL_COMPRESSED_RGBA_DXT5 = 83,
    INTERNAL_FORMAT_COUNT = 84
};

/* Wrap modes. */
enum {
    WRAP_REPEAT = 0,
    WRAP_MIRRORED_REPEAT = 1,
    WRAP_CLAMP_TO_EDGE = 2,
    WRAP_CLAMP_TO_BORDER = 3,
    WRAP_COUNT = 4
};

/* Filters of textures and blits. */
enum {
    FILTER_NEAREST = 0,
    FILTER_LINEAR = 1,
    FILTER_NEAREST_MIPMAP_NEAREST = 2,
    FILTER_LINEAR_MIPMAP_NEAREST = 3,
    FILTER_NEAREST_MIPMAP_LINEAR = 4,
    FILTER_LINEAR_MIPMAP_LINEAR = 5,
    FILTER_COUNT = 6
};

/* Texture parameters. */
enum {
    PARAMETER_WRAP_S = 0,
    PARAMETER_WRAP_T = 1,
    PARAMETER_WRAP_R = 2,
    PARAMETER_MIN_FILTER = 3,
    PARAMETER_MAG_FILTER = 4,
    PARAMETER_BORDER_COLOR = 5,
    PARAMETER_BASE_LEVEL = 6,
    PARAMETER_MAX_LEVEL = 7,
    PARAMETER_MIN_LOD = 8,
    PARAMETER_MAX_LOD = 9,
    PARAMETER_COUNT = 10
};

/* Swizzle sources; past the end reads as SWIZZLE_ZERO. */
enum {
    SWIZZLE_ZERO = 0,
    SWIZZLE_ONE = 1,
    SWIZZLE_RED = 2,
    SWIZZLE_GREEN = 3,
    SWIZZLE_BLUE = 4,
    SWIZZLE_ALPHA = 5,
    SWIZZLE_COUNT = 6
};

/* Makes one OpenGL texture; its name, 0 when OpenGL made none. */
KESTRUNE_API uint32_t texture_create(void);
/* Deletes a texture; 0 is ignored. */
KESTRUNE_API void texture_destroy(uint32_t texture);
/* Binds the texture to a TEXTURE_ target; errors: pipeline_get_error. */
KESTRUNE_API void texture_bind(uint32_t target, uint32_t texture);
/* Binds no texture to the target; errors: pipeline_get_error. */
KESTRUNE_API void texture_unbind(uint32_t target);
/* Makes texture unit `unit` active; errors: pipeline_get_error. */
KESTRUNE_API void texture_unit(uint32_t unit);
/* Allocates a 1D level and uploads pixels (may be null); errors: pipeline_get_error. */
KESTRUNE_API void texture_image_1d(uint32_t target, int32_t level, uint32_t internal_format, int32_t width,
                                   uint32_t pixel_format, uint32_t data_type, const void* pixels);
/* Allocates a 2D level and uploads pixels (may be null); errors: pipeline_get_error. */
KESTRUNE_API void texture_image_2d(uint32_t target, int32_t level, uint32_t internal_format, int32_t width,
                                   int32_t height, uint32_t pixel_format, uint32_t data_type, const void* pixels);
/* Allocates a 3D level and uploads pixels (may be null); errors: pipeline_get_error. */
KESTRUNE_API void texture_image_3d(uint32_t target, int32_t level, uint32_t internal_format, int32_t width,
                                   int32_t height, int32_t depth, uint32_t pixel_format, uint32_t data_type,
                                   const void* pixels);
/* Attaches a buffer's storage to the buffer texture; errors: pipeline_get_error. */
KESTRUNE_API void texture_image_buffer(uint32_t target, uint32_t internal_format, uint32_t buffer);
/* Allocates a multisample 2D texture; errors: pipeline_get_error. */
KESTRUNE_API void texture_image_2d_multisample(uint32_t target, int32_t samples, uint32_t internal_format,
                                               int32_t width, int32_t height, bool fixed_sample_locations);
/* Allocates a multisample 2D array texture; errors: pipeline_get_error. */
KESTRUNE_API void texture_image_2d_multisample_array(uint32_t target, int32_t samples, uint32_t internal_format,
                                                     int32_t width, int32_t height, int32_t depth,
                                                     bool fixed_sample_locations);
/* Replaces part of a 1D level; errors: pipeline_get_error. */
KESTRUNE_API void texture_sub_image_1d(uint32_t target, int32_t level, int32_t x_offset, int32_t width,
                                       uint32_t pixel_format, uint32_t data_type, const void* pixels);
/* Replaces a rectangle of a 2D level; errors: pipeline_get_error. */
KESTRUNE_API void texture_sub_image_2d(uint32_t target, int32_t level, int32_t x_offset, int32_t y_offset,
                                       int32_t width, int32_t height, uint32_t pixel_format, uint32_t data_type,
                                       const void* pixels);
/* Replaces a box of a 3D level; errors: pipeline_get_error. */
KESTRUNE_API void texture_sub_image_3d(uint32_t target, int32_t level, int32_t x_offset, int32_t y_offset,
                                       int32_t z_offset, int32_t width, int32_t height, int32_t depth,
                                       uint32_t pixel_format, uint32_t data_type, const void* pixels);
/* Uploads a compressed 1D level; errors: pipeline_get_error. */
KESTRUNE_API void texture_compressed_image_1d(uint32_t target, int32_t level, uint32_t internal_format,
                                              int32_t width, int32_t byte_count, const void* data);
/* Uploads a compressed 2D level; errors: pipeline_get_error. */
KESTRUNE_API void texture_compressed_image_2d(uint32_t target, int32_t level, uint32_t internal_format,
                                              int32_t width, int32_t height, int32_t byte_count, const void* data);
/* Uploads a compressed 3D level; errors: pipeline_get_error. */
KESTRUNE_API void texture_compressed_image_3d(uint32_t target, int32_t level, uint32_t internal_format,
                                              int32_t width, int32_t height, int32_t depth, int32_t byte_count,
                                              const void* data);
/* Replaces part of a compressed 1D level; errors: pipeline_get_error. */
KESTRUNE_API void texture_compressed_sub_image_1d(uint32_t target, int32_t level, int32_t x_offset, int32_t width,
                                                  uint32_t internal_format, int32_t byte_count, const void* data);
/* Replaces a rectangle of a compressed 2D level; errors: pipeline_get_error. */
KESTRUNE_API void texture_compressed_sub_image_2d(uint32_t target, int32_t level, int32_t x_offset,
                                                  int32_t y_offset, int32_t width, int32_t height,
                                                  uint32_t internal_format, int32_t byte_count, const void* data);
/* Replaces a box of a compressed 3D level; errors: pipeline_get_error. */
KESTRUNE_API void texture_compressed_sub_image_3d(uint32_t target, int32_t level, int32_t x_offset,
                                                  int32_t y_offset, int32_t z_offset, int32_t width,
                                                  int32_t height, int32_t depth, uint32_t internal_format,
                                                  int32_t byte_count, const void* data);
/* Copies a row of the read frame buffer into a new 1D level; errors: pipeline_get_error. */
KESTRUNE_API void texture_copy_image_1d(uint32_t target, int32_t level, uint32_t internal_format, int32_t x,
                                        int32_t y, int32_t width);
/* Copies a rectangle of the read frame buffer into a new 2D level; errors: pipeline_get_error. */
KESTRUNE_API void texture_copy_image_2d(uint32_t target, int32_t level, uint32_t internal_format, int32_t x,
                                        int32_t y, int32_t width, int32_t height);
/* The copy_sub_image exports take the source corner first, then the destination offsets. */
/* Copies frame-buffer pixels (source corner first) into part of a 1D level; errors: pipeline_get_error. */
KESTRUNE_API void texture_copy_sub_image_1d(uint32_t target, int32_t level, int32_t x, int32_t y,
                                            int32_t x_offset, int32_t width);
/* Copies a frame-buffer rectangle (source corner first) into a 2D level; errors: pipeline_get_error. */
KESTRUNE_API void texture_copy_sub_image_2d(uint32_t target, int32_t level, int32_t x, int32_t y,
                                            int32_t x_offset, int32_t y_offset, int32_t width, int32_t height);
/* Copies a frame-buffer rectangle (source corner first) into a 3D layer; errors: pipeline_get_error. */
KESTRUNE_API void texture_copy_sub_image_3d(uint32_t target, int32_t level, int32_t x, int32_t y,
                                            int32_t x_offset, int32_t y_offset, int32_t z_offset, int32_t width,
                                            int32_t height);
/* Sets a wrap PARAMETER_ to a WRAP_ mode; errors: pipeline_get_error. */
KESTRUNE_API void texture_parameter_wrap(uint32_t target, uint32_t parameter, uint32_t wrap_mode);
/* Sets a filter PARAMETER_ to a FILTER_ value; errors: pipeline_get_error. */
KESTRUNE_API void texture_parameter_filter(uint32_t target, uint32_t parameter, uint32_t filter);
/* Sets the four SWIZZLE_ sources of red, green, blue and alpha; errors: pipeline_get_error. */
KESTRUNE_API void texture_parameter_swizzle(uint32_t target, uint32_t r, uint32_t g, uint32_t b, uint32_t a);
/* Sets a PARAMETER_ to a raw float; errors: pipeline_get_error. */
KESTRUNE_API void texture_parameterf(uint32_t target, uint32_t parameter, float value);
/* Sets a PARAMETER_ to a raw integer; errors: pipeline_get_error. */
KESTRUNE_API void texture_parameteri(uint32_t target, uint32_t parameter, int32_t value);
/* Sets a PARAMETER_ from a view of floats; errors: pipeline_get_error. */
KESTRUNE_API void texture_parameterfa(uint32_t target, uint32_t parameter, float_view values);
/* Sets a PARAMETER_ from a view of integers; errors: pipeline_get_error. */
KESTRUNE_API void texture_parameteria(uint32_t target, uint32_t parameter, int_view values);
/* Sets a PARAMETER_ from signed integers kept unconverted; errors: pipeline_get_error. */
KESTRUNE_API void texture_integer_parameteria(uint32_t target, uint32_t parameter, int_view values);
/* Sets a PARAMETER_ from unsigned integers kept unconverted; errors: pipeline_get_error. */
KESTRUNE_API void texture_integer_parameterqa(uint32_t target, uint32_t parameter, uint_view values);
/* Builds the mipmap levels of the bound texture; errors: pipeline_get_error. */
KESTRUNE_API void texture_generate_mipmap(uint32_t target);
/* Reads a level of the bound texture into pixels; errors: pipeline_get_error. */
KESTRUNE_API void texture_get_image(uint32_t target, int32_t level, uint32_t pixel_format, uint32_t data_type,
                                    void* pixels);

/* Frame-buffer targets. */
enum {
    FRAME_BUFFER_DRAW = 0,
    FRAME_BUFFER_READ = 1,
    FRAME_BUFFER_BOTH = 2,
    FRAME_BUFFER_TARGET_COUNT = 3
};

/* Attachment kinds; ATTACHMENT_COLOR takes the colour index given beside it. */
enum {
    ATTACHMENT_DEPTH = 0,
    ATTACHMENT_STENCIL = 1,
    ATTACHMENT_DEPTH_STENCIL = 2,
    ATTACHMENT_COLOR = 3,
    ATTACHMENT_KIND_COUNT = 4
};

/* Cube-map faces. */
enum {
    CUBE_FACE_POSITIVE_X = 0,
    CUBE_FACE_NEGATIVE_X = 1,
    CUBE_FACE_POSITIVE_Y = 2,
    CUBE_FACE_NEGATIVE_Y = 3,
    CUBE_FACE_POSITIVE_Z = 4,
    CUBE_FACE_NEGATIVE_Z = 5,
    CUBE_FACE_COUNT = 6
};

/* Results of frame_buffer_get_status; a status not listed reads as complete. */
enum {
    FRAME_BUFFER_COMPLETE = 0,
    FRAME_BUFFER_UNDEFINED = 1,
    FRAME_BUFFER_INCOMPLETE_ATTACHMENT = 2,
    FRAME_BUFFER_MISSING_ATTACHMENT = 3,
    FRAME_BUFFER_INCOMPLETE_DRAW_BUFFER = 4,
    FRAME_BUFFER_INCOMPLETE_READ_BUFFER = 5,
    FRAME_BUFFER_INCOMPLETE_MULTISAMPLE = 6,
    FRAME_BUFFER_INCOMPLETE_LAYER_TARGETS = 7,
    FRAME_BUFFER_UNSUPPORTED = 8
};

/* Makes one frame buffer; its name, 0 when OpenGL made none. */
KESTRUNE_API uint32_t frame_buffer_create(void);
/* Deletes a frame buffer; 0 is ignored. */
KESTRUNE_API void frame_buffer_destroy(uint32_t frame_buffer);
/* Binds a frame buffer to a FRAME_BUFFER_ target; errors: pipeline_get_error. */
KESTRUNE_API void frame_buffer_bind(uint32_t target, uint32_t frame_buffer);
/* Binds the window to the target; errors: pipeline_get_error. */
KESTRUNE_API void frame_buffer_unbind(uint32_t target);
/* Attaches a texture level to the bound frame buffer; errors: pipeline_get_error. */
KESTRUNE_API void frame_buffer_texture(uint32_t target, uint32_t attachment_kind, uint32_t colour_index,
                                       uint32_t texture, int32_t level);
/* Attaches a cube-map face (0 +X to 5 -Z) to the bound frame buffer; errors: pipeline_get_error. */
KESTRUNE_API void frame_buffer_texture_face(uint32_t target, uint32_t attachment_kind, uint32_t colour_index,
                                            uint32_t texture, int32_t level, uint32_t face);
/* Attaches one layer of a texture to the bound frame buffer; errors: pipeline_get_error. */
KESTRUNE_API void frame_buffer_texture_layer(uint32_t target, uint32_t attachment_kind, uint32_t colour_index,
                                             uint32_t texture, int32_t level, int32_t layer);
/* Attaches a render buffer to the bound frame buffer; errors: pipeline_get_error. */
KESTRUNE_API void frame_buffer_render_buffer(uint32_t target, uint32_t attachment_kind, uint32_t colour_index,
                                             uint32_t render_buffer);
/* The bound frame buffer's status: 0 complete, 1 to 8 what is missing or wrong. */
KESTRUNE_API uint8_t frame_buffer_get_status(uint32_t target);
/* Copies rectangles (corner and size) from the read to the draw frame buffer; errors: pipeline_get_error. */
KESTRUNE_API void frame_buffer_blit(int32_t source_x, int32_t source_y, int32_t source_width,
                                    int32_t source_height, int32_t destination_x, int32_t destination_y,
                                    int32_t destination_width, int32_t destination_height, uint32_t buffer_set,
                                    uint32_t filter);

/* Makes one render buffer; its name, 0 when OpenGL made none. */
KESTRUNE_API uint32_t render_buffer_create(void);
/* Deletes a render buffer; 0 is ignored. */
KESTRUNE_API void render_buffer_destroy(uint32_t render_buffer);
/* Binds a render buffer; errors: pipeline_get_error. */
KESTRUNE_API void render_buffer_bind(uint32_t render_buffer);
/* Binds no render buffer; errors: pipeline_get_error. */
KESTRUNE_API void render_buffer_unbind(void);
/* Allocates the bound render buffer's storage; errors: pipeline_get_error. */
KESTRUNE_API void render_buffer_storage(uint32_t internal_format, int32_t width, int32_t height);
/* Allocates multisampled storage for the bound render buffer; errors: pipeline_get_error. */
KESTRUNE_API void render_buffer_storage_multisample(uint32_t internal_format, int32_t width, int32_t height,
                                                    int32_t samples);

/* Buffer targets. */
enum {
    BUFFER_ARRAY = 0,
    BUFFER_ELEMENT_ARRAY = 1,
    BUFFER_COPY_WRITE = 2,
    BUFFER_COPY_READ = 3,
    BUFFER_PIXEL_PACK = 4,
    BUFFER_PIXEL_UNPACK = 5,
    BUFFER_TEXTURE = 6,
    BUFFER_UNIFORM = 7,
    BUFFER_TARGET_COUNT = 8
};

/* Buffer usages. */
enum {
    USAGE_STATIC_DRAW = 0,
    USAGE_STATIC_READ = 1,
    USAGE_STATIC_COPY = 2,
    USAGE_DYNAMIC_DRAW = 3,
    USAGE_DYNAMIC_READ = 4,
    USAGE_DYNAMIC_COPY = 5,
    USAGE_STREAM_DRAW = 6,
    USAGE_STREAM_READ = 7,
    USAGE_STREAM_COPY = 8,
    USAGE_COUNT = 9
};

/* Map access. */
enum {
    ACCESS_WRITE_ONLY = 0,
    ACCESS_READ_ONLY = 1,
    ACCESS_READ_WRITE = 2,
    ACCESS_COUNT = 3
};

/* Makes one buffer object; its name, 0 when OpenGL made none. */
KESTRUNE_API uint32_t buffer_create(void);
/* Deletes a buffer; 0 is ignored. */
KESTRUNE_API void buffer_destroy(uint32_t buffer);
/* Binds a buffer to a BUFFER_ target; errors: pipeline_get_error. */
KESTRUNE_API void buffer_bind(uint32_t target, uint32_t buffer);
/* Binds no buffer to the target; errors: pipeline_get_error. */
KESTRUNE_API void buffer_unbind(uint32_t target);
/* Binds a buffer to an indexed target point; errors: pipeline_get_error. */
KESTRUNE_API void buffer_bind_base(uint32_t target, uint32_t index, uint32_t buffer);
/* Binds part of a buffer to an indexed target point; errors: pipeline_get_error. */
KESTRUNE_API void buffer_bind_range(uint32_t target, uint32_t index, uint32_t buffer, int64_t offset, int64_t size);
/* Allocates the bound buffer with size bytes from data (may be null); errors: pipeline_get_error. */
KESTRUNE_API void buffer_data(uint32_t target, int64_t size, const void* data, uint32_t usage);
/* Replaces bytes of the bound buffer; errors: pipeline_get_error. */
KESTRUNE_API void buffer_sub_data(uint32_t target, int64_t offset, int64_t size, const void* data);
/* Maps the bound buffer; a view of size bytes, null data when mapping failed. */
KESTRUNE_API byte_view buffer_map(uint32_t target, int64_t size, uint32_t access);
/* Unmaps the bound buffer; false when its contents were lost or it was not mapped. */
KESTRUNE_API bool buffer_unmap(uint32_t target);
/* Copies bytes between the buffers bound to two targets; errors: pipeline_get_error. */
KESTRUNE_API void buffer_copy_sub_data(uint32_t read_target, uint32_t write_target, int64_t read_offset,
                                       int64_t write_offset, int64_t size);

/* Makes one vertex array; its name, 0 when OpenGL made none. */
KESTRUNE_API uint32_t vertex_array_create(void);
/* Deletes a vertex array; 0 is ignored. */
KESTRUNE_API void vertex_array_destroy(uint32_t vertex_array);
/* Binds a vertex array; errors: pipeline_get_error. */
KESTRUNE_API void vertex_array_bind(uint32_t vertex_array);
/* Binds no vertex array; errors: pipeline_get_error. */
KESTRUNE_API void vertex_array_unbind(void);
/* Enables or disables a vertex attribute array; errors: pipeline_get_error. */
KESTRUNE_API void attribute_enable(uint32_t index, bool on);
/* Describes a float attribute at a byte offset into the bound array buffer; errors: pipeline_get_error. */
KESTRUNE_API void attribute_format(uint32_t index, int32_t size, uint32_t data_type, bool normalised,
                                   int32_t stride, int32_t offset);
/* Describes an integer attribute at a byte offset into the bound array buffer; errors: pipeline_get_error. */
KESTRUNE_API void attribute_integer_format(uint32_t index, int32_t size, uint32_t data_type, int32_t stride,
                                           int32_t offset);
/* Advances the attribute once per divisor instances (0: per vertex); errors: pipeline_get_error. */
KESTRUNE_API void attribute_divisor(uint32_t index, uint32_t divisor);
/* Primitive modes, OpenGL's own values. */
enum {
    PRIMITIVE_POINTS = 0,
    PRIMITIVE_LINES = 1,
    PRIMITIVE_LINE_LOOP = 2,
    PRIMITIVE_LINE_STRIP = 3,
    PRIMITIVE_TRIANGLES = 4,
    PRIMITIVE_TRIANGLE_STRIP = 5,
    PRIMITIVE_TRIANGLE_FAN = 6,
    PRIMITIVE_LINES_ADJACENCY = 10,
    PRIMITIVE_LINE_STRIP_ADJACENCY = 11,
    PRIMITIVE_TRIANGLES_ADJACENCY = 12,
    PRIMITIVE_TRIANGLE_STRIP_ADJACENCY = 13
};

/* Draws count vertices from first, instances times; errors: pipeline_get_error. */
KESTRUNE_API void draw_arrays(uint32_t mode, int32_t first, int32_t count, int32_t instances);
/* Draws count indices from a byte offset of the element buffer, instances times; errors: pipeline_get_error. */
KESTRUNE_API void draw_elements(uint32_t mode, uint32_t index_type, int32_t offset, int32_t count,
                                int32_t base_vertex, int32_t instances);

/* Comparison functions of depth and stencil tests. */
enum {
    COMPARE_NEVER = 0,
    COMPARE_ALWAYS = 1,
    COMPARE_LESS = 2,
    COMPARE_LESS_EQUAL = 3,
    COMPARE_GREATER = 4,
    COMPARE_GREATER_EQUAL = 5,
    COMPARE_EQUAL = 6,
    COMPARE_NOT_EQUAL = 7,
    COMPARE_COUNT = 8
};

/* Faces. */
enum {
    FACE_FRONT = 0,
    FACE_BACK = 1,
    FACE_FRONT_AND_BACK = 2,
    FACE_COUNT = 3
};

/* Stencil operations. */
enum {
    STENCIL_KEEP = 0,
    STENCIL_ZERO = 1,
    STENCIL_REPLACE = 2,
    STENCIL_INCREMENT = 3,
    STENCIL_INCREMENT_WRAP = 4,
    STENCIL_DECREMENT = 5,
    STENCIL_DECREMENT_WRAP = 6,
    STENCIL_INVERT = 7,
    STENCIL_OPERATION_COUNT = 8
};

/* Blend factors; past the end reads as BLEND_ZERO. */
enum {
    BLEND_ZERO = 0,
    BLEND_ONE = 1,
    BLEND_SOURCE_COLOR = 2,
    BLEND_SOURCE_ALPHA = 3,
    BLEND_DESTINATION_COLOR = 4,
    BLEND_DESTINATION_ALPHA = 5,
    BLEND_CONSTANT_COLOR = 6,
    BLEND_CONSTANT_ALPHA = 7,
    BLEND_ONE_MINUS_SOURCE_COLOR = 8,
    BLEND_ONE_MINUS_SOURCE_ALPHA = 9,
    BLEND_ONE_MINUS_DESTINATION_COLOR = 10,
    BLEND_ONE_MINUS_DESTINATION_ALPHA = 11,
    BLEND_ONE_MINUS_CONSTANT_COLOR = 12,
    BLEND_ONE_MINUS_CONSTANT_ALPHA = 13,
    BLEND_FACTOR_COUNT = 14
};

/* Blend equations. */
enum {
    BLEND_ADD = 0,
    BLEND_SUBTRACT = 1,
    BLEND_REVERSE_SUBTRACT = 2,
    BLEND_MIN = 3,
    BLEND_MAX = 4,
    BLEND_EQUATION_COUNT = 5
};

/* Logic operations. */
enum {
    LOGIC_CLEAR = 0,
    LOGIC_SET = 1,
    LOGIC_COPY = 2,
    LOGIC_COPY_INVERTED = 3,
    LOGIC_NO_OP = 4,
    LOGIC_INVERT = 5,
    LOGIC_AND = 6,
    LOGIC_NAND = 7,
    LOGIC_OR = 8,
    LOGIC_NOR = 9,
    LOGIC_XOR = 10,
    LOGIC_EQUIVALENT = 11,
    LOGIC_AND_REVERSE = 12,
    LOGIC_AND_INVERTED = 13,
    LOGIC_OR_REVERSE = 14,
    LOGIC_OR_INVERTED = 15,
    LOGIC_OPERATION_COUNT = 16
};

/* Polygon modes. */
enum {
    POLYGON_FILL = 0,
    POLYGON_LINE = 1,
    POLYGON_POINT = 2,
    POLYGON_MODE_COUNT = 3
};

/* Pixel-store parameters. */
enum {
    PACK_SWAP_BYTES = 0,
    PACK_LSB_FIRST = 1,
    PACK_ROW_LENGTH = 2,
    PACK_IMAGE_HEIGHT = 3,
    PACK_SKIP_PIXELS = 4,
    PACK_SKIP_ROWS = 5,
    PACK_SKIP_IMAGES = 6,
    PACK_ALIGNMENT = 7,
    UNPACK_SWAP_BYTES = 8,
    UNPACK_LSB_FIRST = 9,
    UNPACK_ROW_LENGTH = 10,
    UNPACK_IMAGE_HEIGHT = 11,
    UNPACK_SKIP_PIXELS = 12,
    UNPACK_SKIP_ROWS = 13,
    UNPACK_SKIP_IMAGES = 14,
    UNPACK_ALIGNMENT = 15,
    PIXEL_STORE_COUNT = 16
};

/* Front-face winding of pipeline_cull_orientation. */
enum {
    ORIENTATION_CLOCKWISE = 0,
    ORIENTATION_COUNTER_CLOCKWISE = 1
};

/* Point-sprite origins of pipeline_point_coord_origin. */
enum {
    POINT_ORIGIN_UPPER_LEFT = 0,
    POINT_ORIGIN_LOWER_LEFT = 1
};

/* Clears the BUFFER_ bits of the draw frame buffer; errors: pipeline_get_error. */
KESTRUNE_API void pipeline_clear(uint32_t buffer_set);
/* Sets the colour pipeline_clear uses; cannot fail. */
KESTRUNE_API void pipeline_clear_color(float r, float g, float b, float a);
/* Sets the depth pipeline_clear uses; cannot fail. */
KESTRUNE_API void pipeline_clear_depth(float depth);
/* Sets the stencil value pipeline_clear uses; cannot fail. */
KESTRUNE_API void pipeline_clear_stencil(uint8_t value);
/* Turns the depth test on or off; cannot fail. */
KESTRUNE_API void pipeline_depth_enable(bool on);
/* Turns depth clamping on or off; cannot fail. */
KESTRUNE_API void pipeline_depth_clamp(bool on);
/* Turns the stencil test on or off; cannot fail. */
KESTRUNE_API void pipeline_stencil_enable(bool on);
/* Turns blending on or off; cannot fail. */
KESTRUNE_API void pipeline_blend_enable(bool on);
/* Turns the colour logic operation on or off; cannot fail. */
KESTRUNE_API void pipeline_logic_enable(bool on);
/* Turns face culling on or off; cannot fail. */
KESTRUNE_API void pipeline_cull_enable(bool on);
/* Turns the scissor test on or off; cannot fail. */
KESTRUNE_API void pipeline_scissor_enable(bool on);
/* Lets shaders set the point size (on) or not; cannot fail. */
KESTRUNE_API void pipeline_point_shader_enable(bool on);
/* Turns primitive restart on or off; cannot fail. */
KESTRUNE_API void pipeline_primitive_restart_enable(bool on);
/* Turns multisampling on or off; cannot fail. */
KESTRUNE_API void pipeline_multisample_enable(bool on);
/* Turns clip distance (index modulo 16384) on or off; errors: pipeline_get_error. */
KESTRUNE_API void pipeline_clip_plane_enable(uint32_t index, bool on);
/* Sets the depth test's COMPARE_ function; errors: pipeline_get_error. */
KESTRUNE_API void pipeline_depth_func(uint32_t comparison);
/* Allows (on) or forbids depth writes; cannot fail. */
KESTRUNE_API void pipeline_depth_mask(bool on);
/* Maps depth to the range near to far; cannot fail. */
KESTRUNE_API void pipeline_depth_range(float near_value, float far_value);
/* Sets the stencil test's COMPARE_ function, reference and mask; errors: pipeline_get_error. */
KESTRUNE_API void pipeline_stencil_func(uint32_t comparison, uint8_t reference, uint8_t mask);
/* Sets the STENCIL_ operations on stencil fail, depth fail and pass; errors: pipeline_get_error. */
KESTRUNE_API void pipeline_stencil_op(uint32_t stencil_fail, uint32_t depth_fail, uint32_t pass);
/* Sets which stencil bits are written; cannot fail. */
KESTRUNE_API void pipeline_stencil_mask(uint8_t mask);
/* pipeline_stencil_func for one FACE_; errors: pipeline_get_error. */
KESTRUNE_API void pipeline_stencil_func_separate(uint32_t face, uint32_t comparison, uint8_t reference, uint8_t mask);
/* pipeline_stencil_op for one FACE_; errors: pipeline_get_error. */
KESTRUNE_API void pipeline_stencil_op_separate(uint32_t face, uint32_t stencil_fail, uint32_t depth_fail, uint32_t pass);
/* pipeline_stencil_mask for one FACE_; errors: pipeline_get_error. */
KESTRUNE_API void pipeline_stencil_mask_separate(uint32_t face, uint8_t mask);
/* Sets the BLEND_ source and destination factors; cannot fail (past the table reads as zero). */
KESTRUNE_API void pipeline_blend_factor(uint32_t source, uint32_t destination);
/* Sets the BLEND_ factors of colour and alpha apart; cannot fail. */
KESTRUNE_API void pipeline_blend_factor_separate(uint32_t source_color, uint32_t destination_color,
                                                 uint32_t source_alpha, uint32_t destination_alpha);
/* Sets the BLEND_ equation; errors: pipeline_get_error. */
KESTRUNE_API void pipeline_blend_equation(uint32_t equation);
/* Sets the BLEND_ equations of colour and alpha apart; errors: pipeline_get_error. */
KESTRUNE_API void pipeline_blend_equation_separate(uint32_t color, uint32_t alpha);
/* Sets the constant blend colour; cannot fail. */
KESTRUNE_API void pipeline_blend_color(float r, float g, float b, float a);
/* Clamps read-back colours to 0 to 1 (on) or not; cannot fail. */
KESTRUNE_API void pipeline_color_clamp(bool on);
/* Chooses which colour channels are written; cannot fail. */
KESTRUNE_API void pipeline_color_mask(bool r, bool g, bool b, bool a);
/* Sets the LOGIC_ operation; errors: pipeline_get_error. */
KESTRUNE_API void pipeline_logic_op(uint32_t operation);
/* Sets the FACE_ that culling removes; errors: pipeline_get_error. */
KESTRUNE_API void pipeline_cull_face(uint32_t face);
/* Makes counter-clockwise (true) or clockwise faces the front; cannot fail. */
KESTRUNE_API void pipeline_cull_orientation(bool counter_clockwise);
/* Draws a FACE_ filled, as lines or as points (POLYGON_); errors: pipeline_get_error. */
KESTRUNE_API void pipeline_polygon_mode(uint32_t face, uint32_t mode);
/* Sets the viewport rectangle; errors: pipeline_get_error (negative sizes). */
KESTRUNE_API void pipeline_viewport(int32_t x, int32_t y, int32_t width, int32_t height);
/* Sets the scissor rectangle; errors: pipeline_get_error (negative sizes). */
KESTRUNE_API void pipeline_scissor_rect(int32_t x, int32_t y, int32_t width, int32_t height);
/* Sets the point size in pixels; errors: pipeline_get_error (sizes of 0 or less). */
KESTRUNE_API void pipeline_point_size(float size);
/* Puts point-sprite coordinates' origin lower left (non-zero) or upper left; cannot fail. */
KESTRUNE_API void pipeline_point_coord_origin(int32_t lower_left);
/* Sets the point fade threshold size; errors: pipeline_get_error. */
KESTRUNE_API void pipeline_point_fade_threshold_size(float size);
/* Sets the index that restarts a primitive; cannot fail. */
KESTRUNE_API void pipeline_primitive_restart_index(uint32_t index);
/* Waits until OpenGL has carried out every command; cannot fail. */
KESTRUNE_API void pipeline_finish(void);
/* Hands every command given so far to OpenGL to carry out, without waiting; cannot fail. */
KESTRUNE_API void pipeline_flush(void);
/* Chooses the colour attachments drawn into (negative: none, at most 127); errors: pipeline_get_error. */
KESTRUNE_API void pipeline_draw_buffers(int_view colour_indices);
/* Chooses the colour attachment read from (negative: none); errors: pipeline_get_error. */
KESTRUNE_API void pipeline_read_buffer(int32_t colour_index);
/* Sets a PACK_ or UNPACK_ pixel-store parameter; errors: pipeline_get_error. */
KESTRUNE_API void pipeline_pixel_store(uint32_t parameter, int32_t value);
/* Reads a rectangle into pixels; without hardware graphics nothing is read and the error is set. */
KESTRUNE_API void pipeline_read_pixels(int32_t x, int32_t y, int32_t width, int32_t height,
                                       uint32_t pixel_format, uint32_t data_type, void* pixels);
/* The oldest recorded graphics error as a GRAPHICS_ code; GRAPHICS_NO_ERROR when none. */
KESTRUNE_API uint8_t pipeline_get_error(void);

/* ---- shaders ---- */

/* One text holds every stage, each after a "#vertex", "#fragment" or "#geometry" marker
 * followed by one whitespace character. On failure log holds the messages written into
 * the caller's log buffer (not NUL-terminated); on success it is empty. */
typedef struct shader_result {
    bool success;
    string log;
} shader_result;

/* Makes an empty shader program; its name, 0 when OpenGL made none. */
KESTRUNE_API uint32_t shader_create(void);
/* Deletes a program; 0 is ignored. */
KESTRUNE_API void shader_destroy(uint32_t program);
/* Makes the program current for drawing and the uniform setters; errors: pipeline_get_error. */
KESTRUNE_API void shader_bind(uint32_t program);
/* Makes no program current; cannot fail. */
KESTRUNE_API void shader_unbind(void);
/* Compiles every marked stage and links them into program; success false with the messages in the log. */
KESTRUNE_API shader_result shader_source(uint32_t program, string source, byte_view log);
/* The named vertex input's location; -1 when the program has none of that name. */
KESTRUNE_API int32_t shader_get_attribute_location(uint32_t program, string name);
/* The named fragment output's location; -1 when the program has none of that name. */
KESTRUNE_API int32_t shader_get_output_location(uint32_t program, string name);
/* The named uniform's location; -1 when the program has none of that name. */
KESTRUNE_API int32_t shader_get_uniform_location(uint32_t program, string name);
/* The named uniform block's index; 0xFFFFFFFF when the program has none of that name. */
KESTRUNE_API uint32_t shader_get_uniform_block_index(uint32_t program, string name);
/* Binds a uniform block to a buffer binding point; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform_block_binding(uint32_t program, uint32_t block_index, uint32_t binding);

/* Setters act on the bound program; the array forms pass count vectors or matrices. */
/* Sets a float uniform of the bound program to (x); errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform1f(int32_t location, float x);
/* Sets a float vec2 uniform of the bound program to (x, y); errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform2f(int32_t location, float x, float y);
/* Sets a float vec3 uniform of the bound program to (x, y, z); errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform3f(int32_t location, float x, float y, float z);
/* Sets a float vec4 uniform of the bound program to (x, y, z, w); errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform4f(int32_t location, float x, float y, float z, float w);
/* Sets an int uniform (or sampler) of the bound program; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform1i(int32_t location, int32_t x);
/* Sets an ivec2 uniform of the bound program to (x, y); errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform2i(int32_t location, int32_t x, int32_t y);
/* Sets an ivec3 uniform of the bound program to (x, y, z); errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform3i(int32_t location, int32_t x, int32_t y, int32_t z);
/* Sets an ivec4 uniform of the bound program to (x, y, z, w); errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform4i(int32_t location, int32_t x, int32_t y, int32_t z, int32_t w);
/* Sets a uint uniform of the bound program; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform1q(int32_t location, uint32_t x);
/* Sets a uvec2 uniform of the bound program to (x, y); errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform2q(int32_t location, uint32_t x, uint32_t y);
/* Sets a uvec3 uniform of the bound program to (x, y, z); errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform3q(int32_t location, uint32_t x, uint32_t y, uint32_t z);
/* Sets a uvec4 uniform of the bound program to (x, y, z, w); errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform4q(int32_t location, uint32_t x, uint32_t y, uint32_t z, uint32_t w);
/* Sets count floats from the view's floats; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform1fa(int32_t location, int32_t count, float_view values);
/* Sets count vec2s from the view's floats; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform2fa(int32_t location, int32_t count, float_view values);
/* Sets count vec3s from the view's floats; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform3fa(int32_t location, int32_t count, float_view values);
/* Sets count vec4s from the view's floats; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform4fa(int32_t location, int32_t count, float_view values);
/* Sets count ints from the view's integers; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform1ia(int32_t location, int32_t count, int_view values);
/* Sets count ivec2s from the view's integers; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform2ia(int32_t location, int32_t count, int_view values);
/* Sets count ivec3s from the view's integers; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform3ia(int32_t location, int32_t count, int_view values);
/* Sets count ivec4s from the view's integers; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform4ia(int32_t location, int32_t count, int_view values);
/* Sets count uints from the view's unsigned integers; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform1qa(int32_t location, int32_t count, uint_view values);
/* Sets count uvec2s from the view's unsigned integers; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform2qa(int32_t location, int32_t count, uint_view values);
/* Sets count uvec3s from the view's unsigned integers; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform3qa(int32_t location, int32_t count, uint_view values);
/* Sets count uvec4s from the view's unsigned integers; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform4qa(int32_t location, int32_t count, uint_view values);
/* Matrices are column-major unless transpose is set. */
/* Sets count 2x2 float matrices (column-major unless transposed); errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform_matrix2fa(int32_t location, int32_t count, bool transpose, float_view values);
/* Sets count 3x3 float matrices (column-major unless transposed); errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform_matrix3fa(int32_t location, int32_t count, bool transpose, float_view values);
/* Sets count 4x4 float matrices (column-major unless transposed); errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform_matrix4fa(int32_t location, int32_t count, bool transpose, float_view values);
/* Sets count 2x3 float matrices; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform_matrix2x3fa(int32_t location, int32_t count, bool transpose, float_view values);
/* Sets count 3x2 float matrices; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform_matrix3x2fa(int32_t location, int32_t count, bool transpose, float_view values);
/* Sets count 2x4 float matrices; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform_matrix2x4fa(int32_t location, int32_t count, bool transpose, float_view values);
/* Sets count 4x2 float matrices; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform_matrix4x2fa(int32_t location, int32_t count, bool transpose, float_view values);
/* Sets count 3x4 float matrices; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform_matrix3x4fa(int32_t location, int32_t count, bool transpose, float_view values);
/* Sets count 4x3 float matrices; errors: pipeline_get_error. */
KESTRUNE_API void shader_uniform_matrix4x3fa(int32_t location, int32_t count, bool transpose, float_view values);

/* ---- audio: devices, streams and waves ---- */

/* Sample format codes. Codes above 6 count as 2 bytes wide and are otherwise refused. */
enum {
    AUDIO_FORMAT_UNSIGNED_8 = 0,
    AUDIO_FORMAT_UNSIGNED_16 = 1,
    AUDIO_FORMAT_UNSIGNED_32 = 2,
    AUDIO_FORMAT_SIGNED_8 = 3,
    AUDIO_FORMAT_SIGNED_16 = 4,
    AUDIO_FORMAT_SIGNED_32 = 5,
    AUDIO_FORMAT_FLOAT = 6
};

/* Containers of audio_stream.container. */
enum { AUDIO_CONTAINER_WAV = 0, AUDIO_CONTAINER_FLAC = 1, AUDIO_CONTAINER_OGG = 2 };

#define AUDIO_STREAM_COUNT 64
#define AUDIO_STREAM_PATH_SIZE 4096

/* Runs on SDL's audio thread: fills (player) or receives (recorder) length bytes. */
typedef void (*audio_callback)(void* user_data, uint8_t* samples, int length);

typedef struct audio_wave {
    uint8_t format;
    uint32_t channels;
    uint32_t frequency;
    int64_t size; /* bytes of sample data */
    void* samples; /* interleaved; in the audio arena when loaded; null when loading failed */
} audio_wave;

typedef struct audio_stream_info {
    uint8_t format;
    uint32_t channels;
    uint32_t frequency;
    int64_t size; /* the whole stream's sample data in bytes, in the stream's format */
} audio_stream_info;

typedef struct audio_stream {
    bool in_use;
    uint8_t container;
    bool for_writing;
    bool from_file;
    uint8_t format; /* the format the caller reads or writes in */
    bool info_ready; /* the decoder or writer is open */
    void* decoder;
    string source; /* the slot's copy of the path, or the caller's memory block, which must stay alive */
    int64_t source_position; /* read position in a memory source */
    audio_stream_info info;
    char path[AUDIO_STREAM_PATH_SIZE];
} audio_stream;

/* The stream table; a slot is in use from audio_stream_open to audio_stream_close. */
extern KESTRUNE_API audio_stream audio_streams[AUDIO_STREAM_COUNT];
/* Slots of audio_streams ever taken; never shrinks. */
extern KESTRUNE_API int32_t num_audio_streams;
/* SDL's id of the open output device; 0 when opening failed. */
extern KESTRUNE_API uint32_t audio_player_id;
/* SDL's id of the open input device; 0 when opening failed. */
extern KESTRUNE_API uint32_t audio_recorder_id;

/* What an open device really uses; all zero while it is closed. */
typedef struct audio_device_format {
    uint8_t format; /* a sample format code */
    uint32_t channels;
    uint32_t frequency;
    uint32_t buffer_samples; /* sample frames per callback */
    uint32_t buffer_bytes;   /* bytes per callback */
} audio_device_format;

/* Opens the output device with the callback, paused; false for format 2 or past 6, zero sizes or no device. */
KESTRUNE_API bool audio_open(uint8_t format, uint8_t channels, uint32_t frequency, uint16_t buffer_samples,
                             audio_callback callback, void* user_data);
/* Starts the output device's callback; does nothing without a device. */
KESTRUNE_API void audio_play(void);
/* Pauses the output device's callback; does nothing without a device. */
KESTRUNE_API void audio_pause(void);
/* Closes the output device; safe to call twice. */
KESTRUNE_API void audio_close(void);
/* Holds the output callback off until audio_unlock; does nothing without a device. */
KESTRUNE_API void audio_lock(void);
/* Lets the output callback run again. */
KESTRUNE_API void audio_unlock(void);
/* Opens the input device with the callback, paused; false for zero sizes or no device. */
KESTRUNE_API bool audio_recorder_open(uint8_t format, uint8_t channels, uint32_t frequency, uint16_t buffer_samples,
                                      audio_callback callback, void* user_data);
/* Starts the input device's callback; does nothing without a device. */
KESTRUNE_API void audio_recorder_record(void);
/* Pauses the input device's callback; does nothing without a device. */
KESTRUNE_API void audio_recorder_pause(void);
/* Closes the input device; safe to call twice. */
KESTRUNE_API void audio_recorder_close(void);
/* Holds the input callback off until audio_recorder_unlock; does nothing without a device. */
KESTRUNE_API void audio_recorder_lock(void);
/* Lets the input callback run again. */
KESTRUNE_API void audio_recorder_unlock(void);
/* The output device's real format, channels, frequency and buffer; all zero while it is closed. */
KESTRUNE_API audio_device_format audio_get_format(void);
/* The input device's real format, channels, frequency and buffer; all zero while it is closed. */
KESTRUNE_API audio_device_format audio_recorder_get_format(void);

/* Decoded samples come from one caller-supplied block, reclaimed by resetting its position. */
/* Hands the library the block that decoded sounds take their memory from, position 0. */
KESTRUNE_API void audio_set_buffer(int64_t size, void* memory);
/* Sets the audio block's position, releasing everything allocated after it. */
KESTRUNE_API void audio_set_buffer_position(int64_t position);
/* The audio block's position; cannot fail. */
KESTRUNE_API int64_t audio_get_buffer_position(void);

/* Decodes a WAV, FLAC or Ogg Vorbis file, known by content, in format; zeroed on failure, the block untouched. */
KESTRUNE_API audio_wave audio_wave_load(uint8_t format, string path);
/* Decodes size bytes like audio_wave_load; zeroed on failure, the block untouched. */
KESTRUNE_API audio_wave audio_wave_load_from_memory(uint8_t format, int64_t size, const void* data);
/* Writes the wave as a .wav (converting the caller's samples in place); false for other names or on failure. */
KESTRUNE_API bool audio_wave_save(audio_wave wave, string path);
/* Converts samples in place to format (room needed when wider); unknown formats or null change nothing. */
KESTRUNE_API void audio_wave_convert(audio_wave* wave, uint8_t format);

/* Streams: slot index, or -1 (8-bit formats, all slots taken, paths of 4096 bytes or more). */
/* Takes a stream slot for a file to read or write; its index, -1 for 8-bit formats, a full table or a long path. */
KESTRUNE_API int32_t audio_stream_open(uint8_t format, string path, bool for_writing);
/* Takes a stream slot reading size bytes that stay the caller's; its index, -1 on failure. */
KESTRUNE_API int32_t audio_stream_open_from_memory(uint8_t format, int64_t size, const void* data);
/* The stream's format, channels, frequency and size, opening its decoder; zeroed on failure. */
KESTRUNE_API audio_stream_info audio_stream_read_info(int32_t slot);
/* Reads up to frames frames into buffer in the stream's format; the frames read, 0 at the end or on failure. */
KESTRUNE_API uint64_t audio_stream_read(int32_t slot, uint64_t frames, void* buffer);
/* Opens the writer of a writing stream with that layout; once only, failures set the last error. */
KESTRUNE_API void audio_stream_write_info(int32_t slot, const audio_stream_info* info);
/* Writes frames frames (converted in place to the stored format); the frames written, 0 on failure. */
KESTRUNE_API uint64_t audio_stream_write(int32_t slot, uint64_t frames, void* samples);
/* Moves a reading stream to a frame; false on failure. */
KESTRUNE_API bool audio_stream_seek(int32_t slot, uint64_t frame);
/* Closes the stream (finishing a written file) and frees its slot; an unused slot sets the last error. */
KESTRUNE_API void audio_stream_close(int32_t slot);

/* ---- threads and synchronisation ---- */

/* Caller-owned atomic integer, laid out as SDL's atomic type. */
typedef struct atomic_cell {
    int value;
} atomic_cell;

typedef int (*thread_function)(void* data);

/* Priorities of thread_set_priority. */
enum {
    THREAD_PRIORITY_LOW = 0,
    THREAD_PRIORITY_NORMAL = 1,
    THREAD_PRIORITY_HIGH = 2
};

/* Returned by semaphore_wait_timeout when the time ran out (SDL's time-out code). */
#define SEMAPHORE_TIMED_OUT 1

/* Starts function(data) on a new thread; its handle, null for a null function or when none could start. */
KESTRUNE_API kestrune_thread* thread_create(thread_function function, void* data);
/* Lets a thread end by itself without thread_wait; a null handle is ignored. */
KESTRUNE_API void thread_detach(kestrune_thread* thread);
/* Waits for the thread to end and writes its result to status (may be null); a null handle is ignored. */
KESTRUNE_API void thread_wait(kestrune_thread* thread, int* status);
/* Sets the calling thread's THREAD_PRIORITY_ (others mean low); 0 on success, negative on failure. */
KESTRUNE_API int thread_set_priority(uint8_t priority);
/* Thread ids are as wide as the platform's (a pthread_t here). */
/* The calling thread's id; cannot fail. */
KESTRUNE_API uint64_t thread_current_id(void);
/* The thread's id; the calling thread's for a null handle. */
KESTRUNE_API uint64_t thread_id(kestrune_thread* thread);
/* Makes a recursive mutex; null when none could be made. */
KESTRUNE_API kestrune_mutex* mutex_create(void);
/* Destroys a mutex; a null handle is ignored. */
KESTRUNE_API void mutex_destroy(kestrune_mutex* mutex);
/* Locks the mutex, waiting as needed; 0 on success, -1 for a null handle or on failure. */
KESTRUNE_API int mutex_lock(kestrune_mutex* mutex);
/* Unlocks the mutex; 0 on success, -1 for a null handle or on failure. */
KESTRUNE_API int mutex_unlock(kestrune_mutex* mutex);
/* Locks the mutex when free; false when it is taken or the handle is null. */
KESTRUNE_API bool mutex_trylock(kestrune_mutex* mutex);
/* Makes a condition variable; null when none could be made. */
KESTRUNE_API kestrune_condition* cond_create(void);
/* Destroys a condition variable; a null handle is ignored. */
KESTRUNE_API void cond_destroy(kestrune_condition* condition);
/* Wakes one waiter; 0 on success, negative on failure. */
KESTRUNE_API int cond_signal(kestrune_condition* condition);
/* Wakes every waiter; 0 on success, negative on failure. */
KESTRUNE_API int cond_broadcast(kestrune_condition* condition);
/* Releases the locked mutex and waits for a signal, then locks it again; 0 on success, negative on failure. */
KESTRUNE_API int cond_wait(kestrune_condition* condition, kestrune_mutex* mutex);
/* cond_wait for at most milliseconds; true when signalled, false on time-out or failure. */
KESTRUNE_API bool cond_wait_timeout(kestrune_condition* condition, kestrune_mutex* mutex, uint32_t milliseconds);
/* Makes a semaphore with that count; null when none could be made. */
KESTRUNE_API kestrune_semaphore* semaphore_create(uint32_t initial_value);
/* Destroys a semaphore; a null handle is ignored. */
KESTRUNE_API void semaphore_destroy(kestrune_semaphore* semaphore);
/* Adds one to the count; 0 on success, negative on failure. */
KESTRUNE_API int semaphore_post(kestrune_semaphore* semaphore);
/* Waits for a count and takes it; 0 on success, negative on failure. */
KESTRUNE_API int semaphore_wait(kestrune_semaphore* semaphore);
/* Takes a count when there is one; false when none or the handle is null. */
KESTRUNE_API bool semaphore_trywait(kestrune_semaphore* semaphore);
/* semaphore_wait for at most milliseconds; 0 taken, SEMAPHORE_TIMED_OUT, negative on failure. */
KESTRUNE_API int semaphore_wait_timeout(kestrune_semaphore* semaphore, uint32_t milliseconds);
/* The current count; 0 for a null handle. */
KESTRUNE_API uint32_t semaphore_value(kestrune_semaphore* semaphore);
/* Stores value atomically; the previous value. */
KESTRUNE_API int atomic_set(atomic_cell* cell, int value);
/* Loads the value atomically; cannot fail. */
KESTRUNE_API int atomic_get(atomic_cell* cell);
/* Adds value atomically; the previous value. */
KESTRUNE_API int atomic_add(atomic_cell* cell, int value);
/* Stores a pointer atomically; the previous pointer. */
KESTRUNE_API void* atomic_set_ptr(void** cell, void* value);
/* Loads a pointer atomically; cannot fail. */
KESTRUNE_API void* atomic_get_ptr(void** cell);
/* Adds one atomically; the previous value. */
KESTRUNE_API int atomic_inc_ref(atomic_cell* cell);
/* Subtracts one atomically; true when the count reached 0. */
KESTRUNE_API bool atomic_dec_ref(atomic_cell* cell);
/* Stores desired when the cell holds expected; non-zero when it did. */
KESTRUNE_API int atomic_cas(atomic_cell* cell, int expected, int desired);
/* Stores desired when the pointer cell holds expected; non-zero when it did. */
KESTRUNE_API int atomic_cas_ptr(void** cell, void* expected, void* desired);
/* Spin locks are caller-owned integers, 0 when free. */
/* Spins until the caller-owned lock (0 when free) is taken; cannot fail. */
KESTRUNE_API void atomic_lock(int* lock);
/* Frees a spin lock; cannot fail. */
KESTRUNE_API void atomic_unlock(int* lock);
/* Takes the spin lock when free; non-zero when taken. */
KESTRUNE_API int atomic_trylock(int* lock);
/* Keeps the compiler from moving memory accesses across the call; does nothing at run time. */
KESTRUNE_API void atomic_compiler_barrier(void);

/* ---- network: sockets and selectors ---- */

/* Flags of network_address_find and network_socket_create: UDP wins over TCP, IPv6 over IPv4. */
enum {
    NETWORK_TCP = 1,
    NETWORK_UDP = 2,
    NETWORK_IPV4 = 4,
    NETWORK_IPV6 = 8
};

#define NETWORK_SELECTOR_CAPACITY 1024

/* An operating-system socket address (IPv4 or IPv6), zero-filled after the used part. */
typedef struct network_address {
    uint8_t bytes[32];
} network_address;

/* Operating-system socket; -1 marks failure. */
typedef int64_t network_socket;

typedef struct socket_view {
    network_socket* data;
    int64_t count;
} socket_view;

/* Each selector owns its socket array until it is destroyed; other calls never overwrite it. */
typedef struct network_selector_entry {
    bool in_use;
    network_socket* sockets;
    int32_t count;
    int32_t capacity;
} network_selector_entry;

/* The selector table; an entry is in use from network_selector_create to network_selector_destroy. */
extern KESTRUNE_API network_selector_entry selectors[NETWORK_SELECTOR_CAPACITY];
/* Entries of selectors ever taken. */
extern KESTRUNE_API int32_t num_selectors;

/* Resolves host and port (empty host: the wildcard for binding); a zeroed record on failure. */
KESTRUNE_API network_address network_address_find(string host, uint16_t port, uint32_t flags);
/* The address as numeric text in the dynamic ring; empty for a null, zeroed or unknown address. */
KESTRUNE_API string network_address_get_ip(const network_address* address);
/* The address's port; 0 for a null address. */
KESTRUNE_API uint16_t network_address_get_port(const network_address* address);
/* This computer's distinct addresses, IPv4 then IPv6, loopback last; writes capacity at most; all there are, -1 on failure. */
KESTRUNE_API int32_t network_local_addresses(network_address* addresses, int32_t capacity);
/* Makes a socket of the NETWORK_ flags with address reuse on; -1 on failure. */
KESTRUNE_API network_socket network_socket_create(uint32_t flags);
/* Closes the socket; 0 on success, -1 on failure (a socket closed already). */
KESTRUNE_API int network_socket_destroy(network_socket socket);
/* True for the -1 of a failed socket call. */
KESTRUNE_API bool network_socket_failed(network_socket socket);
/* Binds the socket to the address; false for a null or zeroed address or on failure (a port in use). */
KESTRUNE_API bool network_socket_bind(network_socket socket, const network_address* address);
/* Writes the local address the socket is bound to (the chosen port after binding port 0); false on failure. */
KESTRUNE_API bool network_socket_get_address(network_socket socket, network_address* address);
/* Makes calls on the socket wait (true) or return at once; false on failure. */
KESTRUNE_API bool network_socket_set_blocking(network_socket socket, bool blocking);
/* Connects to the address; false for a null or zeroed address or on failure. */
KESTRUNE_API bool network_tcp_connect(network_socket socket, const network_address* address);
/* Shuts both directions of the connection down; 0 on success, -1 on failure. */
KESTRUNE_API int network_tcp_disconnect(network_socket socket);
/* Starts accepting connections on the bound socket; false on failure. */
KESTRUNE_API bool network_tcp_listen(network_socket socket);
/* Takes a waiting connection, writing the peer's address unless null; its socket, -1 on failure. */
KESTRUNE_API network_socket network_tcp_accept(network_socket socket, network_address* address);
/* Sends up to size bytes; the bytes sent, -1 on failure (never a SIGPIPE). */
KESTRUNE_API int network_tcp_send(network_socket socket, uint32_t size, const void* data);
/* Receives up to size bytes; the bytes received, 0 when the peer closed, -1 on failure. */
KESTRUNE_API int network_tcp_receive(network_socket socket, uint32_t size, void* buffer);
/* Sends a datagram to the address; the bytes sent, -1 for a null or zeroed address or on failure. */
KESTRUNE_API int network_udp_send(network_socket socket, uint32_t size, const void* data, const network_address* address);
/* Receives a datagram, writing the sender unless null; the bytes received, -1 on failure. */
KESTRUNE_API int network_udp_receive(network_socket socket, uint32_t size, void* buffer, network_address* address);
/* Takes the lowest free selector; its index, -1 when all 1024 are in use. */
KESTRUNE_API int32_t network_selector_create(void);
/* Frees a selector and its set; an unused index only sets the last error. */
KESTRUNE_API void network_selector_destroy(int32_t selector);
/* True for -1 and for any index that is not an open selector. */
KESTRUNE_API bool network_selector_failed(int32_t selector);
/* Adds a socket to the selector's set (duplicates allowed); an unused index only sets the last error. */
KESTRUNE_API void network_selector_add(int32_t selector, network_socket socket);
/* Removes one copy of a socket from the set; an unused index only sets the last error. */
KESTRUNE_API void network_selector_remove(int32_t selector, network_socket socket);
/* Waits for readable sockets, copied to out in added order; their number, 0 on time-out, -1 on failure. */
KESTRUNE_API int network_selector_wait(int32_t selector, int64_t timeout_milliseconds, socket_view out);

/* ---- controllers, haptics and clipboard ---- */

/* Power levels of controller_power. */
enum {
    CONTROLLER_POWER_UNKNOWN = 0,
    CONTROLLER_POWER_EMPTY = 1,
    CONTROLLER_POWER_LOW = 2,
    CONTROLLER_POWER_MEDIUM = 3,
    CONTROLLER_POWER_FULL = 4,
    CONTROLLER_POWER_WIRED = 5,
    CONTROLLER_POWER_MAX = 6
};

/* Arrival and removal seen by the last input_poll; the outputs may be null. */
/* True when a joystick arrived during the last poll, its device index written unless index is null. */
KESTRUNE_API bool controller_is_added(int32_t* index);
/* True when a joystick left during the last poll, its handle written unless the output is null. */
KESTRUNE_API bool controller_is_removed(kestrune_controller** controller);
/* The number of joysticks connected; negative without the joystick subsystem. */
KESTRUNE_API int controller_num(void);
/* Names are SDL's own storage; empty when SDL has none. */
/* The device's name (SDL's storage); empty when SDL has none. */
KESTRUNE_API string controller_name_for_index(int32_t index);
/* Opens a joystick by device index; null when it cannot be opened. */
KESTRUNE_API kestrune_controller* controller_open(int32_t index);
/* Closes a joystick; a null handle is ignored. */
KESTRUNE_API void controller_close(kestrune_controller* controller);
/* An open joystick's name (SDL's storage); empty for a null handle. */
KESTRUNE_API string controller_name(kestrune_controller* controller);
/* The joystick's button count; negative for a null or closed handle. */
KESTRUNE_API int controller_num_buttons(kestrune_controller* controller);
/* The joystick's axis count; negative for a null or closed handle. */
KESTRUNE_API int controller_num_axes(kestrune_controller* controller);
/* The joystick's trackball count; negative for a null or closed handle. */
KESTRUNE_API int controller_num_balls(kestrune_controller* controller);
/* The joystick's hat count; negative for a null or closed handle. */
KESTRUNE_API int controller_num_hats(kestrune_controller* controller);
/* 1 when the joystick can rumble, 0 when not, negative for a bad handle. */
KESTRUNE_API int controller_is_haptic(kestrune_controller* controller);
/* 1 while the joystick is attached, 0 when not or for a bad handle. */
KESTRUNE_API int controller_is_connected(kestrune_controller* controller);
/* The joystick's CONTROLLER_POWER_ level; CONTROLLER_POWER_UNKNOWN for a bad handle. */
KESTRUNE_API uint8_t controller_power(kestrune_controller* controller);
/* 1 while the button is down, 0 when up, out of range or a bad handle. */
KESTRUNE_API uint8_t controller_button(kestrune_controller* controller, int32_t index);
/* The axis position, -32768 to 32767; 0 out of range or for a bad handle. */
KESTRUNE_API int16_t controller_axis(kestrune_controller* controller, int32_t index);
/* Writes a trackball's motion since the last call to dx and dy; 0 on success, negative on failure. */
KESTRUNE_API int controller_ball(kestrune_controller* controller, int32_t index, int32_t* dx, int32_t* dy);
/* Hat positions: one bit per direction, two bits on the diagonals. */
enum {
    CONTROLLER_HAT_CENTERED = 0,
    CONTROLLER_HAT_UP = 1,
    CONTROLLER_HAT_RIGHT = 2,
    CONTROLLER_HAT_DOWN = 4,
    CONTROLLER_HAT_LEFT = 8,
    CONTROLLER_HAT_RIGHT_UP = 3,
    CONTROLLER_HAT_RIGHT_DOWN = 6,
    CONTROLLER_HAT_LEFT_UP = 9,
    CONTROLLER_HAT_LEFT_DOWN = 12
};

/* The hat's CONTROLLER_HAT_ position; CONTROLLER_HAT_CENTERED out of range or for a bad handle. */
KESTRUNE_API uint8_t controller_hat(kestrune_controller* controller, int32_t index);
/* 1 when the mouse can rumble, 0 when not; cannot fail. */
KESTRUNE_API int input_mouse_is_haptic(void);
/* Opens a joystick's force feedback; null when it has none. */
KESTRUNE_API kestrune_haptic* haptic_open_controller(kestrune_controller* controller);
/* Opens the mouse's force feedback; null when it has none. */
KESTRUNE_API kestrune_haptic* haptic_open_mouse(void);
/* Closes a haptic device; a null handle is ignored. */
KESTRUNE_API void haptic_close(kestrune_haptic* haptic);
/* 1 when the device can rumble, 0 when not, negative for a bad handle. */
KESTRUNE_API int haptic_has_rumble(kestrune_haptic* haptic);
/* Prepares the device to rumble; false when it cannot. */
KESTRUNE_API bool haptic_init_rumble(kestrune_haptic* haptic);
/* Rumbles at strength 0 to 1 for milliseconds; 0 on success, negative on failure. */
KESTRUNE_API int haptic_play_rumble(kestrune_haptic* haptic, float strength, uint32_t milliseconds);
/* Stops the rumble; 0 on success, negative on failure. */
KESTRUNE_API int haptic_stop_rumble(kestrune_haptic* haptic);

/* Clipboard text goes to this block from now on at position 0 (null memory: the dynamic ring). */
KESTRUNE_API void clipboard_set_buffer(int64_t size, void* memory);
/* Sets the clipboard block's position. */
KESTRUNE_API void clipboard_set_buffer_position(int64_t position);
/* The clipboard block's position; cannot fail. */
KESTRUNE_API int64_t clipboard_get_buffer_position(void);
/* The clipboard's UTF-8 text, unterminated; empty without text or when it does not fit (then the error is set). */
KESTRUNE_API string clipboard_get(void);
/* Puts the text on the clipboard; 0 on success, negative on failure. */
KESTRUNE_API int clipboard_set(string text);

/* ---- math ---- */

/* Square root; NaN for negative x. */
KESTRUNE_API double math_sqrt(double x);
/* x rounded down; cannot fail. */
KESTRUNE_API double math_floor(double x);
/* x rounded up; cannot fail. */
KESTRUNE_API double math_ceil(double x);
/* x with its sign bit cleared; cannot fail. */
KESTRUNE_API double math_abs(double x);
/* Remainder of x / y with the sign of x; NaN for y = 0. */
KESTRUNE_API double math_mod(double x, double y);
/* Fractional part of x with the sign of x; 0 for infinities. */
KESTRUNE_API double math_fract(double x);
/* x to the power y; NaN for a negative x with a fractional y. */
KESTRUNE_API double math_pow(double x, double y);
/* Natural logarithm; NaN for negative x, -infinity for 0. */
KESTRUNE_API double math_ln(double x);
/* Base-10 logarithm; NaN for negative x, -infinity for 0. */
KESTRUNE_API double math_log(double x);
/* e to the power x; infinity when too large. */
KESTRUNE_API double math_exp(double x);
/* Cosine of x radians; NaN for infinities. */
KESTRUNE_API double math_cos(double x);
/* Sine of x radians; NaN for infinities. */
KESTRUNE_API double math_sin(double x);
/* Arc cosine in radians; NaN outside -1 to 1. */
KESTRUNE_API double math_acos(double x);
/* Arc sine in radians; NaN outside -1 to 1. */
KESTRUNE_API double math_asin(double x);
/* Arc tangent in radians; cannot fail. */
KESTRUNE_API double math_atan(double x);
/* Angle of the point (x, y) in radians, -pi to pi; cannot fail. */
KESTRUNE_API double math_atan2(double y, double x);
/* Hyperbolic cosine; infinity when too large. */
KESTRUNE_API double math_cosh(double x);
/* Hyperbolic sine; infinity when too large. */
KESTRUNE_API double math_sinh(double x);
/* Hyperbolic tangent; cannot fail. */
KESTRUNE_API double math_tanh(double x);
/* Inverse hyperbolic cosine; NaN below 1. */
KESTRUNE_API double math_acosh(double x);
/* Inverse hyperbolic sine; cannot fail. */
KESTRUNE_API double math_asinh(double x);
/* Inverse hyperbolic tangent; NaN outside -1 to 1, infinities at them. */
KESTRUNE_API double math_atanh(double x);
/* x times 2 to the power exponent; infinity when too large. */
KESTRUNE_API double math_ldexp(double x, int32_t exponent);
/* Mantissa in [0.5, 1) (or 0), the exponent written unless the pointer is null; cannot fail. */
KESTRUNE_API double math_frexp(double x, int32_t* exponent);

#ifdef __cplusplus
}
#endif

#endif
