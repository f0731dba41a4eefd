// The image tests' shared set-up: a fresh folder per test and a 4 MB image block, flip off.
#pragma once

#include "kestrune_system.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class ImageFiles : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        directory = std::filesystem::path(VARNHOLT_BINARY_DIR) / "image_test_files" / test->test_suite_name() /
                    test->name();
        std::filesystem::remove_all(directory);
        std::filesystem::create_directories(directory);
        arena.assign(4 << 20, 0);
        image_set_buffer(static_cast<int64_t>(arena.size()), arena.data());
        image_set_flip(false);
    }
    void TearDown() override {
        image_set_flip(false);
        image_set_buffer(0, nullptr);
        std::filesystem::remove_all(directory);
    }
    std::string path(const std::string& name) const { return (directory / name).string(); }

    std::filesystem::path directory;
    std::vector<uint8_t> arena;  // heap blocks are 16-byte aligned
};
