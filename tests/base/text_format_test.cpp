#include "base/arena.h"
#include "base/text_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

class TextFormat : public ::testing::Test {
protected:
    void SetUp() override { create_arenas(1 << 20, 1 << 16); }
    void TearDown() override { destroy_arenas(); }

    static std::string as_text(double value) {
        TextBuilder builder{};
        text_put_double(&builder, value);
        return std::string(builder.data, static_cast<size_t>(builder.length));
    }
    static std::string as_text(int64_t value) {
        TextBuilder builder{};
        text_put_integer(&builder, value);
        return std::string(builder.data, static_cast<size_t>(builder.length));
    }
};

TEST_F(TextFormat, Integers) {
    EXPECT_EQ(as_text(int64_t{0}), "0");
    EXPECT_EQ(as_text(int64_t{-7}), "-7");
    EXPECT_EQ(as_text(int64_t{1234567890123}), "1234567890123");
    EXPECT_EQ(as_text(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(as_text(std::numeric_limits<int64_t>::max()), "9223372036854775807");
}

TEST_F(TextFormat, DoublesKeepFourFractionalDigitsAndDropTrailingZeros) {
    EXPECT_EQ(as_text(2.5), "2.5");
    EXPECT_EQ(as_text(3.0), "3");
    EXPECT_EQ(as_text(0.25), "0.25");
    EXPECT_EQ(as_text(12.34567), "12.3457");
    EXPECT_EQ(as_text(0.00004), "0");
    EXPECT_EQ(as_text(0.00005), "0.0001");
    EXPECT_EQ(as_text(99.99996), "100");
    EXPECT_EQ(as_text(-1.5), "-1.5");
    EXPECT_EQ(as_text(1e20), "100000000000000000000");
    EXPECT_EQ(as_text(0.1), "0.1");
    EXPECT_EQ(as_text(1.0 / 3.0), "0.3333");
    EXPECT_EQ(as_text(2.0 / 3.0), "0.6667");
    EXPECT_EQ(as_text(9.99995), "10");
    EXPECT_EQ(as_text(-0.0), "0");
    EXPECT_EQ(as_text(10.0), "10");
}

TEST_F(TextFormat, SpecialValuesAreWords) {
    EXPECT_EQ(as_text(std::numeric_limits<double>::infinity()), "infinity");
    EXPECT_EQ(as_text(-std::numeric_limits<double>::infinity()), "-infinity");
    EXPECT_EQ(as_text(std::nan("")), "nan");
    EXPECT_EQ(as_text(-std::nan("")), "nan");
}

TEST_F(TextFormat, DigitRecordRoundsAtTheFourthFractionalDigit) {
    DoubleDigits nines = double_digits(999.99995);
    EXPECT_EQ(nines.integer_digits, 4);
    EXPECT_EQ(nines.digits[0], 1);
    for (int i = 1; i < 8; i++) EXPECT_EQ(nines.digits[i], 0) << i;
    DoubleDigits plain = double_digits(47.0);
    EXPECT_EQ(plain.integer_digits, 2);
    EXPECT_EQ(plain.digits[0], 4);
    EXPECT_EQ(plain.digits[1], 7);
    EXPECT_EQ(double_digits(0.5).integer_digits, 1);
    EXPECT_EQ(double_digits(1e70).integer_digits, 64);
}

TEST_F(TextFormat, DigitRecordOfValuesWithoutDigitsIsOneZero) {
    for (double value : {std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
        DoubleDigits record = double_digits(value);
        EXPECT_EQ(record.integer_digits, 1) << value;
        for (int i = 0; i < 64; i++) EXPECT_EQ(record.digits[i], 0) << value << " digit " << i;
    }
}

TEST_F(TextFormat, BuilderGrowsByDoublingAndCursorOverwrites) {
    TextBuilder builder{};
    builder.arena = FRAME_ARENA;
    int64_t capacities[5];
    for (int i = 0; i < 5; i++) {
        text_put_char(&builder, static_cast<char>('a' + i));
        capacities[i] = builder.capacity;
    }
    EXPECT_EQ(capacities[0], 1);
    EXPECT_EQ(capacities[1], 2);
    EXPECT_EQ(capacities[2], 4);
    EXPECT_EQ(capacities[4], 8);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(builder.data), frame_arena.base);
    builder.cursor = 1;
    text_put_char(&builder, 'X');
    EXPECT_EQ(std::string(builder.data, static_cast<size_t>(builder.length)), "aXcde");
}

std::string overlay_numbers(int64_t used, int64_t capacity) {
    char buffer[128];
    FixedText text{buffer, sizeof buffer, 0, 0};
    fixed_put_integer(&text, used / 1024);
    fixed_put_char(&text, ' ');
    fixed_put_integer(&text, capacity / 1024);
    fixed_put_char(&text, ' ');
    fixed_put_double(&text, static_cast<double>(used) / static_cast<double>(capacity) * 100);
    return std::string(buffer, static_cast<size_t>(text.length));
}

TEST_F(TextFormat, MemoryOverlayNumbers) {
    EXPECT_EQ(overlay_numbers(1048576, persistent_arena_capacity), "1024 262144 0.3906");
    EXPECT_EQ(overlay_numbers(3072, persistent_arena_capacity), "3 262144 0.0011");
    EXPECT_EQ(overlay_numbers(134217728, persistent_arena_capacity), "131072 262144 50");
}

TEST_F(TextFormat, FixedTextNeverWritesPastItsArray) {
    char buffer[8] = {};
    char guard = 'G';
    FixedText text{buffer, 4, 0, 0};
    fixed_put_integer(&text, 123456789);
    EXPECT_EQ(text.length, 4);
    EXPECT_EQ(std::string(buffer, 4), "1234");
    EXPECT_EQ(buffer[4], 0);
    EXPECT_EQ(guard, 'G');
}

TEST_F(TextFormat, PrintWritesExactBytes) {
    testing::internal::CaptureStdout();
    print(str("gl error: "));
    print_integer(-1282);
    print(string{"\n", 1});
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "gl error: -1282\n");
}

}  // namespace
