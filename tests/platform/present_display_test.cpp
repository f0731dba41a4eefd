#include "display_helpers.h"
#include "kestrune_system.h"
#include "sdl_handles.h"

// Before the X11 headers, whose None would break it.
#include <gtest/gtest.h>

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// The window as the X server shows it, at a pixel counted from the bottom-left like OpenGL's.
uint32_t shown_pixel(int32_t x, int32_t y) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(to_sdl(sdl_window), &info) || info.subsystem != SDL_SYSWM_X11) return 0;
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(to_sdl(sdl_window), &width, &height);
    XImage* image = XGetImage(info.info.x11.display, info.info.x11.window, x, height - 1 - y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0;
    uint32_t pixel = static_cast<uint32_t>(XGetPixel(image, 0, 0)) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel;
}

uint32_t back_buffer_pixel(int32_t x, int32_t y) {
    uint8_t rgba[4] = {};
    pipeline_read_pixels(x, y, 1, 1, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, rgba);
    return uint32_t{rgba[0]} << 16 | uint32_t{rgba[1]} << 8 | rgba[2];
}

void clear_back_buffer(float r, float g, float b) {
    frame_buffer_unbind(FRAME_BUFFER_BOTH);
    pipeline_scissor_enable(false);
    pipeline_clear_color(r, g, b, 1);
    pipeline_clear(BUFFER_COLOR);
}

TEST(PresentPart, OnlyTheRectanglesReachTheWindowAndTheBackBufferStaysAsItWas) {
    open_test_display();
    drain_window_events();
    if (!display_can_present_part()) GTEST_SKIP() << "the window system copies no parts to the window";
    EXPECT_GE(display_back_buffer_age(), 0);
    clear_back_buffer(1, 0, 0);
    // The first part shown after the window appeared is all of it.
    int32_t corner[4] = {0, 0, 1, 1};
    pipeline_present_part(int_view{corner, 4});
    pipeline_finish();
    EXPECT_EQ(shown_pixel(500, 400), 0xFF0000u);

    clear_back_buffer(0, 1, 0);
    int32_t parts[8] = {10, 10, 20, 20, 100, 200, 5, 5};
    pipeline_present_part(int_view{parts, 8});
    pipeline_finish();
    EXPECT_EQ(shown_pixel(15, 15), 0x00FF00u);
    EXPECT_EQ(shown_pixel(29, 29), 0x00FF00u);
    EXPECT_EQ(shown_pixel(102, 202), 0x00FF00u);
    EXPECT_EQ(shown_pixel(30, 30), 0xFF0000u);
    EXPECT_EQ(shown_pixel(9, 15), 0xFF0000u);
    EXPECT_EQ(shown_pixel(500, 400), 0xFF0000u);
    // Nothing was swapped: the back buffer still holds all of the frame.
    EXPECT_EQ(back_buffer_pixel(500, 400), 0x00FF00u);
    EXPECT_EQ(back_buffer_pixel(15, 15), 0x00FF00u);
    EXPECT_EQ(pipeline_get_error(), 0);
}

}  // namespace
