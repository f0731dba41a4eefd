// Every library index reaches OpenGL as the listed enumeration, read back from OpenGL's state.
#include "display_helpers.h"
#include "gl_helpers.h"
#include "kestrune_system.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

GLint get_integer(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

class GraphicsTables : public ::testing::Test {
protected:
    void SetUp() override {
        open_test_display();
        ASSERT_TRUE(opengl_initialized);
        drain_graphics_errors();
    }
    void TearDown() override { EXPECT_EQ(pipeline_get_error(), GRAPHICS_NO_ERROR); }
};

TEST_F(GraphicsTables, BlendFactorsCountFromZeroAndPastTheEndIsZero) {
    const GLenum expected[] = {GL_ZERO,
                               GL_ONE,
                               GL_SRC_COLOR,
                               GL_SRC_ALPHA,
                               GL_DST_COLOR,
                               GL_DST_ALPHA,
                               GL_CONSTANT_COLOR,
                               GL_CONSTANT_ALPHA,
                               GL_ONE_MINUS_SRC_COLOR,
                               GL_ONE_MINUS_SRC_ALPHA,
                               GL_ONE_MINUS_DST_COLOR,
                               GL_ONE_MINUS_DST_ALPHA,
                               GL_ONE_MINUS_CONSTANT_COLOR,
                               GL_ONE_MINUS_CONSTANT_ALPHA};
    for (uint32_t i = 0; i < BLEND_FACTOR_COUNT; ++i) {
        uint32_t last = BLEND_FACTOR_COUNT - 1;
        pipeline_blend_factor(i, last - i);
        EXPECT_EQ(get_integer(GL_BLEND_SRC_RGB), static_cast<GLint>(expected[i])) << i;
        EXPECT_EQ(get_integer(GL_BLEND_DST_ALPHA), static_cast<GLint>(expected[last - i])) << i;
    }
    pipeline_blend_factor(BLEND_ZERO, BLEND_ONE);
    EXPECT_EQ(get_integer(GL_BLEND_SRC_RGB), GL_ZERO);
    EXPECT_EQ(get_integer(GL_BLEND_DST_RGB), GL_ONE);
    pipeline_blend_factor_separate(BLEND_SOURCE_ALPHA, BLEND_ONE_MINUS_SOURCE_ALPHA, BLEND_FACTOR_COUNT, BLEND_ONE);
    EXPECT_EQ(get_integer(GL_BLEND_SRC_RGB), GL_SRC_ALPHA);
    EXPECT_EQ(get_integer(GL_BLEND_DST_RGB), GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(get_integer(GL_BLEND_SRC_ALPHA), GL_ZERO);
    EXPECT_EQ(get_integer(GL_BLEND_DST_ALPHA), GL_ONE);
}

TEST_F(GraphicsTables, BlendEquationsAndLogicOperations) {
    const GLenum equations[] = {GL_FUNC_ADD, GL_FUNC_SUBTRACT, GL_FUNC_REVERSE_SUBTRACT, GL_MIN, GL_MAX};
    for (uint32_t i = 0; i < BLEND_EQUATION_COUNT; ++i) {
        uint32_t last = BLEND_EQUATION_COUNT - 1;
        pipeline_blend_equation_separate(i, last - i);
        EXPECT_EQ(get_integer(GL_BLEND_EQUATION_RGB), static_cast<GLint>(equations[i]));
        EXPECT_EQ(get_integer(GL_BLEND_EQUATION_ALPHA), static_cast<GLint>(equations[last - i]));
    }
    pipeline_blend_equation(BLEND_REVERSE_SUBTRACT);
    EXPECT_EQ(get_integer(GL_BLEND_EQUATION_ALPHA), GL_FUNC_REVERSE_SUBTRACT);
    const GLenum operations[] = {GL_CLEAR,       GL_SET,          GL_COPY,       GL_COPY_INVERTED,
                                 GL_NOOP,        GL_INVERT,       GL_AND,        GL_NAND,
                                 GL_OR,          GL_NOR,          GL_XOR,        GL_EQUIV,
                                 GL_AND_REVERSE, GL_AND_INVERTED, GL_OR_REVERSE, GL_OR_INVERTED};
    for (uint32_t i = 0; i < LOGIC_OPERATION_COUNT; ++i) {
        pipeline_logic_op(i);
        EXPECT_EQ(get_integer(GL_LOGIC_OP_MODE), static_cast<GLint>(operations[i])) << i;
    }
    pipeline_blend_equation(BLEND_ADD);
}

TEST_F(GraphicsTables, ComparisonsStencilOperationsAndFaces) {
    const GLenum comparisons[] = {GL_NEVER, GL_ALWAYS, GL_LESS, GL_LEQUAL, GL_GREATER, GL_GEQUAL, GL_EQUAL, GL_NOTEQUAL};
    const GLenum operations[] = {GL_KEEP, GL_ZERO, GL_REPLACE, GL_INCR, GL_INCR_WRAP, GL_DECR, GL_DECR_WRAP, GL_INVERT};
    for (uint32_t i = 0; i < COMPARE_COUNT; ++i) {
        pipeline_depth_func(i);
        EXPECT_EQ(get_integer(GL_DEPTH_FUNC), static_cast<GLint>(comparisons[i])) << i;
        pipeline_stencil_func(i, 5, 0xF0);
        EXPECT_EQ(get_integer(GL_STENCIL_FUNC), static_cast<GLint>(comparisons[i])) << i;
        uint32_t depth_fail = (i + 1) % STENCIL_OPERATION_COUNT;
        uint32_t pass = (i + 2) % STENCIL_OPERATION_COUNT;
        pipeline_stencil_op(i, depth_fail, pass);
        EXPECT_EQ(get_integer(GL_STENCIL_FAIL), static_cast<GLint>(operations[i])) << i;
        EXPECT_EQ(get_integer(GL_STENCIL_PASS_DEPTH_FAIL), static_cast<GLint>(operations[depth_fail])) << i;
        EXPECT_EQ(get_integer(GL_STENCIL_PASS_DEPTH_PASS), static_cast<GLint>(operations[pass])) << i;
    }
    EXPECT_EQ(get_integer(GL_STENCIL_REF), 5);
    EXPECT_EQ(get_integer(GL_STENCIL_VALUE_MASK), 0xF0);

    pipeline_stencil_func_separate(FACE_BACK, COMPARE_EQUAL, 9, 0x0F);
    pipeline_stencil_op_separate(FACE_BACK, STENCIL_INVERT, STENCIL_REPLACE, STENCIL_INCREMENT_WRAP);
    pipeline_stencil_mask_separate(FACE_BACK, 0x3C);
    EXPECT_EQ(get_integer(GL_STENCIL_BACK_FUNC), GL_EQUAL);
    EXPECT_EQ(get_integer(GL_STENCIL_BACK_REF), 9);
    EXPECT_EQ(get_integer(GL_STENCIL_BACK_FAIL), GL_INVERT);
    EXPECT_EQ(get_integer(GL_STENCIL_BACK_PASS_DEPTH_FAIL), GL_REPLACE);
    EXPECT_EQ(get_integer(GL_STENCIL_BACK_PASS_DEPTH_PASS), GL_INCR_WRAP);
    EXPECT_EQ(get_integer(GL_STENCIL_BACK_WRITEMASK), 0x3C);
    EXPECT_EQ(get_integer(GL_STENCIL_FUNC), GL_NOTEQUAL);  // the front face is left alone

    const GLenum faces[] = {GL_FRONT, GL_BACK, GL_FRONT_AND_BACK};
    for (uint32_t i = 0; i < FACE_COUNT; ++i) {
        pipeline_cull_face(i);
        EXPECT_EQ(get_integer(GL_CULL_FACE_MODE), static_cast<GLint>(faces[i]));
    }
    pipeline_cull_orientation(ORIENTATION_CLOCKWISE);
    EXPECT_EQ(get_integer(GL_FRONT_FACE), GL_CW);
    pipeline_cull_orientation(ORIENTATION_COUNTER_CLOCKWISE);
    EXPECT_EQ(get_integer(GL_FRONT_FACE), GL_CCW);

    const GLenum modes[] = {GL_FILL, GL_LINE, GL_POINT};
    for (uint32_t i = POLYGON_MODE_COUNT; i-- > 0;) {
        pipeline_polygon_mode(FACE_FRONT_AND_BACK, i);
        GLint mode[2] = {};
        glGetIntegerv(GL_POLYGON_MODE, mode);
        EXPECT_EQ(mode[0], static_cast<GLint>(modes[i]));
    }
    pipeline_depth_func(COMPARE_LESS);
    pipeline_cull_face(FACE_BACK);
}

TEST_F(GraphicsTables, CapabilitiesSwitchOnAndOff) {
    struct Capability {
        void (*set)(bool);
        GLenum name;
    };
    const Capability capabilities[] = {
        {pipeline_depth_enable, GL_DEPTH_TEST},
        {pipeline_depth_clamp, GL_DEPTH_CLAMP},
        {pipeline_stencil_enable, GL_STENCIL_TEST},
        {pipeline_blend_enable, GL_BLEND},
        {pipeline_logic_enable, GL_COLOR_LOGIC_OP},
        {pipeline_cull_enable, GL_CULL_FACE},
        {pipeline_scissor_enable, GL_SCISSOR_TEST},
        {pipeline_point_shader_enable, GL_PROGRAM_POINT_SIZE},
        {pipeline_primitive_restart_enable, GL_PRIMITIVE_RESTART},
        {pipeline_multisample_enable, GL_MULTISAMPLE},
    };
    for (const Capability& capability : capabilities) {
        bool before = glIsEnabled(capability.name);
        capability.set(!before);
        EXPECT_EQ(glIsEnabled(capability.name) == GL_TRUE, !before) << capability.name;
        capability.set(before);
        EXPECT_EQ(glIsEnabled(capability.name) == GL_TRUE, before) << capability.name;
    }
    pipeline_clip_plane_enable(16384 + 2, true);
    EXPECT_TRUE(glIsEnabled(GL_CLIP_DISTANCE2));
    pipeline_clip_plane_enable(2, false);
    EXPECT_FALSE(glIsEnabled(GL_CLIP_DISTANCE2));
}

TEST_F(GraphicsTables, PixelStoreParametersPackThenUnpack) {
    const GLenum parameters[] = {
        GL_PACK_SWAP_BYTES,   GL_PACK_LSB_FIRST,   GL_PACK_ROW_LENGTH,   GL_PACK_IMAGE_HEIGHT,
        GL_PACK_SKIP_PIXELS,  GL_PACK_SKIP_ROWS,   GL_PACK_SKIP_IMAGES,  GL_PACK_ALIGNMENT,
        GL_UNPACK_SWAP_BYTES, GL_UNPACK_LSB_FIRST, GL_UNPACK_ROW_LENGTH, GL_UNPACK_IMAGE_HEIGHT,
        GL_UNPACK_SKIP_PIXELS, GL_UNPACK_SKIP_ROWS, GL_UNPACK_SKIP_IMAGES, GL_UNPACK_ALIGNMENT};
    for (uint32_t i = 0; i < PIXEL_STORE_COUNT; ++i) {
        GLint before = get_integer(parameters[i]);
        uint32_t packing = i % UNPACK_SWAP_BYTES;  // the unpack parameters repeat the pack ones
        int32_t value = (packing <= PACK_LSB_FIRST) ? 1 : (packing == PACK_ALIGNMENT ? 2 : 3);
        pipeline_pixel_store(i, value);
        EXPECT_EQ(get_integer(parameters[i]), value) << i;
        pipeline_pixel_store(i, before);
    }
}

TEST_F(GraphicsTables, TextureTargetsParametersWrapsFiltersAndSwizzles) {
    const GLenum bindings[] = {GL_TEXTURE_BINDING_1D,       GL_TEXTURE_BINDING_2D,
                               GL_TEXTURE_BINDING_3D,       GL_TEXTURE_BINDING_CUBE_MAP,
                               GL_TEXTURE_BINDING_BUFFER,   GL_TEXTURE_BINDING_1D_ARRAY,
                               GL_TEXTURE_BINDING_2D_ARRAY, GL_TEXTURE_BINDING_2D_MULTISAMPLE,
                               GL_TEXTURE_BINDING_2D_MULTISAMPLE_ARRAY};
    for (uint32_t target = 0; target < TEXTURE_TARGET_COUNT; ++target) {
        uint32_t texture = texture_create();
        texture_bind(target, texture);
        EXPECT_EQ(get_integer(bindings[target]), static_cast<GLint>(texture)) << target;
        texture_unbind(target);
        EXPECT_EQ(get_integer(bindings[target]), 0) << target;
        texture_destroy(texture);
    }

    uint32_t texture = texture_create();
    texture_unit(3);
    EXPECT_EQ(get_integer(GL_ACTIVE_TEXTURE), GL_TEXTURE3);
    texture_unit(0);
    texture_bind(TEXTURE_3D, texture);
    GLint value = 0;
    const GLenum wraps[] = {GL_REPEAT, GL_MIRRORED_REPEAT, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_BORDER};
    const GLenum wrap_parameters[] = {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_WRAP_R};
    for (uint32_t parameter = PARAMETER_WRAP_S; parameter <= PARAMETER_WRAP_R; ++parameter) {
        for (uint32_t wrap = 0; wrap < WRAP_COUNT; ++wrap) {
            texture_parameter_wrap(TEXTURE_3D, parameter, wrap);
            glGetTexParameteriv(GL_TEXTURE_3D, wrap_parameters[parameter], &value);
            EXPECT_EQ(value, static_cast<GLint>(wraps[wrap])) << parameter << " " << wrap;
        }
    }
    const GLenum filters[] = {GL_NEAREST, GL_LINEAR, GL_NEAREST_MIPMAP_NEAREST,
                              GL_LINEAR_MIPMAP_NEAREST, GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR_MIPMAP_LINEAR};
    for (uint32_t filter = 0; filter < FILTER_COUNT; ++filter) {
        texture_parameter_filter(TEXTURE_3D, PARAMETER_MIN_FILTER, filter);
        glGetTexParameteriv(GL_TEXTURE_3D, GL_TEXTURE_MIN_FILTER, &value);
        EXPECT_EQ(value, static_cast<GLint>(filters[filter])) << filter;
    }
    texture_parameter_filter(TEXTURE_3D, PARAMETER_MAG_FILTER, FILTER_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_3D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);

    float border[4] = {0.25f, 0.5f, 0.75f, 1.0f};
    texture_parameterfa(TEXTURE_3D, PARAMETER_BORDER_COLOR, float_view{border, 4});
    float read_border[4] = {};
    glGetTexParameterfv(GL_TEXTURE_3D, GL_TEXTURE_BORDER_COLOR, read_border);
    EXPECT_FLOAT_EQ(read_border[2], 0.75f);
    texture_parameteri(TEXTURE_3D, PARAMETER_BASE_LEVEL, 2);
    glGetTexParameteriv(GL_TEXTURE_3D, GL_TEXTURE_BASE_LEVEL, &value);
    EXPECT_EQ(value, 2);
    int32_t max_level = 7;
    texture_parameteria(TEXTURE_3D, PARAMETER_MAX_LEVEL, int_view{&max_level, 1});
    glGetTexParameteriv(GL_TEXTURE_3D, GL_TEXTURE_MAX_LEVEL, &value);
    EXPECT_EQ(value, 7);
    texture_parameterf(TEXTURE_3D, PARAMETER_MIN_LOD, -2.5f);
    texture_parameterf(TEXTURE_3D, PARAMETER_MAX_LOD, 9.5f);
    float lod = 0;
    glGetTexParameterfv(GL_TEXTURE_3D, GL_TEXTURE_MIN_LOD, &lod);
    EXPECT_FLOAT_EQ(lod, -2.5f);
    glGetTexParameterfv(GL_TEXTURE_3D, GL_TEXTURE_MAX_LOD, &lod);
    EXPECT_FLOAT_EQ(lod, 9.5f);
    uint32_t integer_border[4] = {1, 2, 3, 4};
    texture_integer_parameterqa(TEXTURE_3D, PARAMETER_BORDER_COLOR, uint_view{integer_border, 4});
    GLuint read_integer_border[4] = {};
    glGetTexParameterIuiv(GL_TEXTURE_3D, GL_TEXTURE_BORDER_COLOR, read_integer_border);
    EXPECT_EQ(read_integer_border[3], 4u);
    int32_t signed_border[4] = {-1, -2, -3, -4};
    texture_integer_parameteria(TEXTURE_3D, PARAMETER_BORDER_COLOR, int_view{signed_border, 4});
    GLint read_signed_border[4] = {};
    glGetTexParameterIiv(GL_TEXTURE_3D, GL_TEXTURE_BORDER_COLOR, read_signed_border);
    EXPECT_EQ(read_signed_border[1], -2);

    texture_parameter_swizzle(TEXTURE_3D, SWIZZLE_RED, SWIZZLE_GREEN, SWIZZLE_BLUE, SWIZZLE_ZERO);
    GLint swizzle[4] = {};
    glGetTexParameteriv(GL_TEXTURE_3D, GL_TEXTURE_SWIZZLE_RGBA, swizzle);
    EXPECT_EQ(swizzle[0], GL_RED);
    EXPECT_EQ(swizzle[1], GL_GREEN);
    EXPECT_EQ(swizzle[2], GL_BLUE);
    EXPECT_EQ(swizzle[3], GL_ZERO);
    // SWIZZLE_COUNT lies past the table: GL_ZERO.
    texture_parameter_swizzle(TEXTURE_3D, SWIZZLE_ALPHA, SWIZZLE_ONE, SWIZZLE_COUNT, SWIZZLE_RED);
    glGetTexParameteriv(GL_TEXTURE_3D, GL_TEXTURE_SWIZZLE_RGBA, swizzle);
    EXPECT_EQ(swizzle[0], GL_ALPHA);
    EXPECT_EQ(swizzle[1], GL_ONE);
    EXPECT_EQ(swizzle[2], GL_ZERO);
    EXPECT_EQ(swizzle[3], GL_RED);
    texture_unbind(TEXTURE_3D);
    texture_destroy(texture);
}

// Pixel format and data type that an internal format accepts for an empty upload.
struct UploadFormat {
    uint32_t pixel_format;
    uint32_t data_type;
};

UploadFormat upload_format_for(uint32_t internal_format) {
    if (internal_format <= INTERNAL_DEPTH32F) return {FORMAT_DEPTH, TYPE_FLOAT};
    if (internal_format == INTERNAL_STENCIL8) return {FORMAT_STENCIL, TYPE_UNSIGNED_BYTE};
    if (internal_format == INTERNAL_DEPTH24_STENCIL8) return {FORMAT_DEPTH_STENCIL, TYPE_UNSIGNED_INT_24_8};
    if (internal_format == INTERNAL_DEPTH32F_STENCIL8) return {FORMAT_DEPTH_STENCIL, TYPE_FLOAT_32_UNSIGNED_INT_24_8};
    if ((internal_format >= INTERNAL_R8I && internal_format <= INTERNAL_RGBA32UI) ||
        internal_format == INTERNAL_RGB10_A2UI) {
        return {FORMAT_RGBA_INTEGER, TYPE_UNSIGNED_BYTE};
    }
    return {FORMAT_RGBA, TYPE_UNSIGNED_BYTE};
}

TEST_F(GraphicsTables, InternalFormatsReachOpenGLInOrder) {
    const GLenum expected[] = {
        GL_DEPTH_COMPONENT16, GL_DEPTH_COMPONENT24, GL_DEPTH_COMPONENT32, GL_DEPTH_COMPONENT32F,
        GL_STENCIL_INDEX8, GL_DEPTH24_STENCIL8, GL_DEPTH32F_STENCIL8, GL_R8, GL_R16, GL_RG8, GL_RG16,
        GL_RGB8, GL_RGB16, GL_RGBA8, GL_RGBA16, GL_R8_SNORM, GL_R16_SNORM, GL_RG8_SNORM, GL_RG16_SNORM,
        GL_RGB8_SNORM, GL_RGB16_SNORM, GL_RGBA8_SNORM, GL_RGBA16_SNORM, GL_R16F, GL_R32F, GL_RG16F,
        GL_RG32F, GL_RGB16F, GL_RGB32F, GL_RGBA16F, GL_RGBA32F, GL_R8I, GL_R16I, GL_R32I, GL_RG8I,
        GL_RG16I, GL_RG32I, GL_RGB8I, GL_RGB16I, GL_RGB32I, GL_RGBA8I, GL_RGBA16I, GL_RGBA32I, GL_R8UI,
        GL_R16UI, GL_R32UI, GL_RG8UI, GL_RG16UI, GL_RG32UI, GL_RGB8UI, GL_RGB16UI, GL_RGB32UI,
        GL_RGBA8UI, GL_RGBA16UI, GL_RGBA32UI, GL_R3_G3_B2, GL_RGB4, GL_RGBA4, GL_RGB5, GL_RGB5_A1,
        GL_RGB10, GL_RGB10_A2, GL_RGB10_A2UI, GL_RGB12, GL_RGBA12, GL_R11F_G11F_B10F, GL_RGB9_E5,
        GL_SRGB8, GL_SRGB8_ALPHA8, 0, GL_COMPRESSED_RED, GL_COMPRESSED_RG, GL_COMPRESSED_RGB,
        GL_COMPRESSED_RGBA, GL_COMPRESSED_SRGB, GL_COMPRESSED_SRGB_ALPHA, GL_COMPRESSED_RED_RGTC1,
        GL_COMPRESSED_SIGNED_RED_RGTC1, GL_COMPRESSED_RG_RGTC2, GL_COMPRESSED_SIGNED_RG_RGTC2,
        GL_COMPRESSED_RGB_S3TC_DXT1_EXT, GL_COMPRESSED_RGBA_S3TC_DXT1_EXT,
        GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, GL_COMPRESSED_RGBA_S3TC_DXT5_EXT};
    static_assert(sizeof expected / sizeof expected[0] == INTERNAL_FORMAT_COUNT);
    uint32_t texture = texture_create();
    texture_bind(TEXTURE_2D, texture);
    for (uint32_t index = 0; index < INTERNAL_FORMAT_COUNT; ++index) {
        if (index == INTERNAL_NONE) continue;
        UploadFormat upload = upload_format_for(index);
        texture_image_2d(TEXTURE_2D, 0, index, 4, 4, upload.pixel_format, upload.data_type, nullptr);
        ASSERT_EQ(pipeline_get_error(), GRAPHICS_NO_ERROR) << index;
        GLint stored = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &stored);
        // The generic compressed formats are free to be stored as any format that fits.
        if (index >= INTERNAL_COMPRESSED_RED && index <= INTERNAL_COMPRESSED_SRGB_ALPHA) continue;
        EXPECT_EQ(stored, static_cast<GLint>(expected[index])) << index;
    }
    texture_unbind(TEXTURE_2D);
    texture_destroy(texture);
}

TEST_F(GraphicsTables, IndexSixtyNineAndIndicesPastTheTablesAreInvalidEnums) {
    uint32_t texture = texture_create();
    texture_bind(TEXTURE_2D, texture);
    uint32_t render_buffer = render_buffer_create();
    render_buffer_bind(render_buffer);
    render_buffer_storage(INTERNAL_NONE, 4, 4);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_ENUM);
    render_buffer_storage(INTERNAL_FORMAT_COUNT, 4, 4);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_ENUM);
    render_buffer_unbind();
    render_buffer_destroy(render_buffer);
    // glTexImage2D takes its internal format as an integer and calls a 0 there an invalid value.
    texture_image_2d(TEXTURE_2D, 0, INTERNAL_NONE, 4, 4, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, nullptr);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_VALUE);
    texture_image_2d(TEXTURE_2D, 0, INTERNAL_RGBA8, 4, 4, FORMAT_COUNT, TYPE_UNSIGNED_BYTE, nullptr);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_ENUM);
    texture_image_2d(TEXTURE_2D, 0, INTERNAL_RGBA8, 4, 4, FORMAT_RGBA, TYPE_COUNT, nullptr);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_ENUM);
    texture_bind(TEXTURE_TARGET_COUNT, texture);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_ENUM);
    texture_parameter_wrap(TEXTURE_2D, PARAMETER_WRAP_S, WRAP_COUNT);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_ENUM);
    texture_parameter_filter(TEXTURE_2D, PARAMETER_MIN_FILTER, FILTER_COUNT);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_ENUM);
    texture_parameteri(TEXTURE_2D, PARAMETER_COUNT, 0);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_ENUM);
    pipeline_depth_func(COMPARE_COUNT);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_ENUM);
    pipeline_cull_face(FACE_COUNT);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_ENUM);
    pipeline_logic_op(LOGIC_OPERATION_COUNT);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_ENUM);
    pipeline_pixel_store(PIXEL_STORE_COUNT, 1);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_ENUM);
    pipeline_blend_equation(BLEND_EQUATION_COUNT);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_ENUM);
    buffer_bind(BUFFER_TARGET_COUNT, 0);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_ENUM);
    frame_buffer_bind(FRAME_BUFFER_TARGET_COUNT, 0);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_ENUM);
    texture_unbind(TEXTURE_2D);
    texture_destroy(texture);
}

TEST_F(GraphicsTables, ErrorCodesAreOpenGLErrorsMinus0x4FF) {
    uint32_t texture = texture_create();
    texture_bind(TEXTURE_2D, texture);
    texture_image_2d(TEXTURE_2D, 0, INTERNAL_RGBA8, -1, 4, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, nullptr);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_VALUE);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_NO_ERROR);
    texture_unbind(TEXTURE_2D);
    texture_destroy(texture);

    uint32_t buffer = buffer_create();
    buffer_bind(BUFFER_COPY_WRITE, buffer);
    buffer_data(BUFFER_COPY_WRITE, 16, nullptr, USAGE_STATIC_DRAW);
    EXPECT_FALSE(buffer_unmap(BUFFER_COPY_WRITE));  // it was never mapped
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_OPERATION);
    buffer_unbind(BUFFER_COPY_WRITE);
    buffer_destroy(buffer);

    uint32_t empty = frame_buffer_create();
    frame_buffer_bind(FRAME_BUFFER_BOTH, empty);
    EXPECT_EQ(frame_buffer_get_status(FRAME_BUFFER_BOTH), FRAME_BUFFER_MISSING_ATTACHMENT);
    pipeline_clear(BUFFER_COLOR);
    EXPECT_EQ(pipeline_get_error(), GRAPHICS_INVALID_FRAME_BUFFER_OPERATION);
    frame_buffer_unbind(FRAME_BUFFER_BOTH);
    frame_buffer_destroy(empty);
}

TEST_F(GraphicsTables, BufferTargetsUsagesAndMapAccess) {
    uint32_t vertex_array = vertex_array_create();
    vertex_array_bind(vertex_array);
    const GLenum bindings[] = {GL_ARRAY_BUFFER_BINDING,        GL_ELEMENT_ARRAY_BUFFER_BINDING,
                               GL_COPY_WRITE_BUFFER_BINDING,   GL_COPY_READ_BUFFER_BINDING,
                               GL_PIXEL_PACK_BUFFER_BINDING,   GL_PIXEL_UNPACK_BUFFER_BINDING,
                               GL_TEXTURE_BUFFER_BINDING,      GL_UNIFORM_BUFFER_BINDING};
    uint32_t buffer = buffer_create();
    for (uint32_t target = 0; target < BUFFER_TARGET_COUNT; ++target) {
        buffer_bind(target, buffer);
        EXPECT_EQ(get_integer(bindings[target]), static_cast<GLint>(buffer)) << target;
        buffer_unbind(target);
        EXPECT_EQ(get_integer(bindings[target]), 0) << target;
    }
    const GLenum usages[] = {GL_STATIC_DRAW,  GL_STATIC_READ,  GL_STATIC_COPY,
                             GL_DYNAMIC_DRAW, GL_DYNAMIC_READ, GL_DYNAMIC_COPY,
                             GL_STREAM_DRAW,  GL_STREAM_READ,  GL_STREAM_COPY};
    buffer_bind(BUFFER_COPY_WRITE, buffer);
    for (uint32_t usage = 0; usage < USAGE_COUNT; ++usage) {
        buffer_data(BUFFER_COPY_WRITE, 16, nullptr, usage);
        GLint stored = 0;
        glGetBufferParameteriv(GL_COPY_WRITE_BUFFER, GL_BUFFER_USAGE, &stored);
        EXPECT_EQ(stored, static_cast<GLint>(usages[usage])) << usage;
    }
    const GLenum accesses[] = {GL_WRITE_ONLY, GL_READ_ONLY, GL_READ_WRITE};
    for (uint32_t access = 0; access < ACCESS_COUNT; ++access) {
        byte_view mapped = buffer_map(BUFFER_COPY_WRITE, 16, access);
        ASSERT_NE(mapped.data, nullptr);
        EXPECT_EQ(mapped.count, 16);
        GLint stored = 0;
        glGetBufferParameteriv(GL_COPY_WRITE_BUFFER, GL_BUFFER_ACCESS, &stored);
        EXPECT_EQ(stored, static_cast<GLint>(accesses[access])) << access;
        if (access == ACCESS_WRITE_ONLY) {
            for (int i = 0; i < 16; ++i) mapped.data[i] = static_cast<uint8_t>(i * 3);
        }
        EXPECT_TRUE(buffer_unmap(BUFFER_COPY_WRITE));
    }
    uint8_t replacement[4] = {200, 201, 202, 203};
    buffer_sub_data(BUFFER_COPY_WRITE, 4, 4, replacement);
    uint32_t copy = buffer_create();
    buffer_bind(BUFFER_COPY_READ, copy);
    buffer_data(BUFFER_COPY_READ, 16, nullptr, USAGE_STATIC_DRAW);
    buffer_copy_sub_data(BUFFER_COPY_WRITE, BUFFER_COPY_READ, 2, 0, 8);
    uint8_t copied[8] = {};
    glGetBufferSubData(GL_COPY_READ_BUFFER, 0, 8, copied);
    const uint8_t expected[8] = {6, 9, 200, 201, 202, 203, 24, 27};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(copied[i], expected[i]) << i;

    buffer_bind_range(BUFFER_UNIFORM, 1, copy, 0, 16);
    GLint bound = 0;
    glGetIntegeri_v(GL_UNIFORM_BUFFER_BINDING, 1, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(copy));
    buffer_bind_base(BUFFER_UNIFORM, 2, buffer);
    glGetIntegeri_v(GL_UNIFORM_BUFFER_BINDING, 2, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(buffer));
    buffer_destroy(copy);
    buffer_destroy(buffer);
    vertex_array_unbind();
    vertex_array_destroy(vertex_array);
}

}  // namespace
