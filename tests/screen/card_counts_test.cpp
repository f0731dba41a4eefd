// How the game screen words the card counts it shows while hands are hidden.
#include "screen/game_overlays.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string count_text(int64_t cards) {
    char letters[32];
    FixedText text{letters, sizeof letters, 0, 0};
    string view = card_count_text(cards, &text);
    return std::string(view.data, static_cast<size_t>(view.length));
}

TEST(CardCounts, WarnAtOneCardOrNone) {
    EXPECT_EQ(count_text(3), "3 cards");
    EXPECT_EQ(count_text(1), "1 card!");
    EXPECT_EQ(count_text(0), "0 cards!");
}

}  // namespace
