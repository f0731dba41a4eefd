#include <gtest/gtest.h>

#include <dlfcn.h>

// The shared object shows its exports and nothing of its internals.
TEST(SharedLibrary, ExportsOnlyThePublicNames) {
    void* library = dlopen(VARNHOLT_BINARY_DIR "/platform/libkestrune_system.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const char* name : {"system_init", "system_version", "to_wide_cstr", "display_open", "init_opengl_renderer",
                             "input_poll", "math_frexp", "system_get_program_folder", "system_get_environment", "temporary_buffer", "temporary_pos", "to_key_code",
                             "system_cursors", "sdl_window", "sdl_window_id", "sdl_renderer", "sdl_texture",
                             "sdl_texture_width", "sdl_texture_height", "sdl_vsync", "is_software_rendering",
                             "fullscreen", "opengl_context", "opengl_initialized", "audio_streams", "num_audio_streams",
                             "audio_player_id", "audio_recorder_id", "selectors", "num_selectors"}) {
        EXPECT_NE(dlsym(library, name), nullptr) << name;
    }
    // The whole input snapshot, arrays and single values alike.
    for (const char* name :
         {"keys_pressed", "keys_released", "keys_held", "mouse_buttons_pressed", "mouse_buttons_released",
          "mouse_buttons_held", "key_last_pressed", "key_last_released", "mouse_button_last_pressed",
          "mouse_button_last_released", "mouse_x", "mouse_y", "mouse_moved_x", "mouse_moved_y", "mouse_wheel",
          "window_resized", "window_new_width", "window_new_height", "window_minimized", "window_maximized",
          "window_restored", "window_entered", "window_left", "window_focus_gained", "window_focus_lost",
          "window_closed", "dropped_file_data", "dropped_file_length", "controller_device_added",
          "controller_device_added_index", "controller_device_removed", "controller_device_removed_handle",
          "typed_keys", "typed_key_modifiers", "typed_key_count"}) {
        EXPECT_NE(dlsym(library, name), nullptr) << name;
    }
    for (const char* name : {"append_character", "_Z16append_character6string", "dynamic_allocate",
                             "_Z16dynamic_allocatel", "dynamic_buffer", "build_key_table", "_Z15build_key_tablev",
                             "texture_target_table", "_Z6to_sdlP15kestrune_window"}) {
        EXPECT_EQ(dlsym(library, name), nullptr) << name;
    }
    dlclose(library);
}
