#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

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

namespace {

struct Declaration {
    std::string name;
    std::string line_above;
};

// Every export the header declares, with the line just above its declaration.
std::vector<Declaration> header_declarations() {
    std::ifstream header(VARNHOLT_SOURCE_DIR "/platform/include/kestrune_system.h");
    std::vector<Declaration> found;
    std::string line, above;
    for (; std::getline(header, line); above = line) {
        if (line.rfind("KESTRUNE_API ", 0) != 0 && line.rfind("extern KESTRUNE_API ", 0) != 0) continue;
        // The name is the last word before the declaration's "(", "[" or ";".
        std::string head = line.substr(0, line.find_first_of("([;"));
        head.erase(head.find_last_not_of(' ') + 1);
        size_t start = head.find_last_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") + 1;
        found.push_back({head.substr(start), above});
    }
    return found;
}

}  // namespace

// The linker's export list is the header's, every name under the library's one symbol version.
TEST(SharedLibrary, ExportsExactlyTheHeaderNamesUnderOneVersion) {
    std::set<std::string> declared;
    for (const Declaration& declaration : header_declarations()) declared.insert(declaration.name);
    ASSERT_GT(declared.size(), 400u);
    FILE* symbols = popen("nm -D --defined-only --with-symbol-versions " VARNHOLT_BINARY_DIR
                          "/platform/libkestrune_system.so", "r");
    ASSERT_NE(symbols, nullptr);
    std::set<std::string> exported;
    char address[64], kind[8], symbol[512];
    while (fscanf(symbols, "%63s %7s %511s", address, kind, symbol) == 3) {
        if (std::string(kind) == "A") continue;  // the version node itself
        std::string text = symbol;
        size_t at = text.find("@@");
        EXPECT_EQ(at == std::string::npos ? "" : text.substr(at), "@@KESTRUNE_SYSTEM_0") << text;
        exported.insert(text.substr(0, at));
    }
    EXPECT_EQ(pclose(symbols), 0);
    std::vector<std::string> undeclared, missing;
    std::set_difference(exported.begin(), exported.end(), declared.begin(), declared.end(), std::back_inserter(undeclared));
    std::set_difference(declared.begin(), declared.end(), exported.begin(), exported.end(), std::back_inserter(missing));
    EXPECT_EQ(undeclared, std::vector<std::string>{});
    EXPECT_EQ(missing, std::vector<std::string>{});
}
// raylib's rule: each function and variable has its own one-line comment just above it.
TEST(Header, EveryExportHasItsOwnDocLine) {
    std::vector<std::string> undocumented;
    for (const Declaration& declaration : header_declarations()) {
        const std::string& above = declaration.line_above;
        size_t start = above.find_first_not_of(' ');
        bool one_line_comment = start != std::string::npos && above.compare(start, 3, "/* ") == 0 &&
                                above.size() > start + 8 && above.compare(above.size() - 3, 3, " */") == 0;
        if (!one_line_comment) undocumented.push_back(declaration.name);
    }
    EXPECT_EQ(undocumented, std::vector<std::string>{});
}
