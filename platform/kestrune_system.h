/* kestrune_system: a flat C interface over SDL2, OpenGL 3.3 core and the operating system.
 *
 * Text crosses the interface as `string` views (pointer + byte count, no terminator).
 * Text and arrays the library returns live in its scratch rings and stay valid only
 * until the ring wraps: copy what you keep. The library's globals are unsynchronised;
 * call it from one thread at a time. */
#ifndef KESTRUNE_SYSTEM_H
#define KESTRUNE_SYSTEM_H

#include <stdbool.h>
#include <stdint.h>

#define KESTRUNE_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Cursor;
struct _SDL_Joystick;

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

extern KESTRUNE_API uint8_t temporary_buffer[TEMPORARY_BUFFER_SIZE];
extern KESTRUNE_API int32_t temporary_pos;
extern KESTRUNE_API struct SDL_Cursor* system_cursors[SYSTEM_CURSOR_COUNT];

KESTRUNE_API void system_init(uint32_t flags);
KESTRUNE_API void system_release(void);
KESTRUNE_API int64_t system_time(void);
KESTRUNE_API uint64_t system_ticks(void);
KESTRUNE_API uint64_t system_performance_counter(void);
KESTRUNE_API uint64_t system_performance_frequency(void);
KESTRUNE_API void system_sleep(uint32_t milliseconds);
KESTRUNE_API int system_execute(string command);
KESTRUNE_API void* system_load_library(string path);
KESTRUNE_API void* system_load_function(void* library, string name);
KESTRUNE_API void system_unload_library(void* library);
/* NUL-terminated UTF-16 copy in the temporary ring; invalid UTF-8 becomes U+FFFD. */
KESTRUNE_API const uint16_t* to_wide_cstr(string text);

/* ---- display: window and graphics context ---- */

enum {
    DISPLAY_HIDDEN = 1,
    DISPLAY_BORDERLESS = 2,
    DISPLAY_RESIZABLE = 4,
    DISPLAY_MINIMIZED = 8,
    DISPLAY_MAXIMIZED = 16,
    DISPLAY_FULLSCREEN = 32,
    DISPLAY_VSYNC = 64,
    DISPLAY_SOFTWARE = 128
};

typedef struct display_info {
    int32_t width;
    int32_t height;
    int32_t refresh_rate;
} display_info;

extern KESTRUNE_API struct SDL_Window* sdl_window;
extern KESTRUNE_API uint32_t sdl_window_id;
extern KESTRUNE_API void* opengl_context;
extern KESTRUNE_API bool opengl_initialized;
extern KESTRUNE_API struct SDL_Renderer* sdl_renderer;
extern KESTRUNE_API struct SDL_Texture* sdl_texture;
extern KESTRUNE_API int32_t sdl_texture_width;
extern KESTRUNE_API int32_t sdl_texture_height;
extern KESTRUNE_API bool is_software_rendering;
extern KESTRUNE_API bool sdl_vsync;
extern KESTRUNE_API bool fullscreen;

KESTRUNE_API bool display_open(int32_t width, int32_t height, string title, uint32_t flags, int32_t samples);
KESTRUNE_API void display_close(void);
KESTRUNE_API void init_opengl_renderer(void);
KESTRUNE_API void init_sdl_renderer(int32_t width, int32_t height, bool vsync);
KESTRUNE_API void display_set_vsync(bool on);
KESTRUNE_API void display_set_software_graphics(bool on);
/* pixels: width x height RGBA bytes, rows top to bottom. */
KESTRUNE_API void display_set_content(int32_t width, int32_t height, const void* pixels);
KESTRUNE_API void pipeline_present(void);
KESTRUNE_API void display_set_title(string title);
KESTRUNE_API void display_set_size(int32_t width, int32_t height);
KESTRUNE_API void display_set_icon(int32_t width, int32_t height, const void* pixels);
KESTRUNE_API void display_set_visible(bool on);
KESTRUNE_API void display_set_border(bool on);
KESTRUNE_API int display_set_fullscreen(bool on);
KESTRUNE_API void display_set_grab(bool on);
KESTRUNE_API void display_maximize(void);
KESTRUNE_API void display_minimize(void);
KESTRUNE_API void display_restore(void);
KESTRUNE_API void display_get_info(display_info* out);
KESTRUNE_API void screensaver_enable(bool on);
/* kind 2 error, 1 warning, anything else information. */
KESTRUNE_API int show_simple_message_box(uint8_t kind, string title, string message);

/* ---- input: keys, mouse and window events ---- */

#define KEY_CODE_COUNT 108
#define MOUSE_BUTTON_COUNT 5
#define SCANCODE_COUNT 285
#define DROPPED_FILE_CAPACITY 256

enum {
    KEY_ANY = 1,
    KEY_A = 2,
    KEY_Z = 27,
    KEY_0 = 28,
    KEY_1 = 29,
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
    KEY_CTRL = 47,
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
    KEY_DELETE = 79,
    KEY_F1 = 96,
    KEY_F3 = 98,
    KEY_F11 = 106,
    KEY_F12 = 107,
    KEY_NONE = 255
};

enum {
    MOUSE_ANY = 1,
    MOUSE_LEFT = 2,
    MOUSE_MIDDLE = 3,
    MOUSE_RIGHT = 4
};

enum {
    MODIFIER_CTRL = 1,
    MODIFIER_SHIFT = 2,
    MODIFIER_ALT = 4,
    MODIFIER_GUI = 8,
    MODIFIER_CAPS_LOCK = 16,
    MODIFIER_NUM_LOCK = 32
};

extern KESTRUNE_API uint8_t to_key_code[SCANCODE_COUNT];

KESTRUNE_API void input_poll(void);
KESTRUNE_API uint8_t input_key_is_pressed(uint8_t key);
KESTRUNE_API uint8_t input_key_is_released(uint8_t key);
KESTRUNE_API uint8_t input_key_is_held(uint8_t key);
KESTRUNE_API byte_view input_key_pressed_state(void);
KESTRUNE_API byte_view input_key_released_state(void);
KESTRUNE_API byte_view input_key_held_state(void);
KESTRUNE_API uint8_t input_last_pressed_key(void);
KESTRUNE_API uint8_t input_last_released_key(void);
KESTRUNE_API uint8_t input_key_modifiers(void);
KESTRUNE_API uint8_t input_mouse_is_pressed(uint8_t button);
KESTRUNE_API uint8_t input_mouse_is_released(uint8_t button);
KESTRUNE_API uint8_t input_mouse_is_held(uint8_t button);
KESTRUNE_API byte_view input_mouse_pressed_state(void);
KESTRUNE_API byte_view input_mouse_released_state(void);
KESTRUNE_API byte_view input_mouse_held_state(void);
KESTRUNE_API uint8_t input_last_pressed_mouse_button(void);
KESTRUNE_API uint8_t input_last_released_mouse_button(void);
KESTRUNE_API void input_mouse_position(int32_t* x, int32_t* y);
KESTRUNE_API void input_mouse_moved(int32_t* dx, int32_t* dy);
KESTRUNE_API int32_t input_mouse_wheel(void);
KESTRUNE_API void input_mouse_global_position(int32_t* x, int32_t* y);
KESTRUNE_API void input_mouse_set_position(int32_t x, int32_t y);
KESTRUNE_API int input_mouse_set_global_position(int32_t x, int32_t y);
KESTRUNE_API int input_mouse_set_visible(bool on);
KESTRUNE_API int input_mouse_set_relative(bool on);
KESTRUNE_API void input_mouse_set_cursor(uint8_t index);
KESTRUNE_API bool display_is_minimized(void);
KESTRUNE_API bool display_is_maximized(void);
KESTRUNE_API bool display_is_restored(void);
KESTRUNE_API bool display_is_entered(void);
KESTRUNE_API bool display_is_left(void);
KESTRUNE_API bool display_is_focus_gained(void);
KESTRUNE_API bool display_is_focus_lost(void);
KESTRUNE_API bool display_is_closed(void);
KESTRUNE_API bool display_is_resized(int32_t* width, int32_t* height);
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

KESTRUNE_API file_handle* file_open(string path, uint8_t mode);
KESTRUNE_API bool file_failed(file_handle* file);
KESTRUNE_API int file_close(file_handle* file);
KESTRUNE_API uint64_t file_read(file_handle* file, uint64_t count, void* buffer);
KESTRUNE_API uint64_t file_write(file_handle* file, uint64_t count, const void* buffer);
KESTRUNE_API int file_read_byte(file_handle* file);
KESTRUNE_API int file_write_byte(file_handle* file, uint8_t byte);
KESTRUNE_API bool file_seek(file_handle* file, int32_t position);
KESTRUNE_API int file_end(file_handle* file);
/* The stream position is unchanged afterwards. */
KESTRUNE_API int64_t file_size(file_handle* file);
/* True when the path opens for reading; a directory does not count. */
KESTRUNE_API bool file_exists(string path);
KESTRUNE_API bool file_create(string path);
/* Leaves the destination untouched when the source cannot be opened. */
KESTRUNE_API bool file_copy(string from, string to);
KESTRUNE_API bool file_delete(string path);
/* Both renames fail when the target exists. */
KESTRUNE_API bool file_rename(string from, string to);
KESTRUNE_API bool directory_create(string path);
KESTRUNE_API bool directory_delete(string path);
KESTRUNE_API bool directory_rename(string from, string to);
KESTRUNE_API bool directory_exists(string path);
KESTRUNE_API directory_content directory_get_content(string path);

/* ---- images ---- */

/* Decoded pixels and the decoder's working memory come from one caller-supplied block,
 * reclaimed by resetting its position. Components: 1 grey, 2 grey and alpha, 3 RGB, 4 RGBA. */
typedef struct image {
    uint8_t* pixels; /* null when loading failed; rows of width x components bytes */
    int32_t width;
    int32_t height;
} image;

KESTRUNE_API void image_set_buffer(int64_t size, void* memory);
KESTRUNE_API void image_set_buffer_position(int64_t position);
KESTRUNE_API int64_t image_get_buffer_position(void);
/* Flips vertically on load and on save, so the first row in memory is the bottom row. */
KESTRUNE_API void image_set_flip(bool on);
KESTRUNE_API image image_load(string path, int8_t components);
KESTRUNE_API image image_load_from_memory(int32_t length, const void* data, int8_t components);
/* The extension chooses the writer: "bmp", "png", "tga" or "jpg", exactly; anything else is false. */
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

/* Texture target 0 1D, 1 2D, 2 3D, 3 cube map, 4 buffer, 5 1D array, 6 2D array,
 * 7 2D multisample, 8 2D multisample array. Data type 0 unsigned byte, 1 unsigned short,
 * 2 unsigned int, 3 byte, 4 short, 5 int, 6 float, 7 ubyte 3_3_2, 8 ushort 4_4_4_4,
 * 9 ushort 5_5_5_1, 10 uint 8_8_8_8, 11 uint 10_10_10_2, 12 uint 24_8, 13 float 32 + uint 24_8.
 * Pixel format 0 depth, 1 stencil, 2 depth-stencil, 3 red, 4 green, 5 blue, 6 RG, 7 RGB,
 * 8 RGBA, 9 to 14 the integer forms of red, green, blue, RG, RGB, RGBA.
 * Internal format 0 DEPTH16, 1 DEPTH24, 2 DEPTH32, 3 DEPTH32F, 4 STENCIL8, 5 DEPTH24_STENCIL8,
 * 6 DEPTH32F_STENCIL8, 7 R8, 8 R16, 9 RG8, 10 RG16, 11 RGB8, 12 RGB16, 13 RGBA8, 14 RGBA16,
 * 15-22 the same eight as _SNORM, 23 R16F, 24 R32F, 25 RG16F, 26 RG32F, 27 RGB16F, 28 RGB32F,
 * 29 RGBA16F, 30 RGBA32F, 31-42 R/RG/RGB/RGBA 8I, 16I, 32I, 43-54 the same as UI, 55 R3_G3_B2,
 * 56 RGB4, 57 RGBA4, 58 RGB5, 59 RGB5_A1, 60 RGB10, 61 RGB10_A2, 62 RGB10_A2UI, 63 RGB12,
 * 64 RGBA12, 65 R11F_G11F_B10F, 66 RGB9_E5, 67 SRGB8, 68 SRGB8_ALPHA8, 69 none,
 * 70-75 COMPRESSED_ RED, RG, RGB, RGBA, SRGB, SRGB_ALPHA, 76-79 RGTC1, signed RGTC1, RGTC2,
 * signed RGTC2, 80-83 S3TC DXT1 RGB, DXT1 RGBA, DXT3, DXT5.
 * Wrap mode 0 repeat, 1 mirrored repeat, 2 clamp to edge, 3 clamp to border.
 * Filter 0 nearest, 1 linear, 2 nearest mipmap nearest, 3 linear mipmap nearest,
 * 4 nearest mipmap linear, 5 linear mipmap linear.
 * Texture parameter 0 wrap S, 1 wrap T, 2 wrap R, 3 min filter, 4 mag filter, 5 border colour,
 * 6 base level, 7 max level, 8 min LOD, 9 max LOD. Swizzle 0 zero, 1 one, 2 red, 3 green,
 * 4 blue, 5 alpha. */
KESTRUNE_API uint32_t texture_create(void);
KESTRUNE_API void texture_destroy(uint32_t texture);
KESTRUNE_API void texture_bind(uint32_t target, uint32_t texture);
KESTRUNE_API void texture_unbind(uint32_t target);
KESTRUNE_API void texture_unit(uint32_t unit);
KESTRUNE_API void texture_image_1d(uint32_t target, int32_t level, uint32_t internal_format, int32_t width,
                                   uint32_t pixel_format, uint32_t data_type, const void* pixels);
KESTRUNE_API void texture_image_2d(uint32_t target, int32_t level, uint32_t internal_format, int32_t width,
                                   int32_t height, uint32_t pixel_format, uint32_t data_type, const void* pixels);
KESTRUNE_API void texture_image_3d(uint32_t target, int32_t level, uint32_t internal_format, int32_t width,
                                   int32_t height, int32_t depth, uint32_t pixel_format, uint32_t data_type,
                                   const void* pixels);
KESTRUNE_API void texture_image_buffer(uint32_t target, uint32_t internal_format, uint32_t buffer);
KESTRUNE_API void texture_image_2d_multisample(uint32_t target, int32_t samples, uint32_t internal_format,
                                               int32_t width, int32_t height, bool fixed_sample_locations);
KESTRUNE_API void texture_image_2d_multisample_array(uint32_t target, int32_t samples, uint32_t internal_format,
                                                     int32_t width, int32_t height, int32_t depth,
                                                     bool fixed_sample_locations);
KESTRUNE_API void texture_sub_image_1d(uint32_t target, int32_t level, int32_t x_offset, int32_t width,
                                       uint32_t pixel_format, uint32_t data_type, const void* pixels);
KESTRUNE_API void texture_sub_image_2d(uint32_t target, int32_t level, int32_t x_offset, int32_t y_offset,
                                       int32_t width, int32_t height, uint32_t pixel_format, uint32_t data_type,
                                       const void* pixels);
KESTRUNE_API void texture_sub_image_3d(uint32_t target, int32_t level, int32_t x_offset, int32_t y_offset,
                                       int32_t z_offset, int32_t width, int32_t height, int32_t depth,
                                       uint32_t pixel_format, uint32_t data_type, const void* pixels);
KESTRUNE_API void texture_compressed_image_1d(uint32_t target, int32_t level, uint32_t internal_format,
                                              int32_t width, int32_t byte_count, const void* data);
KESTRUNE_API void texture_compressed_image_2d(uint32_t target, int32_t level, uint32_t internal_format,
                                              int32_t width, int32_t height, int32_t byte_count, const void* data);
KESTRUNE_API void texture_compressed_image_3d(uint32_t target, int32_t level, uint32_t internal_format,
                                              int32_t width, int32_t height, int32_t depth, int32_t byte_count,
                                              const void* data);
KESTRUNE_API void texture_compressed_sub_image_1d(uint32_t target, int32_t level, int32_t x_offset, int32_t width,
                                                  uint32_t internal_format, int32_t byte_count, const void* data);
KESTRUNE_API void texture_compressed_sub_image_2d(uint32_t target, int32_t level, int32_t x_offset,
                                                  int32_t y_offset, int32_t width, int32_t height,
                                                  uint32_t internal_format, int32_t byte_count, const void* data);
KESTRUNE_API void texture_compressed_sub_image_3d(uint32_t target, int32_t level, int32_t x_offset,
                                                  int32_t y_offset, int32_t z_offset, int32_t width,
                                                  int32_t height, int32_t depth, uint32_t internal_format,
                                                  int32_t byte_count, const void* data);
KESTRUNE_API void texture_copy_image_1d(uint32_t target, int32_t level, uint32_t internal_format, int32_t x,
                                        int32_t y, int32_t width);
KESTRUNE_API void texture_copy_image_2d(uint32_t target, int32_t level, uint32_t internal_format, int32_t x,
                                        int32_t y, int32_t width, int32_t height);
/* The copy_sub_image exports take the source corner first, then the destination offsets. */
KESTRUNE_API void texture_copy_sub_image_1d(uint32_t target, int32_t level, int32_t x, int32_t y,
                                            int32_t x_offset, int32_t width);
KESTRUNE_API void texture_copy_sub_image_2d(uint32_t target, int32_t level, int32_t x, int32_t y,
                                            int32_t x_offset, int32_t y_offset, int32_t width, int32_t height);
KESTRUNE_API void texture_copy_sub_image_3d(uint32_t target, int32_t level, int32_t x, int32_t y,
                                            int32_t x_offset, int32_t y_offset, int32_t z_offset, int32_t width,
                                            int32_t height);
KESTRUNE_API void texture_parameter_wrap(uint32_t target, uint32_t parameter, uint32_t wrap_mode);
KESTRUNE_API void texture_parameter_filter(uint32_t target, uint32_t parameter, uint32_t filter);
KESTRUNE_API void texture_parameter_swizzle(uint32_t target, uint32_t r, uint32_t g, uint32_t b, uint32_t a);
KESTRUNE_API void texture_parameterf(uint32_t target, uint32_t parameter, float value);
KESTRUNE_API void texture_parameteri(uint32_t target, uint32_t parameter, int32_t value);
KESTRUNE_API void texture_parameterfa(uint32_t target, uint32_t parameter, float_view values);
KESTRUNE_API void texture_parameteria(uint32_t target, uint32_t parameter, int_view values);
KESTRUNE_API void texture_integer_parameteria(uint32_t target, uint32_t parameter, int_view values);
KESTRUNE_API void texture_integer_parameterqa(uint32_t target, uint32_t parameter, uint_view values);
KESTRUNE_API void texture_generate_mipmap(uint32_t target);
KESTRUNE_API void texture_get_image(uint32_t target, int32_t level, uint32_t pixel_format, uint32_t data_type,
                                    void* pixels);

/* Frame-buffer target 0 draw, 1 read, 2 both. Attachment kind 0 depth, 1 stencil,
 * 2 depth and stencil, 3 colour (with the colour index). Cube faces 0 +X, 1 -X, 2 +Y, 3 -Y,
 * 4 +Z, 5 -Z. Status 0 complete (or unknown), 1 undefined, 2 incomplete attachment,
 * 3 missing attachment, 4 incomplete draw buffer, 5 incomplete read buffer,
 * 6 incomplete multisample, 7 incomplete layer targets, 8 unsupported. */
KESTRUNE_API uint32_t frame_buffer_create(void);
KESTRUNE_API void frame_buffer_destroy(uint32_t frame_buffer);
KESTRUNE_API void frame_buffer_bind(uint32_t target, uint32_t frame_buffer);
/* Binds the window. */
KESTRUNE_API void frame_buffer_unbind(uint32_t target);
KESTRUNE_API void frame_buffer_texture(uint32_t target, uint32_t attachment_kind, uint32_t colour_index,
                                       uint32_t texture, int32_t level);
KESTRUNE_API void frame_buffer_texture_face(uint32_t target, uint32_t attachment_kind, uint32_t colour_index,
                                            uint32_t texture, int32_t level, uint32_t face);
KESTRUNE_API void frame_buffer_texture_layer(uint32_t target, uint32_t attachment_kind, uint32_t colour_index,
                                             uint32_t texture, int32_t level, int32_t layer);
KESTRUNE_API void frame_buffer_render_buffer(uint32_t target, uint32_t attachment_kind, uint32_t colour_index,
                                             uint32_t render_buffer);
KESTRUNE_API uint8_t frame_buffer_get_status(uint32_t target);
/* Rectangles by corner and size, from the read frame buffer to the draw frame buffer. */
KESTRUNE_API void frame_buffer_blit(int32_t source_x, int32_t source_y, int32_t source_width,
                                    int32_t source_height, int32_t destination_x, int32_t destination_y,
                                    int32_t destination_width, int32_t destination_height, uint32_t buffer_set,
                                    uint32_t filter);

KESTRUNE_API uint32_t render_buffer_create(void);
KESTRUNE_API void render_buffer_destroy(uint32_t render_buffer);
KESTRUNE_API void render_buffer_bind(uint32_t render_buffer);
KESTRUNE_API void render_buffer_unbind(void);
KESTRUNE_API void render_buffer_storage(uint32_t internal_format, int32_t width, int32_t height);
KESTRUNE_API void render_buffer_storage_multisample(uint32_t internal_format, int32_t width, int32_t height,
                                                    int32_t samples);

/* Buffer target 0 array, 1 element array, 2 copy write, 3 copy read, 4 pixel pack,
 * 5 pixel unpack, 6 texture, 7 uniform. Usage 0 static draw, 1 static read, 2 static copy,
 * 3 dynamic draw, 4 dynamic read, 5 dynamic copy, 6 stream draw, 7 stream read, 8 stream copy.
 * Map access 0 write only, 1 read only, 2 read and write. */
KESTRUNE_API uint32_t buffer_create(void);
KESTRUNE_API void buffer_destroy(uint32_t buffer);
KESTRUNE_API void buffer_bind(uint32_t target, uint32_t buffer);
KESTRUNE_API void buffer_unbind(uint32_t target);
KESTRUNE_API void buffer_bind_base(uint32_t target, uint32_t index, uint32_t buffer);
KESTRUNE_API void buffer_bind_range(uint32_t target, uint32_t index, uint32_t buffer, int64_t offset, int64_t size);
KESTRUNE_API void buffer_data(uint32_t target, int64_t size, const void* data, uint32_t usage);
KESTRUNE_API void buffer_sub_data(uint32_t target, int64_t offset, int64_t size, const void* data);
/* The view's count is the size given; null data when mapping fails. */
KESTRUNE_API byte_view buffer_map(uint32_t target, int64_t size, uint32_t access);
KESTRUNE_API bool buffer_unmap(uint32_t target);
KESTRUNE_API void buffer_copy_sub_data(uint32_t read_target, uint32_t write_target, int64_t read_offset,
                                       int64_t write_offset, int64_t size);

KESTRUNE_API uint32_t vertex_array_create(void);
KESTRUNE_API void vertex_array_destroy(uint32_t vertex_array);
KESTRUNE_API void vertex_array_bind(uint32_t vertex_array);
KESTRUNE_API void vertex_array_unbind(void);
KESTRUNE_API void attribute_enable(uint32_t index, bool on);
/* offset: bytes into the bound array buffer. */
KESTRUNE_API void attribute_format(uint32_t index, int32_t size, uint32_t data_type, bool normalised,
                                   int32_t stride, int32_t offset);
KESTRUNE_API void attribute_integer_format(uint32_t index, int32_t size, uint32_t data_type, int32_t stride,
                                           int32_t offset);
KESTRUNE_API void attribute_divisor(uint32_t index, uint32_t divisor);
/* Primitive modes are OpenGL's own: 0 points, 1 lines, 2 line loop, 3 line strip,
 * 4 triangles, 5 triangle strip, 6 triangle fan, 10 to 13 adjacency. */
KESTRUNE_API void draw_arrays(uint32_t mode, int32_t first, int32_t count, int32_t instances);
/* offset: bytes into the bound element buffer; index type from the data-type table. */
KESTRUNE_API void draw_elements(uint32_t mode, uint32_t index_type, int32_t offset, int32_t count,
                                int32_t base_vertex, int32_t instances);

/* Comparison 0 never, 1 always, 2 less, 3 less or equal, 4 greater, 5 greater or equal,
 * 6 equal, 7 not equal. Face 0 front, 1 back, 2 both. Stencil operation 0 keep, 1 zero,
 * 2 replace, 3 increment, 4 increment and wrap, 5 decrement, 6 decrement and wrap, 7 invert.
 * Blend factor 0 zero, 1 one, 2 source colour, 3 source alpha, 4 destination colour,
 * 5 destination alpha, 6 constant colour, 7 constant alpha, 8 to 13 one minus 2 to 7.
 * Blend equation 0 add, 1 subtract, 2 reverse subtract, 3 min, 4 max.
 * Logic operation 0 clear, 1 set, 2 copy, 3 copy inverted, 4 no-op, 5 invert, 6 and, 7 nand,
 * 8 or, 9 nor, 10 xor, 11 equivalent, 12 and reverse, 13 and inverted, 14 or reverse,
 * 15 or inverted. Polygon mode 0 fill, 1 line, 2 point. Pixel-store parameter 0 swap bytes,
 * 1 LSB first, 2 row length, 3 image height, 4 skip pixels, 5 skip rows, 6 skip images,
 * 7 alignment for packing, 8 to 15 the same for unpacking. */
KESTRUNE_API void pipeline_clear(uint32_t buffer_set);
KESTRUNE_API void pipeline_clear_color(float r, float g, float b, float a);
KESTRUNE_API void pipeline_clear_depth(float depth);
KESTRUNE_API void pipeline_clear_stencil(uint8_t value);
KESTRUNE_API void pipeline_depth_enable(bool on);
KESTRUNE_API void pipeline_depth_clamp(bool on);
KESTRUNE_API void pipeline_stencil_enable(bool on);
KESTRUNE_API void pipeline_blend_enable(bool on);
KESTRUNE_API void pipeline_logic_enable(bool on);
KESTRUNE_API void pipeline_cull_enable(bool on);
KESTRUNE_API void pipeline_scissor_enable(bool on);
KESTRUNE_API void pipeline_point_shader_enable(bool on);
KESTRUNE_API void pipeline_primitive_restart_enable(bool on);
KESTRUNE_API void pipeline_multisample_enable(bool on);
/* Clip distance index modulo 16384. */
KESTRUNE_API void pipeline_clip_plane_enable(uint32_t index, bool on);
KESTRUNE_API void pipeline_depth_func(uint32_t comparison);
KESTRUNE_API void pipeline_depth_mask(bool on);
KESTRUNE_API void pipeline_depth_range(float near_value, float far_value);
KESTRUNE_API void pipeline_stencil_func(uint32_t comparison, uint8_t reference, uint8_t mask);
KESTRUNE_API void pipeline_stencil_op(uint32_t stencil_fail, uint32_t depth_fail, uint32_t pass);
KESTRUNE_API void pipeline_stencil_mask(uint8_t mask);
KESTRUNE_API void pipeline_stencil_func_separate(uint32_t face, uint32_t comparison, uint8_t reference, uint8_t mask);
KESTRUNE_API void pipeline_stencil_op_separate(uint32_t face, uint32_t stencil_fail, uint32_t depth_fail, uint32_t pass);
KESTRUNE_API void pipeline_stencil_mask_separate(uint32_t face, uint8_t mask);
KESTRUNE_API void pipeline_blend_factor(uint32_t source, uint32_t destination);
KESTRUNE_API void pipeline_blend_factor_separate(uint32_t source_color, uint32_t destination_color,
                                                 uint32_t source_alpha, uint32_t destination_alpha);
KESTRUNE_API void pipeline_blend_equation(uint32_t equation);
KESTRUNE_API void pipeline_blend_equation_separate(uint32_t color, uint32_t alpha);
KESTRUNE_API void pipeline_blend_color(float r, float g, float b, float a);
KESTRUNE_API void pipeline_color_clamp(bool on);
KESTRUNE_API void pipeline_color_mask(bool r, bool g, bool b, bool a);
KESTRUNE_API void pipeline_logic_op(uint32_t operation);
KESTRUNE_API void pipeline_cull_face(uint32_t face);
KESTRUNE_API void pipeline_cull_orientation(bool counter_clockwise);
KESTRUNE_API void pipeline_polygon_mode(uint32_t face, uint32_t mode);
KESTRUNE_API void pipeline_viewport(int32_t x, int32_t y, int32_t width, int32_t height);
KESTRUNE_API void pipeline_scissor_rect(int32_t x, int32_t y, int32_t width, int32_t height);
KESTRUNE_API void pipeline_point_size(float size);
KESTRUNE_API void pipeline_point_coord_origin(int32_t lower_left);
KESTRUNE_API void pipeline_point_fade_threshold_size(float size);
KESTRUNE_API void pipeline_primitive_restart_index(uint32_t index);
KESTRUNE_API void pipeline_finish(void);
/* Colour attachment indices, a negative entry meaning none; at most 127 entries. */
KESTRUNE_API void pipeline_draw_buffers(int_view colour_indices);
/* A negative index selects none. */
KESTRUNE_API void pipeline_read_buffer(int32_t colour_index);
KESTRUNE_API void pipeline_pixel_store(uint32_t parameter, int32_t value);
KESTRUNE_API void pipeline_read_pixels(int32_t x, int32_t y, int32_t width, int32_t height,
                                       uint32_t pixel_format, uint32_t data_type, void* pixels);
KESTRUNE_API uint8_t pipeline_get_error(void);

/* ---- shaders ---- */

/* One text holds every stage, each after a "#vertex", "#fragment" or "#geometry" marker
 * followed by one whitespace character. On failure log holds the messages written into
 * the caller's log buffer (not NUL-terminated); on success it is empty. */
typedef struct shader_result {
    bool success;
    string log;
} shader_result;

KESTRUNE_API uint32_t shader_create(void);
KESTRUNE_API void shader_destroy(uint32_t program);
KESTRUNE_API void shader_bind(uint32_t program);
KESTRUNE_API void shader_unbind(void);
/* log: the caller's buffer and its capacity in bytes. */
KESTRUNE_API shader_result shader_source(uint32_t program, string source, byte_view log);
KESTRUNE_API int32_t shader_get_attribute_location(uint32_t program, string name);
KESTRUNE_API int32_t shader_get_output_location(uint32_t program, string name);
KESTRUNE_API int32_t shader_get_uniform_location(uint32_t program, string name);
KESTRUNE_API uint32_t shader_get_uniform_block_index(uint32_t program, string name);
KESTRUNE_API void shader_uniform_block_binding(uint32_t program, uint32_t block_index, uint32_t binding);

/* Setters act on the bound program; the array forms pass count vectors or matrices. */
KESTRUNE_API void shader_uniform1f(int32_t location, float x);
KESTRUNE_API void shader_uniform2f(int32_t location, float x, float y);
KESTRUNE_API void shader_uniform3f(int32_t location, float x, float y, float z);
KESTRUNE_API void shader_uniform4f(int32_t location, float x, float y, float z, float w);
KESTRUNE_API void shader_uniform1i(int32_t location, int32_t x);
KESTRUNE_API void shader_uniform2i(int32_t location, int32_t x, int32_t y);
KESTRUNE_API void shader_uniform3i(int32_t location, int32_t x, int32_t y, int32_t z);
KESTRUNE_API void shader_uniform4i(int32_t location, int32_t x, int32_t y, int32_t z, int32_t w);
KESTRUNE_API void shader_uniform1q(int32_t location, uint32_t x);
KESTRUNE_API void shader_uniform2q(int32_t location, uint32_t x, uint32_t y);
KESTRUNE_API void shader_uniform3q(int32_t location, uint32_t x, uint32_t y, uint32_t z);
KESTRUNE_API void shader_uniform4q(int32_t location, uint32_t x, uint32_t y, uint32_t z, uint32_t w);
KESTRUNE_API void shader_uniform1fa(int32_t location, int32_t count, float_view values);
KESTRUNE_API void shader_uniform2fa(int32_t location, int32_t count, float_view values);
KESTRUNE_API void shader_uniform3fa(int32_t location, int32_t count, float_view values);
KESTRUNE_API void shader_uniform4fa(int32_t location, int32_t count, float_view values);
KESTRUNE_API void shader_uniform1ia(int32_t location, int32_t count, int_view values);
KESTRUNE_API void shader_uniform2ia(int32_t location, int32_t count, int_view values);
KESTRUNE_API void shader_uniform3ia(int32_t location, int32_t count, int_view values);
KESTRUNE_API void shader_uniform4ia(int32_t location, int32_t count, int_view values);
KESTRUNE_API void shader_uniform1qa(int32_t location, int32_t count, uint_view values);
KESTRUNE_API void shader_uniform2qa(int32_t location, int32_t count, uint_view values);
KESTRUNE_API void shader_uniform3qa(int32_t location, int32_t count, uint_view values);
KESTRUNE_API void shader_uniform4qa(int32_t location, int32_t count, uint_view values);
/* Matrices are column-major unless transpose is set. */
KESTRUNE_API void shader_uniform_matrix2fa(int32_t location, int32_t count, bool transpose, float_view values);
KESTRUNE_API void shader_uniform_matrix3fa(int32_t location, int32_t count, bool transpose, float_view values);
KESTRUNE_API void shader_uniform_matrix4fa(int32_t location, int32_t count, bool transpose, float_view values);
KESTRUNE_API void shader_uniform_matrix2x3fa(int32_t location, int32_t count, bool transpose, float_view values);
KESTRUNE_API void shader_uniform_matrix3x2fa(int32_t location, int32_t count, bool transpose, float_view values);
KESTRUNE_API void shader_uniform_matrix2x4fa(int32_t location, int32_t count, bool transpose, float_view values);
KESTRUNE_API void shader_uniform_matrix4x2fa(int32_t location, int32_t count, bool transpose, float_view values);
KESTRUNE_API void shader_uniform_matrix3x4fa(int32_t location, int32_t count, bool transpose, float_view values);
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

extern KESTRUNE_API audio_stream audio_streams[AUDIO_STREAM_COUNT];
extern KESTRUNE_API int32_t num_audio_streams; /* slots ever taken; never shrinks */
extern KESTRUNE_API uint32_t audio_player_id;
extern KESTRUNE_API uint32_t audio_recorder_id;

KESTRUNE_API bool audio_open(uint8_t format, uint8_t channels, uint32_t frequency, uint16_t buffer_samples,
                             audio_callback callback, void* user_data);
KESTRUNE_API void audio_play(void);
KESTRUNE_API void audio_pause(void);
KESTRUNE_API void audio_close(void);
KESTRUNE_API void audio_lock(void);
KESTRUNE_API void audio_unlock(void);
KESTRUNE_API bool audio_recorder_open(uint8_t format, uint8_t channels, uint32_t frequency, uint16_t buffer_samples,
                                      audio_callback callback, void* user_data);
KESTRUNE_API void audio_recorder_record(void);
KESTRUNE_API void audio_recorder_pause(void);
KESTRUNE_API void audio_recorder_close(void);
KESTRUNE_API void audio_recorder_lock(void);
KESTRUNE_API void audio_recorder_unlock(void);

/* Decoded samples come from one caller-supplied block, reclaimed by resetting its position. */
KESTRUNE_API void audio_set_buffer(int64_t size, void* memory);
KESTRUNE_API void audio_set_buffer_position(int64_t position);
KESTRUNE_API int64_t audio_get_buffer_position(void);

/* The container comes from the extension ("wav", "flac", "ogg", exactly) or from the first four bytes. */
KESTRUNE_API audio_wave audio_wave_load(uint8_t format, string path);
KESTRUNE_API audio_wave audio_wave_load_from_memory(uint8_t format, int64_t size, const void* data);
/* Converts the caller's samples in place to the stored format before writing. */
KESTRUNE_API bool audio_wave_save(audio_wave wave, string path);
/* In place; the buffer must have room when the target format is wider. */
KESTRUNE_API void audio_wave_convert(audio_wave* wave, uint8_t format);

/* Streams: slot index, or -1 (8-bit formats, all slots taken, paths of 4096 bytes or more). */
KESTRUNE_API int32_t audio_stream_open(uint8_t format, string path, bool for_writing);
KESTRUNE_API int32_t audio_stream_open_from_memory(uint8_t format, int64_t size, const void* data);
KESTRUNE_API audio_stream_info audio_stream_read_info(int32_t slot);
KESTRUNE_API uint64_t audio_stream_read(int32_t slot, uint64_t frames, void* buffer);
KESTRUNE_API void audio_stream_write_info(int32_t slot, const audio_stream_info* info);
/* Converts the caller's samples in place to the stored format. */
KESTRUNE_API uint64_t audio_stream_write(int32_t slot, uint64_t frames, void* samples);
KESTRUNE_API bool audio_stream_seek(int32_t slot, uint64_t frame);
KESTRUNE_API void audio_stream_close(int32_t slot);

/* ---- threads and synchronisation ---- */

struct SDL_Thread;
struct SDL_mutex;
struct SDL_cond;
struct SDL_semaphore;

/* Caller-owned atomic integer, laid out as SDL's atomic type. */
typedef struct atomic_cell {
    int value;
} atomic_cell;

typedef int (*thread_function)(void* data);

enum {
    THREAD_PRIORITY_LOW = 0,
    THREAD_PRIORITY_NORMAL = 1,
    THREAD_PRIORITY_HIGH = 2
};

/* Returned by semaphore_wait_timeout when the time ran out (SDL's time-out code). */
#define SEMAPHORE_TIMED_OUT 1

KESTRUNE_API struct SDL_Thread* thread_create(thread_function function, void* data);
KESTRUNE_API void thread_detach(struct SDL_Thread* thread);
KESTRUNE_API void thread_wait(struct SDL_Thread* thread, int* status);
/* For the calling thread; values other than normal and high ask for low priority. */
KESTRUNE_API int thread_set_priority(uint8_t priority);
/* Thread ids are as wide as the platform's (a pthread_t here). */
KESTRUNE_API uint64_t thread_current_id(void);
KESTRUNE_API uint64_t thread_id(struct SDL_Thread* thread);
KESTRUNE_API struct SDL_mutex* mutex_create(void);
KESTRUNE_API void mutex_destroy(struct SDL_mutex* mutex);
KESTRUNE_API int mutex_lock(struct SDL_mutex* mutex);
KESTRUNE_API int mutex_unlock(struct SDL_mutex* mutex);
KESTRUNE_API bool mutex_trylock(struct SDL_mutex* mutex);
KESTRUNE_API struct SDL_cond* cond_create(void);
KESTRUNE_API void cond_destroy(struct SDL_cond* condition);
KESTRUNE_API int cond_signal(struct SDL_cond* condition);
KESTRUNE_API int cond_broadcast(struct SDL_cond* condition);
KESTRUNE_API int cond_wait(struct SDL_cond* condition, struct SDL_mutex* mutex);
/* True when signalled; false on time-out or error. */
KESTRUNE_API bool cond_wait_timeout(struct SDL_cond* condition, struct SDL_mutex* mutex, uint32_t milliseconds);
KESTRUNE_API struct SDL_semaphore* semaphore_create(uint32_t initial_value);
KESTRUNE_API void semaphore_destroy(struct SDL_semaphore* semaphore);
KESTRUNE_API int semaphore_post(struct SDL_semaphore* semaphore);
KESTRUNE_API int semaphore_wait(struct SDL_semaphore* semaphore);
KESTRUNE_API bool semaphore_trywait(struct SDL_semaphore* semaphore);
/* 0 when taken, SEMAPHORE_TIMED_OUT on time-out, negative on error. */
KESTRUNE_API int semaphore_wait_timeout(struct SDL_semaphore* semaphore, uint32_t milliseconds);
KESTRUNE_API uint32_t semaphore_value(struct SDL_semaphore* semaphore);
KESTRUNE_API int atomic_set(atomic_cell* cell, int value);
KESTRUNE_API int atomic_get(atomic_cell* cell);
KESTRUNE_API int atomic_add(atomic_cell* cell, int value);
KESTRUNE_API void* atomic_set_ptr(void** cell, void* value);
KESTRUNE_API void* atomic_get_ptr(void** cell);
KESTRUNE_API int atomic_inc_ref(atomic_cell* cell);
/* True when the count reached 0. */
KESTRUNE_API bool atomic_dec_ref(atomic_cell* cell);
KESTRUNE_API int atomic_cas(atomic_cell* cell, int expected, int desired);
KESTRUNE_API int atomic_cas_ptr(void** cell, void* expected, void* desired);
/* Spin locks are caller-owned integers, 0 when free. */
KESTRUNE_API void atomic_lock(int* lock);
KESTRUNE_API void atomic_unlock(int* lock);
KESTRUNE_API int atomic_trylock(int* lock);
KESTRUNE_API void atomic_compiler_barrier(void);

/* ---- network: sockets and selectors ---- */

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

/* Socket arrays live in the dynamic ring: build a selector's set shortly before waiting on it. */
typedef struct network_selector_entry {
    bool in_use;
    network_socket* sockets;
    int32_t count;
    int32_t capacity;
} network_selector_entry;

extern KESTRUNE_API network_selector_entry selectors[NETWORK_SELECTOR_CAPACITY];
extern KESTRUNE_API int32_t num_selectors;

/* An empty host gives the wildcard address for binding; failure gives a zeroed record. */
KESTRUNE_API network_address network_address_find(string host, uint16_t port, uint32_t flags);
KESTRUNE_API string network_address_get_ip(const network_address* address);
KESTRUNE_API uint16_t network_address_get_port(const network_address* address);
KESTRUNE_API network_socket network_socket_create(uint32_t flags);
KESTRUNE_API int network_socket_destroy(network_socket socket);
KESTRUNE_API bool network_socket_failed(network_socket socket);
KESTRUNE_API bool network_socket_bind(network_socket socket, const network_address* address);
KESTRUNE_API bool network_socket_set_blocking(network_socket socket, bool blocking);
KESTRUNE_API bool network_tcp_connect(network_socket socket, const network_address* address);
KESTRUNE_API int network_tcp_disconnect(network_socket socket);
KESTRUNE_API bool network_tcp_listen(network_socket socket);
/* The peer's address goes to address unless it is null. */
KESTRUNE_API network_socket network_tcp_accept(network_socket socket, network_address* address);
KESTRUNE_API int network_tcp_send(network_socket socket, uint32_t size, const void* data);
/* 0 when the peer closed, -1 on error. */
KESTRUNE_API int network_tcp_receive(network_socket socket, uint32_t size, void* buffer);
KESTRUNE_API int network_udp_send(network_socket socket, uint32_t size, const void* data, const network_address* address);
KESTRUNE_API int network_udp_receive(network_socket socket, uint32_t size, void* buffer, network_address* address);
KESTRUNE_API int32_t network_selector_create(void);
KESTRUNE_API void network_selector_destroy(int32_t selector);
KESTRUNE_API bool network_selector_failed(int32_t selector);
KESTRUNE_API void network_selector_add(int32_t selector, network_socket socket);
KESTRUNE_API void network_selector_remove(int32_t selector, network_socket socket);
/* Waits for readability; copies the ready sockets, in the order added, into out (up to out.count).
 * Returns the number of ready sockets, 0 on time-out, -1 on error. */
KESTRUNE_API int network_selector_wait(int32_t selector, int64_t timeout_milliseconds, socket_view out);

/* ---- controllers, haptics and clipboard ---- */

struct _SDL_Haptic;

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
KESTRUNE_API bool controller_is_added(int32_t* index);
KESTRUNE_API bool controller_is_removed(struct _SDL_Joystick** controller);
KESTRUNE_API int controller_num(void);
/* Names are SDL's own storage; empty when SDL has none. */
KESTRUNE_API string controller_name_for_index(int32_t index);
KESTRUNE_API struct _SDL_Joystick* controller_open(int32_t index);
KESTRUNE_API void controller_close(struct _SDL_Joystick* controller);
KESTRUNE_API string controller_name(struct _SDL_Joystick* controller);
KESTRUNE_API int controller_num_buttons(struct _SDL_Joystick* controller);
KESTRUNE_API int controller_num_axes(struct _SDL_Joystick* controller);
KESTRUNE_API int controller_num_balls(struct _SDL_Joystick* controller);
KESTRUNE_API int controller_num_hats(struct _SDL_Joystick* controller);
KESTRUNE_API int controller_is_haptic(struct _SDL_Joystick* controller);
KESTRUNE_API int controller_is_connected(struct _SDL_Joystick* controller);
KESTRUNE_API uint8_t controller_power(struct _SDL_Joystick* controller);
KESTRUNE_API uint8_t controller_button(struct _SDL_Joystick* controller, int32_t index);
KESTRUNE_API int16_t controller_axis(struct _SDL_Joystick* controller, int32_t index);
KESTRUNE_API int controller_ball(struct _SDL_Joystick* controller, int32_t index, int32_t* dx, int32_t* dy);
KESTRUNE_API uint8_t controller_hat(struct _SDL_Joystick* controller, int32_t index);
KESTRUNE_API int input_mouse_is_haptic(void);
KESTRUNE_API struct _SDL_Haptic* haptic_open_controller(struct _SDL_Joystick* controller);
KESTRUNE_API struct _SDL_Haptic* haptic_open_mouse(void);
KESTRUNE_API void haptic_close(struct _SDL_Haptic* haptic);
KESTRUNE_API int haptic_has_rumble(struct _SDL_Haptic* haptic);
KESTRUNE_API bool haptic_init_rumble(struct _SDL_Haptic* haptic);
/* strength 0 to 1. */
KESTRUNE_API int haptic_play_rumble(struct _SDL_Haptic* haptic, float strength, uint32_t milliseconds);
KESTRUNE_API int haptic_stop_rumble(struct _SDL_Haptic* haptic);

/* Clipboard text goes into this block from now on, starting at position 0; a null memory
 * means the dynamic ring. A text that does not fit is refused with an empty result. */
KESTRUNE_API void clipboard_set_buffer(int64_t size, void* memory);
KESTRUNE_API void clipboard_set_buffer_position(int64_t position);
KESTRUNE_API int64_t clipboard_get_buffer_position(void);
/* UTF-8 text, not NUL-terminated; empty when the clipboard holds none. */
KESTRUNE_API string clipboard_get(void);
KESTRUNE_API int clipboard_set(string text);

/* ---- math ---- */

KESTRUNE_API double math_sqrt(double x);
KESTRUNE_API double math_floor(double x);
KESTRUNE_API double math_ceil(double x);
KESTRUNE_API double math_abs(double x);
KESTRUNE_API double math_mod(double x, double y);
KESTRUNE_API double math_fract(double x);
KESTRUNE_API double math_pow(double x, double y);
KESTRUNE_API double math_ln(double x);
KESTRUNE_API double math_log(double x);
KESTRUNE_API double math_exp(double x);
KESTRUNE_API double math_cos(double x);
KESTRUNE_API double math_sin(double x);
KESTRUNE_API double math_acos(double x);
KESTRUNE_API double math_asin(double x);
KESTRUNE_API double math_atan(double x);
KESTRUNE_API double math_atan2(double y, double x);
KESTRUNE_API double math_cosh(double x);
KESTRUNE_API double math_sinh(double x);
KESTRUNE_API double math_tanh(double x);
KESTRUNE_API double math_acosh(double x);
KESTRUNE_API double math_asinh(double x);
KESTRUNE_API double math_atanh(double x);
KESTRUNE_API double math_ldexp(double x, int32_t exponent);
KESTRUNE_API double math_frexp(double x, int32_t* exponent);

#ifdef __cplusplus
}
#endif

#endif
