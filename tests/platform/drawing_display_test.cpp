// Frame buffers, blits, draw-buffer lists, clears and the draw calls, checked by reading pixels back.
#include "display_helpers.h"
#include "gl_helpers.h"
#include "kestrune_system.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class Drawing : public ::testing::Test {
protected:
    void SetUp() override {
        open_test_display();
        ASSERT_TRUE(opengl_initialized);
        drain_graphics_errors();
    }
    void TearDown() override { EXPECT_EQ(pipeline_get_error(), GRAPHICS_NO_ERROR); }
};

void fill_rect(int32_t x, int32_t y, int32_t width, int32_t height, float r, float g, float b) {
    pipeline_scissor_enable(true);
    pipeline_scissor_rect(x, y, width, height);
    pipeline_clear_color(r, g, b, 1);
    pipeline_clear(BUFFER_COLOR);
    pipeline_scissor_enable(false);
}

TEST_F(Drawing, BlitScalesTheColourBufferWithLinearFiltering) {
    TestFrameBuffer source = make_test_frame_buffer(640, 480);
    fill_rect(0, 0, 320, 480, 1, 0, 0);
    fill_rect(320, 0, 320, 480, 0, 1, 0);
    TestFrameBuffer destination = make_test_frame_buffer(1280, 960);
    pipeline_clear_color(0, 0, 1, 1);
    pipeline_clear(BUFFER_COLOR);
    frame_buffer_bind(FRAME_BUFFER_READ, source.frame_buffer);
    frame_buffer_bind(FRAME_BUFFER_DRAW, destination.frame_buffer);
    frame_buffer_blit(0, 0, 640, 480, 0, 0, 1280, 960, BUFFER_COLOR, FILTER_LINEAR);
    frame_buffer_bind(FRAME_BUFFER_READ, destination.frame_buffer);

    EXPECT_EQ(read_pixel(0, 0), (std::vector<uint8_t>{255, 0, 0, 255}));
    EXPECT_EQ(read_pixel(600, 900), (std::vector<uint8_t>{255, 0, 0, 255}));
    EXPECT_EQ(read_pixel(1279, 959), (std::vector<uint8_t>{0, 255, 0, 255}));
    // The pixel left of the seam samples a quarter of the way into the green column.
    std::vector<uint8_t> seam = read_pixel(639, 100);
    EXPECT_NEAR(seam[0], 191, 3);
    EXPECT_NEAR(seam[1], 64, 3);
    EXPECT_EQ(seam[2], 0);
    destroy_test_frame_buffer(destination);
    destroy_test_frame_buffer(source);
}

TEST_F(Drawing, BlitWithNearestFilterAndPartialRectangles) {
    TestFrameBuffer source = make_test_frame_buffer(4, 4);
    pipeline_clear_color(1, 1, 1, 1);
    pipeline_clear(BUFFER_COLOR);
    fill_rect(2, 2, 2, 2, 1, 0, 0);
    TestFrameBuffer destination = make_test_frame_buffer(16, 16);
    pipeline_clear_color(0, 0, 0, 1);
    pipeline_clear(BUFFER_COLOR);
    frame_buffer_bind(FRAME_BUFFER_READ, source.frame_buffer);
    frame_buffer_blit(2, 2, 2, 2, 8, 4, 4, 8, BUFFER_COLOR, FILTER_NEAREST);
    frame_buffer_bind(FRAME_BUFFER_READ, destination.frame_buffer);
    EXPECT_EQ(read_pixel(8, 4), (std::vector<uint8_t>{255, 0, 0, 255}));
    EXPECT_EQ(read_pixel(11, 11), (std::vector<uint8_t>{255, 0, 0, 255}));
    EXPECT_EQ(read_pixel(12, 11), (std::vector<uint8_t>{0, 0, 0, 255}));
    EXPECT_EQ(read_pixel(11, 12), (std::vector<uint8_t>{0, 0, 0, 255}));
    EXPECT_EQ(read_pixel(7, 4), (std::vector<uint8_t>{0, 0, 0, 255}));
    destroy_test_frame_buffer(destination);
    destroy_test_frame_buffer(source);
}

TEST_F(Drawing, DrawBuffersTranslateEntriesAndUseTheLowByteOfTheCount) {
    TestFrameBuffer target = make_test_frame_buffer(8, 8);
    uint32_t second = texture_create();
    texture_bind(TEXTURE_2D, second);
    texture_image_2d(TEXTURE_2D, 0, INTERNAL_RGBA8, 8, 8, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, nullptr);
    frame_buffer_texture(FRAME_BUFFER_BOTH, ATTACHMENT_COLOR, 1, second, 0);
    int32_t before = temporary_pos;

    int32_t entries[3] = {0, -1, 1};
    pipeline_draw_buffers(int_view{entries, 3});
    GLint buffer = -1;
    glGetIntegerv(GL_DRAW_BUFFER0, &buffer);
    EXPECT_EQ(buffer, GL_COLOR_ATTACHMENT0);
    glGetIntegerv(GL_DRAW_BUFFER1, &buffer);
    EXPECT_EQ(buffer, GL_NONE);
    glGetIntegerv(GL_DRAW_BUFFER2, &buffer);
    EXPECT_EQ(buffer, GL_COLOR_ATTACHMENT1);
    EXPECT_EQ(temporary_pos, before);

    // A count of 257 keeps only its low byte: one entry.
    int32_t single[1] = {1};
    pipeline_draw_buffers(int_view{single, 257});
    glGetIntegerv(GL_DRAW_BUFFER0, &buffer);
    EXPECT_EQ(buffer, GL_COLOR_ATTACHMENT1);
    glGetIntegerv(GL_DRAW_BUFFER1, &buffer);
    EXPECT_EQ(buffer, GL_NONE);

    // With attachment 1 as the only draw buffer a clear leaves attachment 0 alone.
    pipeline_clear_color(0, 0, 0, 1);
    int32_t both[2] = {0, 1};
    pipeline_draw_buffers(int_view{both, 2});
    pipeline_clear(BUFFER_COLOR);
    pipeline_draw_buffers(int_view{single, 1});
    pipeline_clear_color(1, 1, 0, 1);
    pipeline_clear(BUFFER_COLOR);
    pipeline_read_buffer(0);
    EXPECT_EQ(read_pixel(3, 3), (std::vector<uint8_t>{0, 0, 0, 255}));
    pipeline_read_buffer(1);
    EXPECT_EQ(read_pixel(3, 3), (std::vector<uint8_t>{255, 255, 0, 255}));
    pipeline_read_buffer(-1);
    GLint read_buffer = -1;
    glGetIntegerv(GL_READ_BUFFER, &read_buffer);
    EXPECT_EQ(read_buffer, GL_NONE);
    pipeline_read_buffer(0);

    texture_destroy(second);
    destroy_test_frame_buffer(target);
}

TEST_F(Drawing, AttachmentKindsAndStatusCodes) {
    uint32_t frame_buffer = frame_buffer_create();
    frame_buffer_bind(FRAME_BUFFER_BOTH, frame_buffer);
    EXPECT_EQ(frame_buffer_get_status(FRAME_BUFFER_BOTH), FRAME_BUFFER_MISSING_ATTACHMENT);

    uint32_t depth_stencil = render_buffer_create();
    render_buffer_bind(depth_stencil);
    render_buffer_storage(INTERNAL_DEPTH24_STENCIL8, 8, 8);
    frame_buffer_render_buffer(FRAME_BUFFER_BOTH, ATTACHMENT_DEPTH_STENCIL, 0, depth_stencil);
    uint32_t colour = texture_create();
    texture_bind(TEXTURE_2D, colour);
    texture_image_2d(TEXTURE_2D, 0, INTERNAL_RGBA8, 8, 8, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, nullptr);
    frame_buffer_texture(FRAME_BUFFER_BOTH, ATTACHMENT_COLOR, 2, colour, 0);
    int32_t draw_second[1] = {2};
    pipeline_draw_buffers(int_view{draw_second, 1});
    pipeline_read_buffer(2);
    EXPECT_EQ(frame_buffer_get_status(FRAME_BUFFER_BOTH), FRAME_BUFFER_COMPLETE);

    GLint name = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT2, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME,
                                          &name);
    EXPECT_EQ(name, static_cast<GLint>(colour));
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME,
                                          &name);
    EXPECT_EQ(name, static_cast<GLint>(depth_stencil));
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &name);
    EXPECT_EQ(name, static_cast<GLint>(depth_stencil));

    // Depth and stencil cleared through the buffer-set bits and read back through the tables.
    pipeline_viewport(0, 0, 8, 8);
    pipeline_clear_depth(0.25f);
    pipeline_clear_stencil(7);
    pipeline_clear(BUFFER_DEPTH | BUFFER_STENCIL);
    float depth = 0;
    pipeline_read_pixels(2, 2, 1, 1, FORMAT_DEPTH, TYPE_FLOAT, &depth);
    EXPECT_NEAR(depth, 0.25f, 1e-5f);
    uint8_t stencil = 0;
    pipeline_read_pixels(2, 2, 1, 1, FORMAT_STENCIL, TYPE_UNSIGNED_BYTE, &stencil);
    EXPECT_EQ(stencil, 7);
    pipeline_clear_stencil(0);
    pipeline_clear(BUFFER_COLOR);  // colour only: stencil stays
    pipeline_read_pixels(2, 2, 1, 1, FORMAT_STENCIL, TYPE_UNSIGNED_BYTE, &stencil);
    EXPECT_EQ(stencil, 7);

    // A depth texture cannot stand in a colour slot.
    uint32_t depth_texture = texture_create();
    texture_bind(TEXTURE_2D, depth_texture);
    texture_image_2d(TEXTURE_2D, 0, INTERNAL_DEPTH24, 8, 8, FORMAT_DEPTH, TYPE_FLOAT, nullptr);
    frame_buffer_texture(FRAME_BUFFER_BOTH, ATTACHMENT_COLOR, 2, depth_texture, 0);
    EXPECT_EQ(frame_buffer_get_status(FRAME_BUFFER_BOTH), FRAME_BUFFER_INCOMPLETE_ATTACHMENT);

    frame_buffer_texture(FRAME_BUFFER_BOTH, ATTACHMENT_KIND_COUNT, 0, colour, 0);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_ENUM);

    frame_buffer_unbind(FRAME_BUFFER_BOTH);
    texture_destroy(depth_texture);
    texture_destroy(colour);
    render_buffer_unbind();
    render_buffer_destroy(depth_stencil);
    frame_buffer_destroy(frame_buffer);
}

TEST_F(Drawing, ReadPixelsTranslatesFormatsAndTypes) {
    TestFrameBuffer target = make_test_frame_buffer(4, 4);
    pipeline_clear_color(1.0f, 0.5f, 0.0f, 1.0f);
    pipeline_clear(BUFFER_COLOR);
    float red_green[2] = {};
    pipeline_read_pixels(1, 1, 1, 1, FORMAT_RG, TYPE_FLOAT, red_green);
    EXPECT_FLOAT_EQ(red_green[0], 1.0f);
    EXPECT_NEAR(red_green[1], 0.5f, 0.01f);
    uint16_t rgb[3] = {};
    pipeline_pixel_store(PACK_ALIGNMENT, 2);
    pipeline_read_pixels(1, 1, 1, 1, FORMAT_RGB, TYPE_UNSIGNED_SHORT, rgb);
    EXPECT_EQ(rgb[0], 0xFFFF);
    EXPECT_NEAR(rgb[1], 0x8080, 0x100);
    EXPECT_EQ(rgb[2], 0);
    pipeline_pixel_store(PACK_ALIGNMENT, 4);
    uint32_t packed = 0;
    pipeline_read_pixels(1, 1, 1, 1, FORMAT_RGBA, TYPE_UNSIGNED_INT_8_8_8_8, &packed);
    EXPECT_EQ(packed >> 24, 0xFFu);
    EXPECT_EQ(packed & 0xFF, 0xFFu);
    EXPECT_EQ((packed >> 8) & 0xFF, 0u);
    uint8_t green = 0;
    pipeline_pixel_store(PACK_ALIGNMENT, 1);
    pipeline_read_pixels(1, 1, 1, 1, FORMAT_GREEN, TYPE_UNSIGNED_BYTE, &green);
    EXPECT_NEAR(green, 128, 1);
    pipeline_pixel_store(PACK_ALIGNMENT, 4);

    std::vector<uint8_t> texels(4 * 4 * 4);
    texture_bind(TEXTURE_2D, target.colour);
    texture_get_image(TEXTURE_2D, 0, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels[0], 255);
    EXPECT_NEAR(texels[1], 128, 1);
    destroy_test_frame_buffer(target);
}

// Two quads, left and right halves of the lower half; instance 1 moves a quad up by one unit.
struct QuadScene {
    uint32_t vertex_array;
    uint32_t vertices;
    uint32_t indices;
    uint32_t program;
};

QuadScene make_quad_scene() {
    QuadScene scene{vertex_array_create(), buffer_create(), buffer_create(), 0};
    const float positions[16] = {-1, -1, 0, -1, 0, 0, -1, 0, 0, -1, 1, -1, 1, 0, 0, 0};
    const uint8_t order[12] = {0, 0, 0, 0, 0, 1, 2, 0, 2, 3, 0, 0};  // six indices at byte offset 4
    vertex_array_bind(scene.vertex_array);
    buffer_bind(BUFFER_ARRAY, scene.vertices);
    buffer_data(BUFFER_ARRAY, sizeof positions, positions, USAGE_STATIC_DRAW);
    buffer_bind(BUFFER_ELEMENT_ARRAY, scene.indices);
    buffer_data(BUFFER_ELEMENT_ARRAY, sizeof order, order, USAGE_STATIC_DRAW);
    attribute_format(0, 2, TYPE_FLOAT, false, 8, 0);
    attribute_enable(0, true);
    scene.program = build_program(
        "layout(location = 0) in vec2 position;\n"
        "void main() { gl_Position = vec4(position + vec2(0.0, float(gl_InstanceID)), 0.0, 1.0); }\n",
        "out vec4 colour;\nvoid main() { colour = vec4(1.0); }\n");
    shader_bind(scene.program);
    return scene;
}

void destroy_quad_scene(QuadScene scene) {
    shader_unbind();
    shader_destroy(scene.program);
    vertex_array_unbind();
    buffer_destroy(scene.indices);
    buffer_destroy(scene.vertices);
    vertex_array_destroy(scene.vertex_array);
}

// Which quarters are lit, in the order lower left, lower right, upper left, upper right.
std::vector<bool> lit_quarters() {
    std::vector<bool> lit;
    const int32_t points[4][2] = {{4, 4}, {12, 4}, {4, 12}, {12, 12}};
    for (const auto& point : points) lit.push_back(read_pixel(point[0], point[1])[0] == 255);
    return lit;
}

TEST_F(Drawing, DrawElementsChoosesAmongItsFourCalls) {
    TestFrameBuffer target = make_test_frame_buffer(16, 16);
    QuadScene scene = make_quad_scene();
    struct Case {
        int32_t base_vertex;
        int32_t instances;
        std::vector<bool> lit;
    };
    const Case cases[] = {
        {0, 1, {true, false, false, false}},
        {4, 1, {false, true, false, false}},
        {0, 2, {true, false, true, false}},
        {4, 2, {false, true, false, true}},
    };
    for (const Case& c : cases) {
        pipeline_clear_color(0, 0, 0, 1);
        pipeline_clear(BUFFER_COLOR);
        draw_elements(PRIMITIVE_TRIANGLES, TYPE_UNSIGNED_BYTE, 4, 6, c.base_vertex, c.instances);
        EXPECT_EQ(lit_quarters(), c.lit) << c.base_vertex << " " << c.instances;
    }
    destroy_quad_scene(scene);
    destroy_test_frame_buffer(target);
}

TEST_F(Drawing, DrawArraysInstancedAndAttributeDivisor) {
    TestFrameBuffer target = make_test_frame_buffer(16, 16);
    QuadScene scene = make_quad_scene();
    pipeline_clear_color(0, 0, 0, 1);
    pipeline_clear(BUFFER_COLOR);
    draw_arrays(PRIMITIVE_TRIANGLE_FAN, 4, 4, 1);
    EXPECT_EQ(lit_quarters(), (std::vector<bool>{false, true, false, false}));
    pipeline_clear(BUFFER_COLOR);
    draw_arrays(PRIMITIVE_TRIANGLE_FAN, 0, 4, 2);
    EXPECT_EQ(lit_quarters(), (std::vector<bool>{true, false, true, false}));
    attribute_divisor(0, 1);
    GLint divisor = 0;
    glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_DIVISOR, &divisor);
    EXPECT_EQ(divisor, 1);
    attribute_divisor(0, 0);
    attribute_integer_format(1, 3, TYPE_SHORT, 6, 2);
    GLint type = 0, size = 0, is_integer = 0;
    glGetVertexAttribiv(1, GL_VERTEX_ATTRIB_ARRAY_TYPE, &type);
    glGetVertexAttribiv(1, GL_VERTEX_ATTRIB_ARRAY_SIZE, &size);
    glGetVertexAttribiv(1, GL_VERTEX_ATTRIB_ARRAY_INTEGER, &is_integer);
    EXPECT_EQ(type, GL_SHORT);
    EXPECT_EQ(size, 3);
    EXPECT_EQ(is_integer, GL_TRUE);
    void* offset = nullptr;
    glGetVertexAttribPointerv(1, GL_VERTEX_ATTRIB_ARRAY_POINTER, &offset);
    EXPECT_EQ(reinterpret_cast<intptr_t>(offset), 2);
    destroy_quad_scene(scene);
    destroy_test_frame_buffer(target);
}

TEST_F(Drawing, BackFacesAreCulledWhenCounterClockwiseIsFront) {
    TestFrameBuffer target = make_test_frame_buffer(16, 16);
    QuadScene scene = make_quad_scene();
    pipeline_cull_enable(true);
    pipeline_cull_face(FACE_BACK);
    pipeline_cull_orientation(ORIENTATION_COUNTER_CLOCKWISE);
    pipeline_clear_color(0, 0, 0, 1);
    pipeline_clear(BUFFER_COLOR);
    draw_arrays(PRIMITIVE_TRIANGLE_FAN, 0, 4, 1);  // counter-clockwise on screen
    EXPECT_EQ(lit_quarters(), (std::vector<bool>{true, false, false, false}));
    pipeline_cull_orientation(ORIENTATION_CLOCKWISE);
    pipeline_clear(BUFFER_COLOR);
    draw_arrays(PRIMITIVE_TRIANGLE_FAN, 0, 4, 1);
    EXPECT_EQ(lit_quarters(), (std::vector<bool>{false, false, false, false}));
    pipeline_cull_enable(false);
    pipeline_cull_orientation(ORIENTATION_COUNTER_CLOCKWISE);
    destroy_quad_scene(scene);
    destroy_test_frame_buffer(target);
}

TEST_F(Drawing, AlphaBlendingWithSourceAlphaFactors) {
    TestFrameBuffer target = make_test_frame_buffer(16, 16);
    QuadScene scene = make_quad_scene();
    uint32_t program = build_program(
        "layout(location = 0) in vec2 position;\nvoid main() { gl_Position = vec4(position, 0.0, 1.0); }\n",
        "uniform vec4 tint;\nout vec4 colour;\nvoid main() { colour = tint; }\n");
    shader_bind(program);
    shader_uniform4f(shader_get_uniform_location(program, string{"tint", 4}), 1, 1, 1, 0.25f);
    pipeline_clear_color(0, 0, 0, 1);
    pipeline_clear(BUFFER_COLOR);
    pipeline_blend_enable(true);
    pipeline_blend_factor(BLEND_SOURCE_ALPHA, BLEND_ONE_MINUS_SOURCE_ALPHA);
    draw_arrays(PRIMITIVE_TRIANGLE_FAN, 0, 4, 1);
    pipeline_blend_enable(false);
    EXPECT_NEAR(read_pixel(4, 4)[0], 64, 1);
    shader_destroy(program);
    destroy_quad_scene(scene);
    destroy_test_frame_buffer(target);
}

}  // namespace
