// Off-screen targets and small shaders for the graphics tests.
#pragma once

#include "kestrune_system.h"

#include <cstdint>
#include <string>
#include <vector>

struct TestFrameBuffer {
    uint32_t frame_buffer;
    uint32_t colour;
    int32_t width;
    int32_t height;
};

// An RGBA8 colour texture of the given size attached as colour 0, bound for drawing and
// reading, with the viewport covering it.
TestFrameBuffer make_test_frame_buffer(int32_t width, int32_t height);
void destroy_test_frame_buffer(TestFrameBuffer target);

// RGBA bytes of one pixel of the bound read frame buffer.
std::vector<uint8_t> read_pixel(int32_t x, int32_t y);

inline string view(const std::string& text) { return string{text.data(), static_cast<int64_t>(text.size())}; }

// Links a program from a vertex and a fragment body, each given its own version line.
uint32_t build_program(const std::string& vertex_code, const std::string& fragment_code);

// Clears any error left over by earlier calls.
void drain_graphics_errors();
