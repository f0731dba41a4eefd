#include "base/arena.h"
#include "base/random.h"
#include "base/strings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

struct ThreeBytes {
    uint8_t a, b, c;
};

class ArenaTest : public ::testing::Test {
protected:
    void SetUp() override { create_arenas(1 << 20, 1 << 16); }
    void TearDown() override { destroy_arenas(); }
};

TEST_F(ArenaTest, AllocationAlignsToEight) {
    persistent_arena.used = 5;
    EXPECT_EQ(arena_allocate(PERSISTENT_ARENA, 3), persistent_arena.base + 8);
    EXPECT_EQ(persistent_arena.used, 11);
    frame_arena.used = 16;
    EXPECT_EQ(arena_allocate(FRAME_ARENA, 1), frame_arena.base + 16);
}

TEST_F(ArenaTest, UnknownArenaIdsReturnNullWithAMessage) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(arena_allocate(2, 8), nullptr);
    EXPECT_EQ(arena_reallocate(7, nullptr, 0, 8), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "failed to allocate!\nfailed to reallocate!\n");
}

TEST_F(ArenaTest, MostRecentBlockGrowsInPlaceOthersMove) {
    uint8_t* first = static_cast<uint8_t*>(arena_allocate(PERSISTENT_ARENA, 16));
    for (int i = 0; i < 16; i++) first[i] = static_cast<uint8_t>(i);
    EXPECT_EQ(arena_reallocate(PERSISTENT_ARENA, first, 16, 64), first);
    EXPECT_EQ(persistent_arena.used, 64);

    arena_allocate(PERSISTENT_ARENA, 8);
    uint8_t* moved = static_cast<uint8_t*>(arena_reallocate(PERSISTENT_ARENA, first, 64, 128));
    EXPECT_EQ(moved, persistent_arena.base + 72);
    for (int i = 0; i < 16; i++) EXPECT_EQ(moved[i], i);
}

TEST_F(ArenaTest, PushDoublesCapacity) {
    GrowableArray<ThreeBytes> cards{};
    std::vector<int64_t> capacities;
    for (uint8_t i = 0; i < 5; i++) {
        array_push(&cards, ThreeBytes{i, static_cast<uint8_t>(i + 1), static_cast<uint8_t>(i + 2)});
        capacities.push_back(cards.capacity);
    }
    EXPECT_EQ(capacities, (std::vector<int64_t>{1, 2, 4, 4, 8}));
    ASSERT_EQ(cards.count, 5);
    for (uint8_t i = 0; i < 5; i++) EXPECT_EQ(cards.data[i].c, i + 2);
    array_clear(&cards);
    EXPECT_EQ(cards.count, 0);
    EXPECT_EQ(cards.capacity, 8);
}

TEST_F(ArenaTest, CopyAndConcat) {
    string copy = arena_copy_string(str("state"));
    EXPECT_TRUE(string_equals(copy, str("state")));
    EXPECT_GE(reinterpret_cast<const uint8_t*>(copy.data), persistent_arena.base);
    string joined = arena_concat(str("custom_"), str("maps"), FRAME_ARENA);
    EXPECT_TRUE(string_equals(joined, str("custom_maps")));
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(joined.data), frame_arena.base);
}

TEST_F(ArenaTest, ExhaustionEndsTheProcessInsteadOfOverlapping) {
    arena_allocate(FRAME_ARENA, (1 << 16) - 8);
    EXPECT_EXIT(arena_allocate(FRAME_ARENA, 16), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(arena_allocate(PERSISTENT_ARENA, int64_t{1} << 40), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(arena_allocate(PERSISTENT_ARENA, -5), testing::ExitedWithCode(1), "");
}

// Known answers: SplitMix64's first outputs from seed 0, and xoshiro256**'s first outputs from the
// state {1, 2, 3, 4}, as published with the reference implementations.
TEST(Random, SeedZeroFillsTheStateWithSplitMixOutputs) {
    seed_random(0);
    EXPECT_EQ(random_state.s[0], 0xe220a8397b1dcdafull);
    EXPECT_EQ(random_state.s[1], 0x6e789e6aa1b965f4ull);
    EXPECT_EQ(random_state.s[2], 0x06c45d188009454full);
    EXPECT_EQ(random_state.s[3], 0xf88bb8a8724c81ecull);
}

TEST(Random, OutputsFromStateOneTwoThreeFour) {
    random_state = RandomState{{1, 2, 3, 4}};
    const uint64_t expected[] = {11520ull,
                                 0ull,
                                 1509978240ull,
                                 1215971899390074240ull,
                                 1216172134540287360ull,
                                 607988272756665600ull,
                                 16172922978634559625ull,
                                 8476171486693032832ull,
                                 10595114339597558777ull,
                                 2904607092377533576ull};
    for (uint64_t value : expected) EXPECT_EQ(random_u64(), value);
}

TEST(Random, BelowStaysInRangeAndOneDrawsOnce) {
    seed_random(42);
    RandomState before = random_state;
    EXPECT_EQ(random_below(1), 0u);
    random_state = before;
    random_u64();
    RandomState after_one = random_state;
    random_state = before;
    random_below(1);
    EXPECT_EQ(random_state.s[0], after_one.s[0]);

    int counts[6] = {};
    for (int i = 0; i < 6000; i++) {
        uint64_t value = random_below(6);
        ASSERT_LT(value, 6u);
        counts[value]++;
    }
    for (int count : counts) EXPECT_GT(count, 800);
}

}  // namespace
