// Splitting one text into stages, the failure log, name lookups and the uniform setters.
#include "display_helpers.h"
#include "gl_helpers.h"
#include "kestrune_system.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const std::string vertex_code =
    "#version 330 core\nlayout(location = 3) in vec2 position;\n"
    "void main() { gl_Position = vec4(position, 0.0, 1.0); }\n";
const std::string fragment_code =
    "#version 330 core\nuniform vec4 tint;\nlayout(location = 0) out vec4 colour;\n"
    "void main() { colour = tint; }\n";
const std::string broken_code = "#version 330 core\nvoid main() { this is not code; }\n";

class Shaders : public ::testing::Test {
protected:
    void SetUp() override {
        open_test_display();
        ASSERT_TRUE(opengl_initialized);
        drain_graphics_errors();
        program = shader_create();
        memset(log, '~', sizeof log);
    }
    void TearDown() override {
        shader_destroy(program);
        EXPECT_EQ(pipeline_get_error(), GRAPHICS_NO_ERROR);
    }
    shader_result build(const std::string& source, int64_t capacity = 256) {
        return shader_source(program, view(source), byte_view{log, capacity});
    }
    bool linked() const {
        GLint status = GL_FALSE;
        glGetProgramiv(program, GL_LINK_STATUS, &status);
        return status == GL_TRUE;
    }
    GLint attached_shader_count() const {
        GLint count = -1;
        glGetProgramiv(program, GL_ATTACHED_SHADERS, &count);
        return count;
    }
    std::string log_text(const shader_result& result) const {
        return std::string(result.log.data, static_cast<size_t>(result.log.length));
    }
    uint32_t program = 0;
    uint8_t log[512];
};

TEST_F(Shaders, VertexAndFragmentMarkersSplitTheText) {
    shader_result result = build("#vertex\n" + vertex_code + "#fragment\n" + fragment_code);
    EXPECT_TRUE(result.success);
    EXPECT_EQ(result.log.data, nullptr);
    EXPECT_EQ(result.log.length, 0);
    EXPECT_TRUE(linked());
    EXPECT_EQ(attached_shader_count(), 0);  // stage objects never outlive the build
    EXPECT_EQ(shader_get_attribute_location(program, string{"position", 8}), 3);
    EXPECT_EQ(shader_get_output_location(program, string{"colour", 6}), 0);
    EXPECT_GE(shader_get_uniform_location(program, string{"tint", 4}), 0);
    EXPECT_EQ(shader_get_uniform_location(program, string{"missing", 7}), -1);
    EXPECT_EQ(shader_get_attribute_location(program, string{"missing", 7}), -1);
    EXPECT_EQ(log[0], '~');
}

TEST_F(Shaders, AnyWhitespaceEndsAMarkerAndTextBeforeTheFirstIsIgnored) {
    shader_result result = build("not a stage at all\n#vertex\t" + vertex_code + "#fragment\r" + fragment_code);
    EXPECT_TRUE(result.success) << log_text(result);
    result = shader_source(program, view("#vertex " + vertex_code + "#fragment\n" + fragment_code), byte_view{log, 256});
    EXPECT_TRUE(result.success) << log_text(result);
}

TEST_F(Shaders, AMarkerFollowedByALetterOrDigitIsPartOfTheCode) {
    // Were "#vertex9" or "#fragmentx" taken as markers, the stages would be cut mid-statement.
    std::string vertex = "#version 330 core\nlayout(location = 3) in vec2 position;\n"
                         "void main() { /* #vertex9 #fragmentx #geometry1 */ gl_Position = vec4(position, 0.0, 1.0); }\n";
    shader_result result = build("#vertex\n" + vertex + "#fragment\n" + fragment_code);
    EXPECT_TRUE(result.success) << log_text(result);
}

TEST_F(Shaders, TheLastOccurrenceOfAStageCounts) {
    shader_result result =
        build("#vertex\n" + broken_code + "#fragment\n" + broken_code + "#vertex\n" + vertex_code + "#fragment\n" + fragment_code);
    EXPECT_TRUE(result.success) << log_text(result);
}

TEST_F(Shaders, AFailingVertexStageLogsItsLineTheCompilerAndTheLinker) {
    shader_result result = build("#vertex\n" + broken_code + "#fragment\n" + fragment_code, 512);
    EXPECT_FALSE(result.success);
    EXPECT_EQ(result.log.data, reinterpret_cast<char*>(log));
    std::string text = log_text(result);
    const std::string line = "failed to compile vertex stage\n";
    ASSERT_GT(text.size(), line.size());
    EXPECT_EQ(text.substr(0, line.size()), line);
    EXPECT_EQ(text.find("fragment stage"), std::string::npos);
    EXPECT_GT(text.size() - line.size(), 10u);  // the compiler's own text follows the line
    EXPECT_LE(result.log.length, 512);
    if (result.log.length < 512) {
        EXPECT_EQ(log[result.log.length], '~');
    }
}

TEST_F(Shaders, TheLinkerTextFollowsTheCompilerText) {
    // A fragment stage without main compiles but cannot link.
    const std::string no_main = "#version 330 core\nout vec4 colour;\n";
    shader_result link_only = build("#vertex\n" + vertex_code + "#fragment\n" + no_main, 512);
    ASSERT_FALSE(link_only.success);
    EXPECT_FALSE(linked());
    std::string linker_text = log_text(link_only);
    EXPECT_FALSE(linker_text.empty());
    EXPECT_EQ(linker_text.find("failed to compile"), std::string::npos);

    shader_destroy(program);
    program = shader_create();
    std::string compiler_text = log_text(build("#vertex\n" + broken_code + "#fragment\n" + fragment_code, 512));

    shader_destroy(program);
    program = shader_create();
    std::string both = log_text(build("#vertex\n" + broken_code + "#fragment\n" + no_main, 512));
    ASSERT_GT(both.size(), compiler_text.size());
    EXPECT_EQ(both.substr(0, compiler_text.size()), compiler_text);
}

TEST_F(Shaders, EveryFailingStageIsReportedInOrder) {
    std::string geometry = "#version 330 core\nlayout(points) in;\nlayout(points, max_vertices = 1) out;\n"
                           "void main() { broken }\n";
    shader_result result =
        build("#geometry\n" + geometry + "#fragment\n" + broken_code + "#vertex\n" + broken_code, 512);
    EXPECT_FALSE(result.success);
    std::string text = log_text(result);
    size_t vertex = text.find("failed to compile vertex stage\n");
    size_t fragment = text.find("failed to compile fragment stage\n");
    size_t geometry_line = text.find("failed to compile geometry stage\n");
    ASSERT_NE(vertex, std::string::npos);
    ASSERT_NE(fragment, std::string::npos);
    ASSERT_NE(geometry_line, std::string::npos);
    EXPECT_EQ(vertex, 0u);
    EXPECT_LT(vertex, fragment);
    EXPECT_LT(fragment, geometry_line);
}

TEST_F(Shaders, TheLogIsCutToItsCapacity) {
    std::string source = "#vertex\n" + broken_code + "#fragment\n" + fragment_code;
    shader_result none = build(source, 0);
    EXPECT_FALSE(none.success);
    EXPECT_EQ(none.log.length, 0);
    EXPECT_EQ(log[0], '~');

    shader_destroy(program);
    program = shader_create();
    shader_result short_log = build(source, 9);
    EXPECT_FALSE(short_log.success);
    EXPECT_EQ(log_text(short_log), "failed to");
    EXPECT_EQ(log[9], '~');

    // Every byte of the room goes to the text, none to a terminator.
    shader_destroy(program);
    program = shader_create();
    shader_result exact = build(source, 40);
    ASSERT_EQ(exact.log.length, 40);
    EXPECT_EQ(log_text(exact).substr(0, 31), "failed to compile vertex stage\n");
    EXPECT_NE(log[39], '\0');
    EXPECT_EQ(log[40], '~');
}

TEST_F(Shaders, MarkersTooCloseToTheEndAreText) {
    // "#fragment\n" as the last ten bytes stays in the fragment text, which then fails to compile.
    shader_result result = build("#vertex\n" + vertex_code + "#fragment\n" + fragment_code + "#fragment\n");
    EXPECT_FALSE(result.success);
    EXPECT_EQ(log_text(result).rfind("failed to compile fragment stage\n", 0), 0u);

    shader_destroy(program);
    program = shader_create();
    result = build("#vertex\n" + vertex_code + "#fragment\n" + fragment_code + "#vertex\n");
    EXPECT_FALSE(result.success);
    EXPECT_EQ(log_text(result).rfind("failed to compile fragment stage\n", 0), 0u);

    // One byte more and it is a marker: a vertex stage of a single line feed, which fails.
    shader_destroy(program);
    program = shader_create();
    result = build("#vertex\n" + vertex_code + "#fragment\n" + fragment_code + "#vertex\n\n");
    EXPECT_FALSE(result.success);
    EXPECT_EQ(log_text(result).rfind("failed to compile vertex stage\n", 0), 0u);
}

TEST_F(Shaders, AnEmptyLastOccurrenceLeavesTheStageOut) {
    // The fragment stage's last occurrence is empty, so only the vertex stage is built.
    shader_result result = build("#vertex\n" + vertex_code + "#fragment\n" + broken_code + "#fragment\n#vertex\n" + vertex_code);
    EXPECT_TRUE(result.success) << log_text(result);
}

TEST_F(Shaders, UniformBlocksAreFoundAndBound) {
    std::string fragment = "#version 330 core\nlayout(std140) uniform Lights { vec4 light; };\n"
                           "out vec4 colour;\nvoid main() { colour = light; }\n";
    ASSERT_TRUE(build("#vertex\n" + vertex_code + "#fragment\n" + fragment).success);
    uint32_t block = shader_get_uniform_block_index(program, string{"Lights", 6});
    ASSERT_NE(block, GL_INVALID_INDEX);
    EXPECT_EQ(shader_get_uniform_block_index(program, string{"Shadows", 7}), GL_INVALID_INDEX);
    shader_uniform_block_binding(program, block, 5);
    GLint binding = -1;
    glGetActiveUniformBlockiv(program, block, GL_UNIFORM_BLOCK_BINDING, &binding);
    EXPECT_EQ(binding, 5);
}

TEST_F(Shaders, EverySetterReachesItsUniform) {
    std::string fragment =
        "#version 330 core\nout vec4 colour;\n"
        "uniform float f1; uniform vec2 f2; uniform vec3 f3; uniform vec4 f4;\n"
        "uniform int i1; uniform ivec2 i2; uniform ivec3 i3; uniform ivec4 i4;\n"
        "uniform uint q1; uniform uvec2 q2; uniform uvec3 q3; uniform uvec4 q4;\n"
        "uniform float fa1[2]; uniform vec2 fa2[2]; uniform vec3 fa3[2]; uniform vec4 fa4[2];\n"
        "uniform int ia1[2]; uniform ivec2 ia2[2]; uniform ivec3 ia3[2]; uniform ivec4 ia4[2];\n"
        "uniform uint qa1[2]; uniform uvec2 qa2[2]; uniform uvec3 qa3[2]; uniform uvec4 qa4[2];\n"
        "uniform mat2 m2; uniform mat3 m3; uniform mat4 m4; uniform mat2x3 m23; uniform mat3x2 m32;\n"
        "uniform mat2x4 m24; uniform mat4x2 m42; uniform mat3x4 m34; uniform mat4x3 m43;\n"
        "void main() {\n"
        "  float s = f1 + f2.y + f3.z + f4.w + float(i1 + i2.y + i3.z + i4.w) + float(q1 + q2.y + q3.z + q4.w);\n"
        "  s += fa1[1] + fa2[1].y + fa3[1].z + fa4[1].w + float(ia1[1] + ia2[1].y + ia3[1].z + ia4[1].w);\n"
        "  s += float(qa1[1] + qa2[1].y + qa3[1].z + qa4[1].w);\n"
        "  s += m2[1][1] + m3[2][2] + m4[3][3] + m23[1][2] + m32[2][1] + m24[1][3] + m42[3][1] + m34[2][3] + m43[3][2];\n"
        "  colour = vec4(s);\n}\n";
    shader_result result = build("#vertex\n" + vertex_code + "#fragment\n" + fragment, 512);
    ASSERT_TRUE(result.success) << log_text(result);
    shader_bind(program);
    auto location = [&](const char* name) {
        return shader_get_uniform_location(program, string{name, static_cast<int64_t>(strlen(name))});
    };
    auto floats = [&](const char* name, int count) {
        std::vector<float> values(static_cast<size_t>(count));
        glGetUniformfv(program, location(name), values.data());
        return values;
    };
    auto ints = [&](const char* name, int count) {
        std::vector<int32_t> values(static_cast<size_t>(count));
        glGetUniformiv(program, location(name), values.data());
        return values;
    };
    auto uints = [&](const char* name, int count) {
        std::vector<uint32_t> values(static_cast<size_t>(count));
        glGetUniformuiv(program, location(name), values.data());
        return values;
    };

    shader_uniform1f(location("f1"), 1.5f);
    shader_uniform2f(location("f2"), 1, 2);
    shader_uniform3f(location("f3"), 1, 2, 3);
    shader_uniform4f(location("f4"), 1, 2, 3, 4);
    EXPECT_EQ(floats("f1", 1), (std::vector<float>{1.5f}));
    EXPECT_EQ(floats("f2", 2), (std::vector<float>{1, 2}));
    EXPECT_EQ(floats("f3", 3), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(floats("f4", 4), (std::vector<float>{1, 2, 3, 4}));
    shader_uniform1i(location("i1"), -1);
    shader_uniform2i(location("i2"), -1, -2);
    shader_uniform3i(location("i3"), -1, -2, -3);
    shader_uniform4i(location("i4"), -1, -2, -3, -4);
    EXPECT_EQ(ints("i1", 1), (std::vector<int32_t>{-1}));
    EXPECT_EQ(ints("i2", 2), (std::vector<int32_t>{-1, -2}));
    EXPECT_EQ(ints("i3", 3), (std::vector<int32_t>{-1, -2, -3}));
    EXPECT_EQ(ints("i4", 4), (std::vector<int32_t>{-1, -2, -3, -4}));
    shader_uniform1q(location("q1"), 4000000000u);
    shader_uniform2q(location("q2"), 5, 6);
    shader_uniform3q(location("q3"), 5, 6, 7);
    shader_uniform4q(location("q4"), 5, 6, 7, 8);
    EXPECT_EQ(uints("q1", 1), (std::vector<uint32_t>{4000000000u}));
    EXPECT_EQ(uints("q2", 2), (std::vector<uint32_t>{5, 6}));
    EXPECT_EQ(uints("q3", 3), (std::vector<uint32_t>{5, 6, 7}));
    EXPECT_EQ(uints("q4", 4), (std::vector<uint32_t>{5, 6, 7, 8}));

    std::vector<float> float_values = {1, 2, 3, 4, 5, 6, 7, 8};
    std::vector<int32_t> int_values = {-1, -2, -3, -4, -5, -6, -7, -8};
    std::vector<uint32_t> uint_values = {11, 12, 13, 14, 15, 16, 17, 18};
    float_view fv{float_values.data(), 8};
    int_view iv{int_values.data(), 8};
    uint_view qv{uint_values.data(), 8};
    shader_uniform1fa(location("fa1"), 2, fv);
    shader_uniform2fa(location("fa2"), 2, fv);
    shader_uniform3fa(location("fa3"), 2, fv);
    shader_uniform4fa(location("fa4"), 2, fv);
    EXPECT_EQ(floats("fa1[1]", 1), (std::vector<float>{2}));
    EXPECT_EQ(floats("fa2[1]", 2), (std::vector<float>{3, 4}));
    EXPECT_EQ(floats("fa3[1]", 3), (std::vector<float>{4, 5, 6}));
    EXPECT_EQ(floats("fa4[1]", 4), (std::vector<float>{5, 6, 7, 8}));
    shader_uniform1ia(location("ia1"), 2, iv);
    shader_uniform2ia(location("ia2"), 2, iv);
    shader_uniform3ia(location("ia3"), 2, iv);
    shader_uniform4ia(location("ia4"), 2, iv);
    EXPECT_EQ(ints("ia1[1]", 1), (std::vector<int32_t>{-2}));
    EXPECT_EQ(ints("ia2[1]", 2), (std::vector<int32_t>{-3, -4}));
    EXPECT_EQ(ints("ia3[1]", 3), (std::vector<int32_t>{-4, -5, -6}));
    EXPECT_EQ(ints("ia4[1]", 4), (std::vector<int32_t>{-5, -6, -7, -8}));
    shader_uniform1qa(location("qa1"), 2, qv);
    shader_uniform2qa(location("qa2"), 2, qv);
    shader_uniform3qa(location("qa3"), 2, qv);
    shader_uniform4qa(location("qa4"), 2, qv);
    EXPECT_EQ(uints("qa1[1]", 1), (std::vector<uint32_t>{12}));
    EXPECT_EQ(uints("qa2[1]", 2), (std::vector<uint32_t>{13, 14}));
    EXPECT_EQ(uints("qa3[1]", 3), (std::vector<uint32_t>{14, 15, 16}));
    EXPECT_EQ(uints("qa4[1]", 4), (std::vector<uint32_t>{15, 16, 17, 18}));

    std::vector<float> matrix(16);
    for (int i = 0; i < 16; ++i) matrix[static_cast<size_t>(i)] = static_cast<float>(i);
    float_view mv{matrix.data(), 16};
    struct MatrixCase {
        void (*set)(int32_t, int32_t, bool, float_view);
        const char* name;
        int columns;
        int rows;
    };
    const MatrixCase matrices[] = {
        {shader_uniform_matrix2fa, "m2", 2, 2},    {shader_uniform_matrix3fa, "m3", 3, 3},
        {shader_uniform_matrix4fa, "m4", 4, 4},    {shader_uniform_matrix2x3fa, "m23", 2, 3},
        {shader_uniform_matrix3x2fa, "m32", 3, 2}, {shader_uniform_matrix2x4fa, "m24", 2, 4},
        {shader_uniform_matrix4x2fa, "m42", 4, 2}, {shader_uniform_matrix3x4fa, "m34", 3, 4},
        {shader_uniform_matrix4x3fa, "m43", 4, 3},
    };
    for (const MatrixCase& m : matrices) {
        int count = m.columns * m.rows;
        m.set(location(m.name), 1, false, mv);
        std::vector<float> expected(matrix.begin(), matrix.begin() + count);
        EXPECT_EQ(floats(m.name, count), expected) << m.name;
        // Transposed, the source is read row by row.
        m.set(location(m.name), 1, true, mv);
        std::vector<float> stored = floats(m.name, count);
        EXPECT_EQ(stored[1], static_cast<float>(m.columns)) << m.name;
    }
    shader_unbind();
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
}

}  // namespace
