#include "platform_internal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

string view(const std::string& text) { return string{text.data(), static_cast<int64_t>(text.size())}; }

std::vector<uint16_t> wide(const uint16_t* text) {
    std::vector<uint16_t> units;
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(text);
    for (int i = 0;; i++) {
        uint16_t unit = static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        if (unit == 0) break;
        units.push_back(unit);
    }
    return units;
}

TEST(CStringCopy, EmptyTextBecomesOneTerminator) {
    temporary_pos = 100;
    string copy = append_character(string{nullptr, 0});
    EXPECT_EQ(copy.length, 1);
    EXPECT_EQ(copy.data, reinterpret_cast<char*>(temporary_buffer + 100));
    EXPECT_EQ(copy.data[0], 0);
    EXPECT_EQ(temporary_pos, 101);
}

TEST(CStringCopy, WrapsOnlyWhenCopyAndTerminatorWouldPassTheEnd) {
    std::string text(10, 'x');
    temporary_pos = TEMPORARY_BUFFER_SIZE - 11;  // exactly room for 10 bytes and the NUL
    string fits = append_character(view(text));
    EXPECT_EQ(fits.data, reinterpret_cast<char*>(temporary_buffer + TEMPORARY_BUFFER_SIZE - 11));
    EXPECT_EQ(temporary_pos, TEMPORARY_BUFFER_SIZE);

    temporary_pos = TEMPORARY_BUFFER_SIZE - 10;
    string wrapped = append_character(view(text));
    EXPECT_EQ(wrapped.data, reinterpret_cast<char*>(temporary_buffer));
    EXPECT_EQ(std::string(wrapped.data), text);
    EXPECT_EQ(temporary_pos, 11);
}

TEST(CStringCopy, OverlongTextIsCutInsideTheBuffer) {
    std::string text(TEMPORARY_BUFFER_SIZE * 2, 'y');
    temporary_pos = 5000;
    string copy = append_character(view(text));
    EXPECT_EQ(copy.data, reinterpret_cast<char*>(temporary_buffer));
    EXPECT_EQ(copy.length, TEMPORARY_BUFFER_SIZE);
    EXPECT_EQ(copy.data[TEMPORARY_BUFFER_SIZE - 1], 0);
    EXPECT_LE(temporary_pos, TEMPORARY_BUFFER_SIZE);
}

TEST(WideCopy, AsciiMultiByteAndSurrogates) {
    temporary_pos = 0;
    EXPECT_EQ(wide(to_wide_cstr(view("maps"))), (std::vector<uint16_t>{'m', 'a', 'p', 's'}));
    EXPECT_EQ(temporary_pos, 10);
    // e-acute (2 bytes), euro (3 bytes), G clef (4 bytes, a surrogate pair)
    EXPECT_EQ(wide(to_wide_cstr(view("\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E"))),
              (std::vector<uint16_t>{0x00E9, 0x20AC, 0xD834, 0xDD1E}));
}

TEST(WideCopy, InvalidBytesBecomeReplacementCharacters) {
    temporary_pos = 0;
    // stray continuation, overlong encoding, truncated sequence at the end
    EXPECT_EQ(wide(to_wide_cstr(view("a\x80" "b\xC0\xAF" "c\xE2\x82"))),
              (std::vector<uint16_t>{'a', 0xFFFD, 'b', 0xFFFD, 0xFFFD, 'c', 0xFFFD}));
    // an encoded surrogate is not a character
    EXPECT_EQ(wide(to_wide_cstr(view("\xED\xA0\x80"))), (std::vector<uint16_t>{0xFFFD, 0xFFFD, 0xFFFD}));
}

TEST(WideCopy, WrapsAndStartsAtOddOffsets) {
    temporary_pos = 3;
    const uint16_t* odd = to_wide_cstr(view("ab"));
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(odd), temporary_buffer + 3);
    EXPECT_EQ(temporary_pos, 9);
    temporary_pos = TEMPORARY_BUFFER_SIZE - 5;  // needs 6 bytes
    const uint16_t* wrapped = to_wide_cstr(view("ab"));
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(wrapped), temporary_buffer);
    EXPECT_EQ(wide(wrapped), (std::vector<uint16_t>{'a', 'b'}));
}

TEST(WideCopy, OverlongTextStaysInsideTheBuffer) {
    std::string text(20000, 'z');
    temporary_pos = 7;
    const uint16_t* copy = to_wide_cstr(view(text));
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(copy), temporary_buffer);
    EXPECT_EQ(wide(copy).size(), static_cast<size_t>(TEMPORARY_BUFFER_SIZE / 2 - 1));
    EXPECT_LE(temporary_pos, TEMPORARY_BUFFER_SIZE);
}

TEST(DynamicRing, AlignsAndWraps) {
    dynamic_pos = 5;
    EXPECT_EQ(dynamic_allocate(3), dynamic_buffer + 8);
    EXPECT_EQ(dynamic_pos, 11);
    dynamic_pos = DYNAMIC_BUFFER_SIZE - 16;
    EXPECT_EQ(dynamic_allocate(16), dynamic_buffer + DYNAMIC_BUFFER_SIZE - 16);
    dynamic_pos = DYNAMIC_BUFFER_SIZE - 16;
    EXPECT_EQ(dynamic_allocate(17), dynamic_buffer);
    EXPECT_EQ(dynamic_pos, 17);
    EXPECT_EQ(dynamic_allocate(DYNAMIC_BUFFER_SIZE + 1), nullptr);
}

}  // namespace
