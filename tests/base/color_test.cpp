#include "base/color.h"

#include <gtest/gtest.h>

namespace {

TEST(Color, EverySeatColourReadsOnTheDarkBackingOnceMadeReadable) {
    for (uint8_t index = 0; index < six_color_count; index++) {
        Color text = readable_on_dark(player_color(index));
        EXPECT_GE(contrast_ratio(text, dark_text_backing), 4.5) << int(index);
        // Lightened, never darkened or shifted to another hue's order.
        EXPECT_GE(text.r, player_color(index).r);
        EXPECT_GE(text.b, player_color(index).b);
    }
    // Pure blue on near-black is what players could not read.
    EXPECT_LT(contrast_ratio(player_color(1), dark_text_backing), 3.0);
    Color white{1, 1, 1, 1};
    EXPECT_EQ(readable_on_dark(white).g, 1.0f);
    EXPECT_NEAR(contrast_ratio(white, Color{0, 0, 0, 1}), 21.0, 1e-9);
}

}  // namespace
