#include "kestrune_system.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <vector>

extern "C" int c_program_sees_the_interface(void);

namespace {

string view(const char* text) { return string{text, static_cast<int64_t>(strlen(text))}; }

TEST(Library, HeaderCompilesAsC) { EXPECT_EQ(c_program_sees_the_interface(), 1); }

TEST(Library, ReportsTheVersionItWasBuiltAs) {
    EXPECT_EQ(system_version(), static_cast<uint32_t>(KESTRUNE_SYSTEM_VERSION));
    EXPECT_EQ(KESTRUNE_SYSTEM_VERSION_NUMBER(1, 2, 3), 1002003);
    EXPECT_LT(KESTRUNE_SYSTEM_VERSION_NUMBER(0, 9, 999), KESTRUNE_SYSTEM_VERSION_NUMBER(1, 0, 0));
}

// Programs built against an earlier header pass these numbers; a name that moved would break them.
TEST(Library, NamedConstantsKeepTheirNumbers) {
    EXPECT_EQ(KEY_A, 2);
    EXPECT_EQ(KEY_0, 28);
    EXPECT_EQ(KEY_ESCAPE, 46);
    EXPECT_EQ(KEY_SHIFT, 48);
    EXPECT_EQ(KEY_APPLICATION, 59);
    EXPECT_EQ(KEY_DELETE, 79);
    EXPECT_EQ(KEY_KEYPAD_0, 84);
    EXPECT_EQ(KEY_F1, 96);
    EXPECT_EQ(KEY_F11, 106);
    EXPECT_EQ(MOUSE_RIGHT, 4);
    EXPECT_EQ(TEXTURE_2D, 1);
    EXPECT_EQ(INTERNAL_RGBA8, 13);
    EXPECT_EQ(INTERNAL_NONE, 69);
    EXPECT_EQ(FORMAT_RGBA, 8);
    EXPECT_EQ(PARAMETER_MAG_FILTER, 4);
    EXPECT_EQ(WRAP_CLAMP_TO_EDGE, 2);
    EXPECT_EQ(FILTER_LINEAR_MIPMAP_LINEAR, 5);
    EXPECT_EQ(BLEND_SOURCE_ALPHA, 3);
    EXPECT_EQ(BLEND_ONE_MINUS_SOURCE_ALPHA, 9);
    EXPECT_EQ(PRIMITIVE_TRIANGLES, 4);
    EXPECT_EQ(UNPACK_ALIGNMENT, 15);
    EXPECT_EQ(DISPLAY_VSYNC, 64);
    EXPECT_EQ(SYSTEM_ALL, 63);
}

TEST(Library, LoadsSharedObjectsAndFunctions) {
    void* library = system_load_library(view("libm.so.6"));
    ASSERT_NE(library, nullptr);
    auto cosine = reinterpret_cast<double (*)(double)>(system_load_function(library, view("cos")));
    ASSERT_NE(cosine, nullptr);
    EXPECT_DOUBLE_EQ(cosine(0), 1);
    EXPECT_EQ(system_load_function(library, view("no_such_function")), nullptr);
    system_unload_library(library);
    EXPECT_EQ(system_load_library(view("libno_such_library.so")), nullptr);
}

TEST(Library, TellsTheProgramFolderAndTheEnvironment) {
    string folder = system_get_program_folder();
    EXPECT_EQ(std::string(folder.data, folder.length), std::filesystem::canonical(VARNHOLT_BINARY_DIR "/tests").string() + "/");
    setenv("KESTRUNE_TEST_VARIABLE", "two words", 1);
    string value = system_get_environment(view("KESTRUNE_TEST_VARIABLE"));
    EXPECT_EQ(std::string(value.data, value.length), "two words");
    unsetenv("KESTRUNE_TEST_VARIABLE");
    EXPECT_EQ(system_get_environment(view("KESTRUNE_TEST_VARIABLE")).data, nullptr);
}

// Small blocks come from the heap; freed at its top, they go back to the system unless retained.
TEST(Library, RetainedFreedMemoryStaysWithTheProcess) {
    system_retain_freed_memory(64 << 20);
    std::vector<void*> blocks;
    for (int i = 0; i < 4096; i++) blocks.push_back(malloc(2048));
    size_t grown = mallinfo2().arena;
    if (grown == 0) {
        for (void* block : blocks) free(block);
        GTEST_SKIP() << "the heap is not the C library's (a sanitizer's allocator)";
    }
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) free(*it);
    EXPECT_GE(mallinfo2().arena + (1 << 20), grown);
    system_retain_freed_memory(128 << 10);
    for (int i = 0; i < 4096; i++) blocks[i] = malloc(2048);
    grown = mallinfo2().arena;
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) free(*it);
    EXPECT_LT(mallinfo2().arena + (2 << 20), grown);
}

TEST(Library, ExecuteReturnsTheShellStatus) {
    EXPECT_EQ(system_execute(view("exit 0")), 0);
    EXPECT_EQ(WEXITSTATUS(system_execute(view("exit 3"))), 3);
}

TEST(Library, ClocksMoveForward) {
    system_init(SYSTEM_TIMER);
    EXPECT_GT(system_time(), 1700000000);
    uint64_t before = system_performance_counter();
    uint64_t ticks = system_ticks();
    system_sleep(20);
    EXPECT_GE(system_ticks(), ticks + 19);
    uint64_t elapsed = system_performance_counter() - before;
    EXPECT_GE(static_cast<double>(elapsed) / static_cast<double>(system_performance_frequency()), 0.019);
}

}  // namespace
