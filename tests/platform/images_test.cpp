// Images decoded into the caller's arena, flipped on load and save, and refused when broken.
#include "image_files_helpers.h"
#include "image_memory.h"
#include "kestrune_system.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

string view(const std::string& text) { return string{text.data(), static_cast<int64_t>(text.size())}; }

class Images : public ImageFiles {
protected:
    // A 3 x 2 RGBA picture whose every byte differs, rows top to bottom.
    std::vector<uint8_t> pattern() const {
        std::vector<uint8_t> pixels(3 * 2 * 4);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(10 * i + 1);
        return pixels;
    }
    std::string save_pattern(const std::string& name) {
        std::vector<uint8_t> pixels = pattern();
        image picture{pixels.data(), 3, 2};
        EXPECT_TRUE(image_save(&picture, view(path(name)), IMAGE_RGBA));
        return path(name);
    }
    void write_file(const std::string& name, const std::vector<uint8_t>& bytes) const {
        std::ofstream out(path(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<uint8_t> read_file(const std::string& file) const {
        std::ifstream in(file, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(Images, APngLoadsWithFourComponentsAtAnAlignedAddressInTheArena) {
    std::string file = save_pattern("pattern.png");
    image_set_buffer_position(3);
    image loaded = image_load(view(file), IMAGE_RGBA);
    ASSERT_NE(loaded.pixels, nullptr);
    EXPECT_EQ(loaded.width, 3);
    EXPECT_EQ(loaded.height, 2);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(loaded.pixels) % 8, 0u);
    EXPECT_GE(loaded.pixels, arena.data());
    EXPECT_LE(loaded.pixels + 24, arena.data() + arena.size());
    EXPECT_EQ(std::vector<uint8_t>(loaded.pixels, loaded.pixels + 24), pattern());
    EXPECT_GE(image_get_buffer_position(), loaded.pixels - arena.data() + 24);
}

TEST_F(Images, MissingComponentsAreAddedAndExtraOnesDropped) {
    std::vector<uint8_t> rgb = {255, 0, 0, 0, 255, 0};
    image picture{rgb.data(), 2, 1};
    ASSERT_TRUE(image_save(&picture, view(path("rgb.png")), IMAGE_RGB));
    image loaded = image_load(view(path("rgb.png")), IMAGE_RGBA);
    ASSERT_NE(loaded.pixels, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(loaded.pixels, loaded.pixels + 8), (std::vector<uint8_t>{255, 0, 0, 255, 0, 255, 0, 255}));
    image grey = image_load(view(path("rgb.png")), IMAGE_GREY);
    ASSERT_NE(grey.pixels, nullptr);
    EXPECT_NEAR(grey.pixels[1], 150, 2);  // green weighs most in the grey value
}

TEST_F(Images, FlipOnLoadPutsTheBottomRowFirstAndFlipOnSaveUndoesIt) {
    std::string file = save_pattern("pattern.png");
    std::vector<uint8_t> original = pattern();
    image_set_flip(true);
    image flipped = image_load(view(file), IMAGE_RGBA);
    ASSERT_NE(flipped.pixels, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(flipped.pixels, flipped.pixels + 12),
              std::vector<uint8_t>(original.begin() + 12, original.end()));
    EXPECT_EQ(std::vector<uint8_t>(flipped.pixels + 12, flipped.pixels + 24),
              std::vector<uint8_t>(original.begin(), original.begin() + 12));

    ASSERT_TRUE(image_save(&flipped, view(path("again.png")), IMAGE_RGBA));
    image_set_flip(false);
    image upright = image_load(view(path("again.png")), IMAGE_RGBA);
    ASSERT_NE(upright.pixels, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(upright.pixels, upright.pixels + 24), original);
}

TEST_F(Images, TheExtensionChoosesTheWriterExactly) {
    std::vector<uint8_t> pixels = pattern();
    image picture{pixels.data(), 3, 2};
    for (const char* name : {"p.bmp", "p.tga", "p.png", "p.jpg", "dots.in.name.png"}) {
        EXPECT_TRUE(image_save(&picture, view(path(name)), IMAGE_RGBA)) << name;
        image loaded = image_load(view(path(name)), IMAGE_RGBA);
        ASSERT_NE(loaded.pixels, nullptr) << name;
        EXPECT_EQ(loaded.width, 3) << name;
        EXPECT_EQ(loaded.height, 2) << name;
    }
    EXPECT_EQ(read_file(path("p.bmp"))[0], 'B');
    EXPECT_EQ(read_file(path("p.png"))[1], 'P');
    EXPECT_EQ(read_file(path("p.jpg"))[0], 0xFF);
    for (const char* name : {"p.PNG", "p.Png", "p.jpeg", "p.gif", "p", "p.", "folder.png/p", "p.png "}) {
        EXPECT_FALSE(image_save(&picture, view(path(name)), IMAGE_RGBA)) << name;
        EXPECT_FALSE(fs::exists(path(name))) << name;
    }
}

TEST_F(Images, SavingNothingOrAnUnknownComponentCountFails) {
    std::vector<uint8_t> pixels = pattern();
    image empty{nullptr, 3, 2};
    EXPECT_FALSE(image_save(&empty, view(path("empty.png")), IMAGE_RGBA));
    image picture{pixels.data(), 3, 2};
    EXPECT_FALSE(image_save(&picture, view(path("five.png")), IMAGE_RGBA + 1));
    EXPECT_FALSE(image_save(&picture, view(path("zero.png")), 0));
    EXPECT_FALSE(fs::exists(path("empty.png")));
    EXPECT_FALSE(fs::exists(path("five.png")));
}

TEST_F(Images, TheExactFitArenaLoadsAndOneByteLessFails) {
    // Noise does not compress, so the decoder needs several working blocks.
    std::vector<uint8_t> noise(64 * 48 * 4);
    uint32_t state = 12345;
    for (uint8_t& byte : noise) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<uint8_t>(state >> 24);
    }
    image picture{noise.data(), 64, 48};
    ASSERT_TRUE(image_save(&picture, view(path("noise.png")), IMAGE_RGBA));
    ASSERT_NE(image_load(view(path("noise.png")), IMAGE_RGBA).pixels, nullptr);
    int64_t peak = image_get_buffer_position();
    ASSERT_GT(peak, 64 * 48 * 4);

    image_set_buffer(peak, arena.data());
    ::testing::internal::CaptureStdout();
    image fitted = image_load(view(path("noise.png")), IMAGE_RGBA);
    fflush(stdout);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    ASSERT_NE(fitted.pixels, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(fitted.pixels, fitted.pixels + noise.size()), noise);

    image_set_buffer(peak - 1, arena.data());
    ::testing::internal::CaptureStdout();
    image starved = image_load(view(path("noise.png")), IMAGE_RGBA);
    fflush(stdout);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "image memory allocation failed\n");
    EXPECT_EQ(starved.pixels, nullptr);
}

TEST_F(Images, NoArenaFailsWithTheMessage) {
    std::string file = save_pattern("pattern.png");
    image_set_buffer(0, nullptr);
    ::testing::internal::CaptureStdout();
    image loaded = image_load(view(file), IMAGE_RGBA);
    fflush(stdout);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "image memory allocation failed\n");
    EXPECT_EQ(loaded.pixels, nullptr);
}

TEST_F(Images, ResettingThePositionReusesTheSameMemory) {
    std::string file = save_pattern("pattern.png");
    int64_t start = image_get_buffer_position();
    image first = image_load(view(file), IMAGE_RGBA);
    image second = image_load(view(file), IMAGE_RGBA);
    ASSERT_NE(first.pixels, nullptr);
    ASSERT_NE(second.pixels, nullptr);
    EXPECT_NE(first.pixels, second.pixels);
    image_set_buffer_position(start);
    image third = image_load(view(file), IMAGE_RGBA);
    EXPECT_EQ(third.pixels, first.pixels);
}

TEST_F(Images, BrokenFilesGiveNullPixelsWithoutAMessage) {
    std::vector<uint8_t> png = read_file(save_pattern("pattern.png"));
    std::vector<uint8_t> truncated(png.begin(), png.begin() + static_cast<long>(png.size() / 2));
    std::vector<uint8_t> bad_body = png;
    for (size_t i = 40; i < bad_body.size() - 12; ++i) bad_body[i] ^= 0x5A;
    std::vector<uint8_t> noise(300);
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>(i * 37 + 11);
    write_file("truncated.png", truncated);
    write_file("bad_body.png", bad_body);
    write_file("noise.png", noise);
    write_file("empty.png", {});
    for (const char* name : {"truncated.png", "bad_body.png", "noise.png", "empty.png", "missing.png"}) {
        ::testing::internal::CaptureStdout();
        image loaded = image_load(view(path(name)), IMAGE_RGBA);
        fflush(stdout);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "") << name;
        EXPECT_EQ(loaded.pixels, nullptr) << name;
        EXPECT_EQ(loaded.width, 0) << name;
        EXPECT_EQ(loaded.height, 0) << name;
    }
    EXPECT_EQ(image_load_from_memory(static_cast<int32_t>(truncated.size()), truncated.data(), IMAGE_RGBA).pixels,
              nullptr);
    EXPECT_EQ(image_load_from_memory(0, png.data(), IMAGE_RGBA).pixels, nullptr);
    EXPECT_EQ(image_load_from_memory(16, nullptr, IMAGE_RGBA).pixels, nullptr);
    EXPECT_EQ(image_load(view(path("pattern.png")), 7).pixels, nullptr);
    EXPECT_EQ(image_load(view(path("pattern.png")), -1).pixels, nullptr);
}

TEST_F(Images, LoadingFromMemoryMatchesLoadingTheFile) {
    std::vector<uint8_t> png = read_file(save_pattern("pattern.png"));
    image loaded = image_load_from_memory(static_cast<int32_t>(png.size()), png.data(), IMAGE_RGBA);
    ASSERT_NE(loaded.pixels, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(loaded.pixels, loaded.pixels + 24), pattern());
}

TEST_F(Images, AShrinkingMoveCopiesOnlyWhatFitsInTheNewBlock) {
    alignas(8) uint8_t memory[40];
    memset(memory, 0xEE, sizeof memory);
    image_set_buffer(32, memory);  // the last 8 bytes lie outside the arena
    uint8_t* first = static_cast<uint8_t*>(image_memory_allocate(16));
    memset(first, 7, 16);
    image_memory_allocate(8);
    uint8_t* moved = static_cast<uint8_t*>(image_memory_reallocate(first, 16, 4));
    ASSERT_EQ(moved, memory + 24);
    for (int i = 0; i < 4; i++) EXPECT_EQ(moved[i], 7);
    for (int i = 32; i < 40; i++) EXPECT_EQ(memory[i], 0xEE) << i;
}

TEST_F(Images, TheArenaGrowsTheNewestBlockInPlaceAndMovesOthers) {
    alignas(8) uint8_t block[64] = {};
    image_set_buffer(64, block);
    uint8_t* first = static_cast<uint8_t*>(image_memory_allocate(5));
    ASSERT_EQ(first, block);
    first[0] = 42;
    uint8_t* second = static_cast<uint8_t*>(image_memory_allocate(4));
    EXPECT_EQ(second, block + 8);
    EXPECT_EQ(image_memory_reallocate(second, 4, 16), second);
    EXPECT_EQ(image_get_buffer_position(), 24);
    uint8_t* moved = static_cast<uint8_t*>(image_memory_reallocate(first, 5, 8));
    EXPECT_EQ(moved, block + 24);
    EXPECT_EQ(moved[0], 42);
    EXPECT_EQ(image_get_buffer_position(), 32);

    // Growing in place up to exactly the end of the block is refused.
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(image_memory_reallocate(moved, 8, 40), nullptr);
    fflush(stdout);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "image memory reallocation failed\n");

    image_set_buffer(64, block);
    ::testing::internal::CaptureStdout();
    EXPECT_NE(image_memory_allocate(64), nullptr);
    EXPECT_EQ(image_memory_allocate(1), nullptr);
    fflush(stdout);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "image memory allocation failed\n");
}

}  // namespace
