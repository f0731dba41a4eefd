// The game's renderer started once per test process on a real window, and pixel read-back.
#pragma once

#include "base/strings.h"

#include <cstdint>
#include <string>
#include <vector>

// Library, arenas, window and every render resource, with the frame loop's fixed pipeline state.
// Later calls only rebuild the screen projection and reset the camera to screen space.
void start_renderer();

struct Pixel {
    int r, g, b, a;
};

// From the bound read frame buffer (the scene after begin_scene).
Pixel read_scene_pixel(int32_t x, int32_t y);
std::vector<uint8_t> read_region(int32_t x, int32_t y, int32_t width, int32_t height);

// Rows bottom-up as read; written the right way up.
void save_region_png(const std::string& path, int32_t x, int32_t y, int32_t width, int32_t height);

// Whether two window read-backs of the same size show the same scene to within one step of its bytes
// per channel: a driver's blending may round a step apart, and the gamma pass shows a step near
// black as several. Alpha is compared as it is.
bool within_one_step(const std::vector<uint8_t>& shown, const std::vector<uint8_t>& expected, std::string* report);

// Compares a region with tests/render/golden/NAME.png: every channel within tolerance on all but a few
// pixels. With VARNHOLT_UPDATE_GOLDEN set the golden file is written instead.
bool matches_golden(const std::string& name, int32_t x, int32_t y, int32_t width, int32_t height,
                    int tolerance, std::string* report);

// Standard output produced while the function runs.
template <typename Function>
std::string captured_output(Function function);

std::string write_temporary_file(const std::string& name, const std::string& contents);
std::string temporary_directory();

inline string view_of(const std::string& text) { return string{text.data(), static_cast<int64_t>(text.size())}; }

#include <gtest/gtest.h>

template <typename Function>
std::string captured_output(Function function) {
    testing::internal::CaptureStdout();
    function();
    return testing::internal::GetCapturedStdout();
}
