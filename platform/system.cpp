// Library start-up and release, clocks, shared-object loading and the two scratch rings.
#include "platform_internal.h"
#include "sdl_handles.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <malloc.h>

uint8_t temporary_buffer[TEMPORARY_BUFFER_SIZE];
int32_t temporary_pos;
kestrune_cursor* system_cursors[SYSTEM_CURSOR_COUNT];

alignas(8) uint8_t dynamic_buffer[DYNAMIC_BUFFER_SIZE];
int32_t dynamic_pos;

static_assert(SYSTEM_ALL == (SYSTEM_TIMER | SYSTEM_AUDIO | SYSTEM_VIDEO | SYSTEM_EVENTS | SYSTEM_JOYSTICK | SYSTEM_HAPTIC));

static uint32_t sdl_subsystems(uint32_t flags) {
    uint32_t mask = 0;
    if (flags & SYSTEM_TIMER) mask |= SDL_INIT_TIMER;
    if (flags & SYSTEM_AUDIO) mask |= SDL_INIT_AUDIO;
    if (flags & SYSTEM_VIDEO) mask |= SDL_INIT_VIDEO;
    if (flags & SYSTEM_EVENTS) mask |= SDL_INIT_EVENTS;
    if (flags & SYSTEM_JOYSTICK) mask |= SDL_INIT_JOYSTICK;
    if (flags & SYSTEM_HAPTIC) mask |= SDL_INIT_HAPTIC;
    return mask;
}

// Cursor indices are SDL's system cursor ids in SDL's order.
static constexpr bool same_cursor(int ours, SDL_SystemCursor sdl) { return ours == static_cast<int>(sdl); }
static_assert(same_cursor(CURSOR_ARROW, SDL_SYSTEM_CURSOR_ARROW) && same_cursor(CURSOR_TEXT, SDL_SYSTEM_CURSOR_IBEAM) &&
              same_cursor(CURSOR_WAIT, SDL_SYSTEM_CURSOR_WAIT) &&
              same_cursor(CURSOR_CROSSHAIR, SDL_SYSTEM_CURSOR_CROSSHAIR) &&
              same_cursor(CURSOR_WAIT_ARROW, SDL_SYSTEM_CURSOR_WAITARROW) &&
              same_cursor(CURSOR_RESIZE_NORTHWEST_SOUTHEAST, SDL_SYSTEM_CURSOR_SIZENWSE) &&
              same_cursor(CURSOR_RESIZE_NORTHEAST_SOUTHWEST, SDL_SYSTEM_CURSOR_SIZENESW) &&
              same_cursor(CURSOR_RESIZE_WEST_EAST, SDL_SYSTEM_CURSOR_SIZEWE) &&
              same_cursor(CURSOR_RESIZE_NORTH_SOUTH, SDL_SYSTEM_CURSOR_SIZENS) &&
              same_cursor(CURSOR_RESIZE_ALL, SDL_SYSTEM_CURSOR_SIZEALL) &&
              same_cursor(CURSOR_FORBIDDEN, SDL_SYSTEM_CURSOR_NO) && same_cursor(CURSOR_HAND, SDL_SYSTEM_CURSOR_HAND) &&
              same_cursor(SYSTEM_CURSOR_COUNT, SDL_NUM_SYSTEM_CURSORS));

uint32_t system_version() { return KESTRUNE_SYSTEM_VERSION; }

void system_init(uint32_t flags) {
    if (flags & SYSTEM_EVENTS) {
        build_key_table();
        reset_input_state();
    }
    if (SDL_Init(sdl_subsystems(flags)) != 0) set_error(SYSTEM_ERROR_OPERATING_SYSTEM, "SDL did not start: %s", SDL_GetError());
    for (int i = 0; i < SYSTEM_CURSOR_COUNT; i++) {
        system_cursors[i] = from_sdl(SDL_CreateSystemCursor(static_cast<SDL_SystemCursor>(i)));
    }
}

void system_release() {
    if (sdl_texture) {
        SDL_DestroyTexture(to_sdl(sdl_texture));
        SDL_DestroyRenderer(to_sdl(sdl_renderer));
    }
    if (opengl_context) SDL_GL_DeleteContext(opengl_context);
    SDL_DestroyWindow(to_sdl(sdl_window));
    for (kestrune_cursor* cursor : system_cursors) {
        if (cursor) SDL_FreeCursor(to_sdl(cursor));
    }
    SDL_Quit();
}

int64_t system_time() { return static_cast<int64_t>(time(nullptr)); }
uint64_t system_ticks() { return SDL_GetTicks(); }
uint64_t system_performance_counter() { return SDL_GetPerformanceCounter(); }
uint64_t system_performance_frequency() { return SDL_GetPerformanceFrequency(); }
void system_sleep(uint32_t milliseconds) { SDL_Delay(milliseconds); }

void system_retain_freed_memory(int64_t bytes) {
    if (bytes < 0) return;
    mallopt(M_TRIM_THRESHOLD, bytes > INT_MAX ? INT_MAX : static_cast<int>(bytes));
}

int system_execute(string command) {
    int result = system(append_character(command).data);
    if (result == -1) set_error_from_errno("cannot run the command");
    return result;
}

// SDL's reason for a library or function it could not find.
static void* found(void* address) {
    if (!address) set_error(SYSTEM_ERROR_NOT_FOUND, "%s", SDL_GetError());
    return address;
}

void* system_load_library(string path) { return found(SDL_LoadObject(append_character(path).data)); }

void* system_load_function(void* library, string name) {
    if (!library) {
        set_error(SYSTEM_ERROR_INVALID_HANDLE, "the library handle is null");
        return nullptr;
    }
    return found(SDL_LoadFunction(library, append_character(name).data));
}

void system_unload_library(void* library) { SDL_UnloadObject(library); }

// The terminator stays in the ring but out of the view.
static string copy_to_ring(const char* text) {
    string copy = append_character(string{text, static_cast<int64_t>(strlen(text))});
    return string{copy.data, copy.length - 1};
}

string system_get_program_folder() {
    char* folder = SDL_GetBasePath();
    if (!folder) return string{nullptr, 0};
    string copy = copy_to_ring(folder);
    SDL_free(folder);
    return copy;
}

string system_get_environment(string name) {
    const char* value = getenv(append_character(name).data);
    return value ? copy_to_ring(value) : string{nullptr, 0};
}

string append_character(string s) {
    int64_t length = s.length > 0 ? s.length : 0;
    // Longer text is outside the contract; cut it rather than write past the ring.
    if (length > TEMPORARY_BUFFER_SIZE - 1) length = TEMPORARY_BUFFER_SIZE - 1;
    if (temporary_pos + length > TEMPORARY_BUFFER_SIZE - 1) temporary_pos = 0;
    char* copy = reinterpret_cast<char*>(temporary_buffer + temporary_pos);
    if (length > 0) memcpy(copy, s.data, static_cast<size_t>(length));
    copy[length] = 0;
    temporary_pos += static_cast<int32_t>(length + 1);
    return string{copy, length + 1};
}

// Decodes one UTF-8 sequence at text[i]; returns the code point and advances i.
// Malformed input yields U+FFFD and consumes the longest invalid prefix, as Windows does.
static uint32_t decode_utf8(const uint8_t* text, int64_t length, int64_t* i) {
    uint8_t lead = text[*i];
    *i += 1;
    if (lead < 0x80) return lead;
    int extra;
    uint32_t code;
    uint8_t low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        code = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        code = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0xFFFD;
    }
    for (int k = 0; k < extra; k++) {
        if (*i >= length) return 0xFFFD;
        uint8_t next = text[*i];
        if (next < low || next > high) return 0xFFFD;
        low = 0x80;
        high = 0xBF;
        code = (code << 6) | (next & 0x3F);
        *i += 1;
    }
    return code;
}

static int64_t utf16_units(const string& s) {
    const uint8_t* text = reinterpret_cast<const uint8_t*>(s.data);
    int64_t units = 0;
    for (int64_t i = 0; i < s.length;) units += decode_utf8(text, s.length, &i) >= 0x10000 ? 2 : 1;
    return units;
}

const uint16_t* to_wide_cstr(string s) {
    if (s.length < 0) s.length = 0;
    // Conversions that would not fit in the ring are cut to its size.
    const int64_t max_units = TEMPORARY_BUFFER_SIZE / 2 - 1;
    int64_t units = utf16_units(s);
    if (units > max_units) units = max_units;
    if (temporary_pos + 2 * units + 2 > TEMPORARY_BUFFER_SIZE) temporary_pos = 0;
    uint8_t* start = temporary_buffer + temporary_pos;
    const uint8_t* text = reinterpret_cast<const uint8_t*>(s.data);
    int64_t written = 0;
    // The position is not aligned, so units are stored byte by byte.
    auto put = [&](uint16_t unit) {
        start[written * 2] = static_cast<uint8_t>(unit & 0xFF);
        start[written * 2 + 1] = static_cast<uint8_t>(unit >> 8);
        written++;
    };
    for (int64_t i = 0; i < s.length && written < units;) {
        uint32_t code = decode_utf8(text, s.length, &i);
        if (code >= 0x10000) {
            if (written + 2 > units) break;
            code -= 0x10000;
            put(static_cast<uint16_t>(0xD800 + (code >> 10)));
            put(static_cast<uint16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            put(static_cast<uint16_t>(code));
        }
    }
    while (written < units) put(0);
    put(0);
    temporary_pos += static_cast<int32_t>(2 * units + 2);
    return reinterpret_cast<const uint16_t*>(start);
}

void* dynamic_allocate(int64_t n) {
    if (n < 0 || n > DYNAMIC_BUFFER_SIZE) return nullptr;
    int64_t start = (static_cast<int64_t>(dynamic_pos) + 7) & ~int64_t{7};
    if (start + n > DYNAMIC_BUFFER_SIZE) start = 0;
    dynamic_pos = static_cast<int32_t>(start + n);
    return dynamic_buffer + start;
}

