#include "gl_helpers.h"

TestFrameBuffer make_test_frame_buffer(int32_t width, int32_t height) {
    TestFrameBuffer target{frame_buffer_create(), texture_create(), width, height};
    texture_bind(TEXTURE_2D, target.colour);
    texture_image_2d(TEXTURE_2D, 0, INTERNAL_RGBA8, width, height, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, nullptr);
    texture_parameter_filter(TEXTURE_2D, PARAMETER_MIN_FILTER, FILTER_NEAREST);
    texture_parameter_filter(TEXTURE_2D, PARAMETER_MAG_FILTER, FILTER_NEAREST);
    frame_buffer_bind(FRAME_BUFFER_BOTH, target.frame_buffer);
    frame_buffer_texture(FRAME_BUFFER_BOTH, ATTACHMENT_COLOR, 0, target.colour, 0);
    pipeline_viewport(0, 0, width, height);
    return target;
}

void destroy_test_frame_buffer(TestFrameBuffer target) {
    frame_buffer_unbind(FRAME_BUFFER_BOTH);
    frame_buffer_destroy(target.frame_buffer);
    texture_destroy(target.colour);
}

std::vector<uint8_t> read_pixel(int32_t x, int32_t y) {
    std::vector<uint8_t> pixel(4);
    pipeline_read_pixels(x, y, 1, 1, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, pixel.data());
    return pixel;
}

uint32_t build_program(const std::string& vertex_code, const std::string& fragment_code) {
    std::string source = "#vertex\n#version 330 core\n" + vertex_code + "#fragment\n#version 330 core\n" + fragment_code;
    uint32_t program = shader_create();
    uint8_t log[1024];
    shader_source(program, view(source), byte_view{log, sizeof log});
    return program;
}

void drain_graphics_errors() {
    while (pipeline_get_error() != GRAPHICS_NO_ERROR) {
    }
}
