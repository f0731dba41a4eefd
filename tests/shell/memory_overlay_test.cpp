#include "base/arena.h"
#include "shell/memory_overlay.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string overlay_with(int64_t used) {
    Arena saved = persistent_arena;
    persistent_arena = Arena{nullptr, persistent_arena_capacity, used};
    char buffer[memory_overlay_capacity];
    string text = memory_overlay_text(buffer);
    persistent_arena = saved;
    return std::string(text.data, static_cast<size_t>(text.length));
}

TEST(MemoryOverlay, ShowsKibibytesAndThePercentageInUse) {
    EXPECT_EQ(overlay_with(1048576), "memory used: 1024 / 262144 kiB (0.3906%)");
    EXPECT_EQ(overlay_with(3072), "memory used: 3 / 262144 kiB (0.0011%)");
    EXPECT_EQ(overlay_with(134217728), "memory used: 131072 / 262144 kiB (50%)");
    EXPECT_EQ(overlay_with(1023), "memory used: 0 / 262144 kiB (0.0004%)");
    EXPECT_EQ(overlay_with(0), "memory used: 0 / 262144 kiB (0%)");
}

}  // namespace
