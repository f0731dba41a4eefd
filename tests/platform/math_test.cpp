#include "kestrune_system.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Math, ExportsFollowTheRuntime) {
    EXPECT_DOUBLE_EQ(math_log(1000), 3);
    EXPECT_DOUBLE_EQ(math_ln(std::exp(1.0)), 1);
    EXPECT_FALSE(std::signbit(math_abs(-0.0)));
    EXPECT_DOUBLE_EQ(math_fract(-2.75), -0.75);
    EXPECT_DOUBLE_EQ(math_atan2(1, 0), M_PI / 2);
    EXPECT_DOUBLE_EQ(math_mod(-7, 3), -1);
    EXPECT_TRUE(std::isnan(math_sqrt(-1)));
    EXPECT_DOUBLE_EQ(math_ldexp(0.75, 4), 12);
    int32_t exponent = 0;
    EXPECT_DOUBLE_EQ(math_frexp(12, &exponent), 0.75);
    EXPECT_EQ(exponent, 4);
    EXPECT_DOUBLE_EQ(math_frexp(0, &exponent), 0);
    EXPECT_EQ(exponent, 0);
}
