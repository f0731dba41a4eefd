// What the window system documents about the window's back buffer between frames, and showing
// only part of it. GLX is asked through SDL's address lookup and EGL through the EGL library SDL
// has loaded, so no X11 or EGL headers are needed here. Nothing is assumed beyond the extensions:
// GLX_EXT_buffer_age and EGL_EXT_buffer_age report the age; GLX_MESA_copy_sub_buffer and
// EGL_NV_post_sub_buffer copy part of the back buffer to the window and leave the back buffer as
// it was.
#include "platform_internal.h"
#include "sdl_handles.h"

#include <dlfcn.h>

#include <cstring>

namespace {

constexpr int glx_back_buffer_age = 0x20F4;
constexpr int egl_extensions = 0x3055;
constexpr int egl_draw = 0x3059;
constexpr int egl_buffer_age = 0x313D;
constexpr int egl_post_sub_buffer_supported = 0x30BE;

struct GlxCalls {
    unsigned long (*current_drawable)();
    void* (*current_display)();
    const char* (*query_extensions)(void*, int);
    void (*query_drawable)(void*, unsigned long, int, unsigned int*);
    void (*copy_sub_buffer)(void*, unsigned long, int, int, int, int);
};

struct EglCalls {
    void* (*current_display)();
    void* (*current_surface)(int);
    const char* (*query_string)(void*, int);
    unsigned (*query_surface)(void*, void*, int, int*);
    unsigned (*post_sub_buffer)(void*, void*, int, int, int, int);
};

// The window system behind the window's context, looked up once per window.
struct WindowSystem {
    kestrune_window* window;
    void* display;
    unsigned long glx_drawable;
    void* egl_surface;
    bool age_reported;
    bool copies_part;
    // Set by the event watch when the window system shows the window again: its front is stale.
    bool exposed;
    GlxCalls glx;
    EglCalls egl;
};

WindowSystem window_system;

template <typename Call>
void look_up(Call* call, void* library, const char* name) {
    *call = reinterpret_cast<Call>(library ? dlsym(library, name) : SDL_GL_GetProcAddress(name));
}

bool has_extension(const char* extensions, const char* name) {
    if (!extensions) return false;
    size_t length = strlen(name);
    for (const char* at = strstr(extensions, name); at; at = strstr(at + length, name)) {
        bool starts = at == extensions || at[-1] == ' ';
        bool ends = at[length] == '\0' || at[length] == ' ';
        if (starts && ends) return true;
    }
    return false;
}

// Only an EGL library already in the process can own the current context.
bool use_egl(WindowSystem* system) {
    void* library = dlopen("libEGL.so.1", RTLD_NOW | RTLD_NOLOAD);
    if (!library) return false;
    EglCalls& egl = system->egl;
    look_up(&egl.current_display, library, "eglGetCurrentDisplay");
    look_up(&egl.current_surface, library, "eglGetCurrentSurface");
    look_up(&egl.query_string, library, "eglQueryString");
    look_up(&egl.query_surface, library, "eglQuerySurface");
    dlclose(library);
    if (!egl.current_display || !egl.current_surface || !egl.query_string || !egl.query_surface) return false;
    system->display = egl.current_display();
    system->egl_surface = egl.current_surface(egl_draw);
    if (!system->display || !system->egl_surface) return false;
    const char* extensions = egl.query_string(system->display, egl_extensions);
    system->age_reported = has_extension(extensions, "EGL_EXT_buffer_age");
    if (has_extension(extensions, "EGL_NV_post_sub_buffer")) {
        int supported = 0;
        egl.query_surface(system->display, system->egl_surface, egl_post_sub_buffer_supported, &supported);
        library = dlopen("libEGL.so.1", RTLD_NOW | RTLD_NOLOAD);
        look_up(&egl.post_sub_buffer, library, "eglPostSubBufferNV");
        if (library) dlclose(library);
        system->copies_part = supported != 0 && egl.post_sub_buffer;
    }
    return true;
}

void use_glx(WindowSystem* system) {
    GlxCalls& glx = system->glx;
    look_up(&glx.current_drawable, nullptr, "glXGetCurrentDrawable");
    look_up(&glx.current_display, nullptr, "glXGetCurrentDisplay");
    look_up(&glx.query_extensions, nullptr, "glXQueryExtensionsString");
    look_up(&glx.query_drawable, nullptr, "glXQueryDrawable");
    look_up(&glx.copy_sub_buffer, nullptr, "glXCopySubBufferMESA");
    if (!glx.current_drawable || !glx.current_display || !glx.query_extensions) return;
    system->display = glx.current_display();
    system->glx_drawable = glx.current_drawable();
    // Without a GLX drawable the context is not GLX's: nothing is known.
    if (!system->display || !system->glx_drawable) return;
    // Asking for what the server does not offer would be an X protocol error, which ends the process.
    const char* extensions = glx.query_extensions(system->display, 0);
    system->age_reported = glx.query_drawable && has_extension(extensions, "GLX_EXT_buffer_age");
    system->copies_part = glx.copy_sub_buffer && has_extension(extensions, "GLX_MESA_copy_sub_buffer");
}

int watch_exposure(void*, SDL_Event* event) {
    if (event->type == SDL_WINDOWEVENT && event->window.event == SDL_WINDOWEVENT_EXPOSED &&
        event->window.windowID == sdl_window_id) {
        window_system.exposed = true;
    }
    return 1;
}

// Null without an OpenGL window.
WindowSystem* current_window_system() {
    if (!opengl_initialized || is_software_rendering || !sdl_window) return nullptr;
    if (window_system.window != sdl_window) {
        SDL_DelEventWatch(watch_exposure, nullptr);
        window_system = WindowSystem{};
        window_system.window = sdl_window;
        if (!use_egl(&window_system)) use_glx(&window_system);
        // What the window showed before the watch began is not known.
        window_system.exposed = true;
        SDL_AddEventWatch(watch_exposure, nullptr);
    }
    return &window_system;
}

}  // namespace

int32_t display_back_buffer_age() {
    WindowSystem* system = current_window_system();
    if (!system || !system->age_reported) return 0;
    if (system->egl_surface) {
        int age = 0;
        system->egl.query_surface(system->display, system->egl_surface, egl_buffer_age, &age);
        return age > 0 ? age : 0;
    }
    unsigned int age = 0;
    system->glx.query_drawable(system->display, system->glx_drawable, glx_back_buffer_age, &age);
    return static_cast<int32_t>(age);
}

bool display_can_present_part() {
    WindowSystem* system = current_window_system();
    return system && system->copies_part;
}

void pipeline_present_part(int_view rects) {
    WindowSystem* system = current_window_system();
    if (!system || !system->copies_part) {
        pipeline_present();
        return;
    }
    int64_t count = rects.count / 4;
    int32_t whole[4] = {0, 0, 0, 0};
    if (system->exposed) {
        SDL_GL_GetDrawableSize(to_sdl(sdl_window), &whole[2], &whole[3]);
        rects = int_view{whole, 4};
        count = 1;
        system->exposed = false;
    }
    if (system->egl_surface) {
        // Each post may wait for the display; one rectangle around them all costs one wait.
        int32_t left = 0, bottom = 0, right = 0, top = 0;
        for (int64_t i = 0; i < count; i++) {
            const int32_t* r = rects.data + 4 * i;
            if (i == 0 || r[0] < left) left = r[0];
            if (i == 0 || r[1] < bottom) bottom = r[1];
            if (i == 0 || r[0] + r[2] > right) right = r[0] + r[2];
            if (i == 0 || r[1] + r[3] > top) top = r[1] + r[3];
        }
        if (count > 0) system->egl.post_sub_buffer(system->display, system->egl_surface, left, bottom, right - left, top - bottom);
        return;
    }
    for (int64_t i = 0; i < count; i++) {
        const int32_t* r = rects.data + 4 * i;
        system->glx.copy_sub_buffer(system->display, system->glx_drawable, r[0], r[1], r[2], r[3]);
    }
}
