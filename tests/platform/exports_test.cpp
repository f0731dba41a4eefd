#include <gtest/gtest.h>

#include <dlfcn.h>

// The shared object shows its exports and nothing of its internals.
TEST(SharedLibrary, ExportsOnlyThePublicNames) {
    void* library = dlopen(VARNHOLT_BINARY_DIR "/platform/libkestrune_system.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const char* name : {"system_init", "to_wide_cstr", "display_open", "init_opengl_renderer", "input_poll",
                             "math_frexp", "temporary_buffer", "temporary_pos", "to_key_code", "system_cursors",
                             "sdl_window", "sdl_window_id", "fullscreen", "opengl_initialized"}) {
        EXPECT_NE(dlsym(library, name), nullptr) << name;
    }
    for (const char* name : {"append_character", "_Z16append_character6string", "dynamic_allocate",
                             "_Z16dynamic_allocatel", "dynamic_buffer", "build_key_table", "_Z15build_key_tablev"}) {
        EXPECT_EQ(dlsym(library, name), nullptr) << name;
    }
    dlclose(library);
}
