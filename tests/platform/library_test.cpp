#include "kestrune_system.h"

#include <gtest/gtest.h>

extern "C" int c_program_sees_the_interface(void);

namespace {

string view(const char* text) { return string{text, static_cast<int64_t>(strlen(text))}; }

TEST(Library, HeaderCompilesAsC) { EXPECT_EQ(c_program_sees_the_interface(), 1); }

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
