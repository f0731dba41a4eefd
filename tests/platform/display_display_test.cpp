#include "display_helpers.h"
#include "kestrune_system.h"
#include "sdl_handles.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(Display, SecondOpenFailsAndKeepsTheFirstWindow) {
    open_test_display();
    kestrune_window* first = sdl_window;
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(opengl_initialized);
    EXPECT_FALSE(is_software_rendering);
    EXPECT_TRUE(sdl_vsync);
    EXPECT_FALSE(display_open(640, 480, string{"second", 6}, DISPLAY_SOFTWARE, 1));
    EXPECT_EQ(sdl_window, first);
    EXPECT_FALSE(is_software_rendering);
    display_info info;
    display_get_info(&info);
    EXPECT_EQ(info.width, 1024);
    EXPECT_EQ(info.height, 832);
    EXPECT_STREQ(SDL_GetWindowTitle(to_sdl(sdl_window)), "test");
}

// Window attributes only take effect for a fresh window, so each case runs in its own process.
int multisample_attributes_after_open(int samples) {
    system_init(SYSTEM_ALL);
    display_open(320, 240, string{"samples", 7}, DISPLAY_HIDDEN, samples);
    int buffers = -1, count = -1;
    SDL_GL_GetAttribute(SDL_GL_MULTISAMPLEBUFFERS, &buffers);
    SDL_GL_GetAttribute(SDL_GL_MULTISAMPLESAMPLES, &count);
    return buffers * 10 + count;
}

TEST(Display, SamplesAboveOneAskForMultisampling) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(exit(multisample_attributes_after_open(4) == 14 ? 0 : 1), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(exit(multisample_attributes_after_open(1) == 0 ? 0 : 1), testing::ExitedWithCode(0), "");
}

TEST(Display, SoftwareContentBeforeSetUpDoesNothing) {
    open_test_display();
    std::vector<uint8_t> pixels(64 * 64 * 4, 200);
    display_set_content(64, 64, pixels.data());
    EXPECT_EQ(sdl_texture, nullptr);
    // A display opened with hardware graphics has no texture size recorded.
    display_set_software_graphics(true);
    EXPECT_TRUE(is_software_rendering);
    EXPECT_EQ(sdl_texture_width, 0);
    EXPECT_EQ(sdl_texture, nullptr);
    display_set_content(64, 64, pixels.data());
    display_set_software_graphics(false);
    EXPECT_FALSE(is_software_rendering);
    EXPECT_TRUE(opengl_initialized);
}

TEST(Display, SoftwareGraphicsShowsCallerPixels) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            system_init(SYSTEM_ALL);
            bool opened = display_open(64, 48, string{"soft", 4}, DISPLAY_SOFTWARE, 0);
            std::vector<uint8_t> pixels(64 * 48 * 4, 255);
            display_set_content(64, 48, pixels.data());
            // Larger content than the texture is cut, never read or written past.
            std::vector<uint8_t> large(128 * 96 * 4, 1);
            display_set_content(128, 96, large.data());
            exit(opened && sdl_texture && sdl_texture_width == 64 && !opengl_initialized ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST(Display, InfoWithoutAWindowIsZero) {
    display_info info{1, 2, 3};
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            display_get_info(&info);
            exit(info.width == 0 && info.height == 0 && info.refresh_rate == 0 ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
