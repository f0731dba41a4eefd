#include "display_helpers.h"
#include "kestrune_system.h"
#include "platform_internal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

string view(const char* s) { return string{s, static_cast<int64_t>(strlen(s))}; }

std::string text(string s) { return s.data ? std::string(s.data, static_cast<size_t>(s.length)) : std::string(); }

class Clipboard : public ::testing::Test {
protected:
    void SetUp() override {
        open_test_display();
        clipboard_set_buffer(0, nullptr);
    }
    void TearDown() override { clipboard_set_buffer(0, nullptr); }
};

TEST_F(Clipboard, TextRoundTripsThroughTheDynamicRing) {
    const char* sample = "Gr\xC3\xBC\xC3\x9F" "e \xE2\x9C\x93 tabs\tand\nlines";
    ASSERT_EQ(clipboard_set(view(sample)), 0);
    string copy = clipboard_get();
    EXPECT_EQ(text(copy), sample);
    const uint8_t* start = reinterpret_cast<const uint8_t*>(copy.data);
    EXPECT_GE(start, dynamic_buffer);
    EXPECT_LT(start, dynamic_buffer + DYNAMIC_BUFFER_SIZE);
}

TEST_F(Clipboard, CallerBufferTakesTextsUntilItIsFull) {
    char memory[16];
    clipboard_set_buffer(sizeof memory, memory);
    ASSERT_EQ(clipboard_set(view("0123456789")), 0);
    string first = clipboard_get();
    EXPECT_EQ(first.data, memory);
    EXPECT_EQ(text(first), "0123456789");
    EXPECT_EQ(clipboard_get_buffer_position(), 10);

    testing::internal::CaptureStdout();
    string second = clipboard_get();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "clipboard memory allocation failed\n");
    EXPECT_EQ(second.data, nullptr);
    EXPECT_EQ(second.length, 0);
    EXPECT_EQ(clipboard_get_buffer_position(), 10);

    clipboard_set_buffer_position(6);
    string again = clipboard_get();
    EXPECT_EQ(again.data, memory + 6);
    EXPECT_EQ(text(again), "0123456789");
    EXPECT_EQ(clipboard_get_buffer_position(), 16);
}

TEST_F(Clipboard, EmptyClipboardLeavesTheBuffersAlone) {
    char memory[16];
    ASSERT_EQ(clipboard_set(string{nullptr, 0}), 0);
    int32_t dynamic_before = dynamic_pos;
    string nothing = clipboard_get();
    EXPECT_EQ(nothing.data, nullptr);
    EXPECT_EQ(nothing.length, 0);
    EXPECT_EQ(dynamic_pos, dynamic_before);

    clipboard_set_buffer(sizeof memory, memory);
    EXPECT_EQ(clipboard_get().length, 0);
    EXPECT_EQ(clipboard_get_buffer_position(), 0);
}

}  // namespace
