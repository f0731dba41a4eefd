// The one display window, its OpenGL 3.3 core context or its software renderer.
#include "platform_internal.h"
#include "sdl_handles.h"

#include <epoxy/gl.h>

#include <cstdlib>

kestrune_window* sdl_window;
uint32_t sdl_window_id;
void* opengl_context;
bool opengl_initialized;
kestrune_renderer* sdl_renderer;
kestrune_renderer_texture* sdl_texture;
int32_t sdl_texture_width;
int32_t sdl_texture_height;
bool is_software_rendering;
bool sdl_vsync;
bool fullscreen;

static SDL_Window* window() { return to_sdl(sdl_window); }
static SDL_Renderer* renderer() { return to_sdl(sdl_renderer); }

// Set by display_open's DISPLAY_RETURN_ON_FAILURE: graphics failures come back to the caller
// instead of the box and the end of the process.
static bool return_on_failure;

static bool fail_with_box(const char* title, const char* text) {
    if (!return_on_failure) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title, text, nullptr);
        exit(1);
    }
    set_error(SYSTEM_ERROR_GRAPHICS, "%s %s", text, SDL_GetError());
    return false;
}

static void set_swap_interval(bool vsync) {
    if (!vsync) {
        SDL_GL_SetSwapInterval(0);
        return;
    }
    // Adaptive sync where the driver offers it, plain vertical sync otherwise.
    if (SDL_GL_SetSwapInterval(-1) != 0) SDL_GL_SetSwapInterval(1);
}

static bool open_opengl() {
    if (opengl_initialized) return true;
    if (!sdl_window) return fail_with_box("Graphics error", "Failed to initialize hardware graphics.");
    opengl_context = SDL_GL_CreateContext(window());
    if (!opengl_context || epoxy_gl_version() < 33) {
        // Only reached when the caller asked to hear of the failure; the context is of no use.
        bool kept = fail_with_box("Graphics not supported", "OpenGL 3.3 is not supported on this computer.");
        if (opengl_context) SDL_GL_DeleteContext(opengl_context);
        opengl_context = nullptr;
        return kept;
    }
    opengl_initialized = true;
    glEnable(GL_TEXTURE_CUBE_MAP_SEAMLESS);
    return true;
}

void init_opengl_renderer() { open_opengl(); }

void init_sdl_renderer(int32_t width, int32_t height, bool vsync) {
    if (sdl_renderer) {
        if (sdl_texture) SDL_DestroyTexture(to_sdl(sdl_texture));
        SDL_DestroyRenderer(renderer());
        sdl_texture = nullptr;
        sdl_renderer = nullptr;
    }
    sdl_texture_width = width;
    sdl_texture_height = height;
    sdl_renderer = from_sdl(SDL_CreateRenderer(window(), -1, vsync ? SDL_RENDERER_PRESENTVSYNC : 0));
    if (sdl_renderer && width > 0 && height > 0) {
        sdl_texture = from_sdl(
            SDL_CreateTexture(renderer(), SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STREAMING, width, height));
    }
    if (!sdl_renderer || (!sdl_texture && width > 0 && height > 0))
        set_error(SYSTEM_ERROR_GRAPHICS, "no software graphics: %s", SDL_GetError());
}

bool display_open(int32_t width, int32_t height, string title, uint32_t flags, int32_t samples) {
    if (window()) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "a display is open already");
        return false;
    }
    return_on_failure = (flags & DISPLAY_RETURN_ON_FAILURE) != 0;
    uint32_t window_flags = 0;
    if (flags & DISPLAY_HIDDEN) window_flags |= SDL_WINDOW_HIDDEN;
    if (flags & DISPLAY_BORDERLESS) window_flags |= SDL_WINDOW_BORDERLESS;
    if (flags & DISPLAY_RESIZABLE) window_flags |= SDL_WINDOW_RESIZABLE;
    if (flags & DISPLAY_MINIMIZED) window_flags |= SDL_WINDOW_MINIMIZED;
    if (flags & DISPLAY_MAXIMIZED) window_flags |= SDL_WINDOW_MAXIMIZED;
    if (flags & DISPLAY_FULLSCREEN) {
        window_flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        fullscreen = true;
    }
    if (!(flags & DISPLAY_SOFTWARE)) window_flags |= SDL_WINDOW_OPENGL;
    if (samples > 1) {
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 1);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples);
    }
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    sdl_window = from_sdl(SDL_CreateWindow(append_character(title).data, SDL_WINDOWPOS_UNDEFINED,
                                           SDL_WINDOWPOS_UNDEFINED, width, height, window_flags));
    sdl_window_id = sdl_window ? SDL_GetWindowID(window()) : 0;
    if (flags & DISPLAY_SOFTWARE) {
        is_software_rendering = true;
        init_sdl_renderer(width, height, (flags & DISPLAY_VSYNC) != 0);
    } else {
        is_software_rendering = false;
        if (!open_opengl()) {
            // The caller may try again, with software graphics for one.
            display_close();
            sdl_window_id = 0;
            return false;
        }
        sdl_vsync = (flags & DISPLAY_VSYNC) != 0;
        set_swap_interval(sdl_vsync);
    }
    if (!sdl_window) set_error(SYSTEM_ERROR_GRAPHICS, "cannot create the window: %s", SDL_GetError());
    return sdl_window != nullptr;
}

void display_close() {
    SDL_DestroyWindow(window());
    sdl_window = nullptr;
}

void display_set_vsync(bool on) {
    if (is_software_rendering) {
        init_sdl_renderer(sdl_texture_width, sdl_texture_height, on);
        return;
    }
    if (open_opengl()) set_swap_interval(on);
}

void display_set_software_graphics(bool on) {
    if (on) {
        init_sdl_renderer(sdl_texture_width, sdl_texture_height, sdl_vsync);
        is_software_rendering = true;
    } else if (open_opengl()) {
        is_software_rendering = false;
    }
}

void display_set_content(int32_t width, int32_t height, const void* pixels) {
    if (!sdl_texture || !sdl_renderer || !pixels) return;
    int pitch = width * 4;
    // The texture holds the size of the last set-up; never read past the caller's pixels or write past it.
    if (width > sdl_texture_width) width = sdl_texture_width;
    if (height > sdl_texture_height) height = sdl_texture_height;
    if (width <= 0 || height <= 0) return;
    SDL_Rect area{0, 0, width, height};
    SDL_UpdateTexture(to_sdl(sdl_texture), &area, pixels, pitch);
    SDL_RenderClear(renderer());
    SDL_RenderCopy(renderer(), to_sdl(sdl_texture), nullptr, nullptr);
    SDL_RenderPresent(renderer());
}

void pipeline_present() { SDL_GL_SwapWindow(window()); }

void display_set_title(string title) { SDL_SetWindowTitle(window(), append_character(title).data); }
void display_set_size(int32_t width, int32_t height) { SDL_SetWindowSize(window(), width, height); }

void display_set_icon(int32_t width, int32_t height, const void* pixels) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceFrom(const_cast<void*>(pixels), width, height, 32, width * 4, 0x000000FF,
                                                    0x0000FF00, 0x00FF0000, 0xFF000000);
    if (!surface) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "the icon cannot be used: %s", SDL_GetError());
        return;
    }
    SDL_SetWindowIcon(window(), surface);
    SDL_FreeSurface(surface);
}

void display_set_visible(bool on) {
    if (on) {
        SDL_ShowWindow(window());
    } else {
        SDL_HideWindow(window());
    }
}

void display_set_border(bool on) { SDL_SetWindowBordered(window(), on ? SDL_TRUE : SDL_FALSE); }

int display_set_fullscreen(bool on) {
    int result = SDL_SetWindowFullscreen(window(), on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    if (result != 0) set_error(SYSTEM_ERROR_GRAPHICS, "cannot change fullscreen: %s", SDL_GetError());
    return result;
}

void display_set_grab(bool on) { SDL_SetWindowGrab(window(), on ? SDL_TRUE : SDL_FALSE); }
void display_maximize() { SDL_MaximizeWindow(window()); }
void display_minimize() { SDL_MinimizeWindow(window()); }
void display_restore() { SDL_RestoreWindow(window()); }

void display_get_info(display_info* out) {
    if (!out) return;
    *out = display_info{0, 0, 0};
    if (!sdl_window) return;
    SDL_DisplayMode mode{};
    if (SDL_GetWindowDisplayMode(window(), &mode) == 0) out->refresh_rate = mode.refresh_rate;
    if (fullscreen) {
        out->width = mode.w;
        out->height = mode.h;
    } else {
        SDL_GetWindowSize(window(), &out->width, &out->height);
    }
}

void screensaver_enable(bool on) {
    if (on) {
        SDL_EnableScreenSaver();
    } else {
        SDL_DisableScreenSaver();
    }
}

int show_simple_message_box(uint8_t kind, string title, string message) {
    uint32_t box = kind == MESSAGE_BOX_ERROR     ? SDL_MESSAGEBOX_ERROR
                   : kind == MESSAGE_BOX_WARNING ? SDL_MESSAGEBOX_WARNING
                                                 : SDL_MESSAGEBOX_INFORMATION;
    string title_copy = append_character(title);
    string message_copy = append_character(message);
    int result = SDL_ShowSimpleMessageBox(box, title_copy.data, message_copy.data, window());
    if (result != 0) set_error(SYSTEM_ERROR_GRAPHICS, "cannot show the message box: %s", SDL_GetError());
    return result;
}
