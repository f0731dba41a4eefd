// How much of the last presented frame the window's back buffer still holds, so a caller can
// redraw only what changed. Asked of GLX by name through SDL, which needs no X11 headers here.
#include "platform_internal.h"
#include "sdl_handles.h"

#include <epoxy/gl.h>

#include <cstring>

namespace {

using CurrentDisplay = void* (*)();
using CurrentDrawable = unsigned long (*)();
using QueryExtensions = const char* (*)(void*, int);
using QueryDrawable = void (*)(void*, unsigned long, int, unsigned int*);

constexpr int glx_back_buffer_age = 0x20F4;

struct GlxQueries {
    bool looked_up;
    CurrentDisplay current_display;
    CurrentDrawable current_drawable;
    QueryExtensions query_extensions;
    QueryDrawable query_drawable;
};

GlxQueries glx;

void look_up_glx() {
    if (glx.looked_up) return;
    glx.looked_up = true;
    glx.current_display = reinterpret_cast<CurrentDisplay>(SDL_GL_GetProcAddress("glXGetCurrentDisplay"));
    glx.current_drawable = reinterpret_cast<CurrentDrawable>(SDL_GL_GetProcAddress("glXGetCurrentDrawable"));
    glx.query_extensions = reinterpret_cast<QueryExtensions>(SDL_GL_GetProcAddress("glXQueryExtensionsString"));
    glx.query_drawable = reinterpret_cast<QueryDrawable>(SDL_GL_GetProcAddress("glXQueryDrawable"));
}

// Mesa's software rasterisers under GLX draw into one back buffer that a swap copies to the window
// and never replaces, so it always holds the last frame; they report an age of 0 all the same.
bool renderer_keeps_one_back_buffer() {
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return renderer && (strncmp(renderer, "llvmpipe", 8) == 0 || strncmp(renderer, "softpipe", 8) == 0);
}

}  // namespace

int32_t display_back_buffer_age() {
    if (!opengl_initialized || is_software_rendering || !sdl_window) return 0;
    look_up_glx();
    if (!glx.current_display || !glx.current_drawable || !glx.query_extensions || !glx.query_drawable) return 0;
    void* display = glx.current_display();
    unsigned long drawable = glx.current_drawable();
    // Without a GLX drawable the context is not GLX's (EGL, for one): nothing is known.
    if (!display || !drawable) return 0;
    if (renderer_keeps_one_back_buffer()) return 1;
    const char* extensions = glx.query_extensions(display, 0);
    // Asking without the extension would be an X protocol error, which ends the process.
    if (!extensions || !strstr(extensions, "GLX_EXT_buffer_age")) return 0;
    unsigned int age = 0;
    glx.query_drawable(display, drawable, glx_back_buffer_age, &age);
    return static_cast<int32_t>(age);
}
