// Shader programs built from one text holding every stage, name lookups and uniform setters.
#include "graphics_tables.h"
#include "platform_internal.h"
#include "shader_stages.h"

#include <cstring>

// The OpenGL side of each stage, in the order of StageKind.
struct StageMarker {
    GLenum shader_kind;
    const char* failure_line;
};

static const StageMarker stage_markers[stage_kind_count] = {
    {GL_VERTEX_SHADER, "failed to compile vertex stage\n"},
    {GL_FRAGMENT_SHADER, "failed to compile fragment stage\n"},
    {GL_GEOMETRY_SHADER, "failed to compile geometry stage\n"},
};

struct ShaderLog {
    char* data;
    int64_t capacity;
    int64_t written;
};

static void append_to_log(ShaderLog* log, const char* text, int64_t length) {
    int64_t room = log->capacity - log->written;
    if (length > room) length = room;
    if (length <= 0) return;
    memcpy(log->data + log->written, text, static_cast<size_t>(length));
    log->written += length;
}

using InfoLogReader = void (*)(GLuint object, GLsizei limit, GLsizei* length, GLchar* text);

// OpenGL terminates what it writes, which would cost the last byte of the room left; the
// text is read into the temporary ring with one byte to spare and copied from there.
static void append_info_log(ShaderLog* log, GLuint object, InfoLogReader read_info_log) {
    int64_t room = log->capacity - log->written;
    if (room <= 0) return;
    int64_t scratch_size = room + 1 < TEMPORARY_BUFFER_SIZE ? room + 1 : TEMPORARY_BUFFER_SIZE;
    if (temporary_pos + scratch_size > TEMPORARY_BUFFER_SIZE) temporary_pos = 0;
    char* scratch = reinterpret_cast<char*>(temporary_buffer + temporary_pos);
    temporary_pos += static_cast<int32_t>(scratch_size);
    GLsizei length = 0;
    read_info_log(object, static_cast<GLsizei>(scratch_size), &length, scratch);
    append_to_log(log, scratch, length);
}

static void read_shader_info_log(GLuint shader, GLsizei limit, GLsizei* length, GLchar* text) {
    glGetShaderInfoLog(shader, limit, length, text);
}

static void read_program_info_log(GLuint program, GLsizei limit, GLsizei* length, GLchar* text) {
    glGetProgramInfoLog(program, limit, length, text);
}

static GLuint compile_stage(int kind, string source, StageText text, ShaderLog* log) {
    const StageMarker& marker = stage_markers[kind];
    GLuint shader = glCreateShader(marker.shader_kind);
    const GLchar* code = source.data + text.start;
    GLint code_length = static_cast<GLint>(text.length);
    glShaderSource(shader, 1, &code, &code_length);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_TRUE) return shader;
    append_to_log(log, marker.failure_line, static_cast<int64_t>(strlen(marker.failure_line)));
    append_info_log(log, shader, read_shader_info_log);
    glDeleteShader(shader);
    return 0;
}

shader_result shader_source(uint32_t program, string source, byte_view log_buffer) {
    StageText stages[stage_kind_count] = {};
    split_stages(source, stages);
    ShaderLog log = {reinterpret_cast<char*>(log_buffer.data), log_buffer.data ? log_buffer.count : 0, 0};
    bool success = true;
    GLuint shaders[stage_kind_count] = {};
    for (int kind = 0; kind < stage_kind_count; ++kind) {
        if (stages[kind].length <= 0) continue;
        shaders[kind] = compile_stage(kind, source, stages[kind], &log);
        if (!shaders[kind]) success = false;
    }
    for (GLuint shader : shaders) {
        if (shader) glAttachShader(program, shader);
    }
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        append_info_log(&log, program, read_program_info_log);
        success = false;
    }
    for (GLuint shader : shaders) {
        if (!shader) continue;
        glDetachShader(program, shader);
        glDeleteShader(shader);
    }
    if (success) return shader_result{true, string{nullptr, 0}};
    set_error(SYSTEM_ERROR_UNSUPPORTED, "the shader did not compile or link; its log says why");
    return shader_result{false, string{log.data, log.written}};
}

uint32_t shader_create() { return glCreateProgram(); }
void shader_destroy(uint32_t program) { glDeleteProgram(program); }
void shader_bind(uint32_t program) { glUseProgram(program); }
void shader_unbind() { glUseProgram(0); }

int32_t shader_get_attribute_location(uint32_t program, string name) {
    return glGetAttribLocation(program, append_character(name).data);
}

int32_t shader_get_output_location(uint32_t program, string name) {
    return glGetFragDataLocation(program, append_character(name).data);
}

int32_t shader_get_uniform_location(uint32_t program, string name) {
    return glGetUniformLocation(program, append_character(name).data);
}

uint32_t shader_get_uniform_block_index(uint32_t program, string name) {
    return glGetUniformBlockIndex(program, append_character(name).data);
}

void shader_uniform_block_binding(uint32_t program, uint32_t block_index, uint32_t binding) {
    glUniformBlockBinding(program, block_index, binding);
}

void shader_uniform1f(int32_t location, float x) { glUniform1f(location, x); }
void shader_uniform2f(int32_t location, float x, float y) { glUniform2f(location, x, y); }
void shader_uniform3f(int32_t location, float x, float y, float z) { glUniform3f(location, x, y, z); }
void shader_uniform4f(int32_t location, float x, float y, float z, float w) { glUniform4f(location, x, y, z, w); }
void shader_uniform1i(int32_t location, int32_t x) { glUniform1i(location, x); }
void shader_uniform2i(int32_t location, int32_t x, int32_t y) { glUniform2i(location, x, y); }
void shader_uniform3i(int32_t location, int32_t x, int32_t y, int32_t z) { glUniform3i(location, x, y, z); }
void shader_uniform4i(int32_t location, int32_t x, int32_t y, int32_t z, int32_t w) { glUniform4i(location, x, y, z, w); }
void shader_uniform1q(int32_t location, uint32_t x) { glUniform1ui(location, x); }
void shader_uniform2q(int32_t location, uint32_t x, uint32_t y) { glUniform2ui(location, x, y); }
void shader_uniform3q(int32_t location, uint32_t x, uint32_t y, uint32_t z) { glUniform3ui(location, x, y, z); }
void shader_uniform4q(int32_t location, uint32_t x, uint32_t y, uint32_t z, uint32_t w) {
    glUniform4ui(location, x, y, z, w);
}

void shader_uniform1fa(int32_t location, int32_t count, float_view values) { glUniform1fv(location, count, values.data); }
void shader_uniform2fa(int32_t location, int32_t count, float_view values) { glUniform2fv(location, count, values.data); }
void shader_uniform3fa(int32_t location, int32_t count, float_view values) { glUniform3fv(location, count, values.data); }
void shader_uniform4fa(int32_t location, int32_t count, float_view values) { glUniform4fv(location, count, values.data); }
void shader_uniform1ia(int32_t location, int32_t count, int_view values) { glUniform1iv(location, count, values.data); }
void shader_uniform2ia(int32_t location, int32_t count, int_view values) { glUniform2iv(location, count, values.data); }
void shader_uniform3ia(int32_t location, int32_t count, int_view values) { glUniform3iv(location, count, values.data); }
void shader_uniform4ia(int32_t location, int32_t count, int_view values) { glUniform4iv(location, count, values.data); }
void shader_uniform1qa(int32_t location, int32_t count, uint_view values) { glUniform1uiv(location, count, values.data); }
void shader_uniform2qa(int32_t location, int32_t count, uint_view values) { glUniform2uiv(location, count, values.data); }
void shader_uniform3qa(int32_t location, int32_t count, uint_view values) { glUniform3uiv(location, count, values.data); }
void shader_uniform4qa(int32_t location, int32_t count, uint_view values) { glUniform4uiv(location, count, values.data); }

static GLboolean gl_bool(bool on) { return on ? GL_TRUE : GL_FALSE; }

void shader_uniform_matrix2fa(int32_t location, int32_t count, bool transpose, float_view values) {
    glUniformMatrix2fv(location, count, gl_bool(transpose), values.data);
}
void shader_uniform_matrix3fa(int32_t location, int32_t count, bool transpose, float_view values) {
    glUniformMatrix3fv(location, count, gl_bool(transpose), values.data);
}
void shader_uniform_matrix4fa(int32_t location, int32_t count, bool transpose, float_view values) {
    glUniformMatrix4fv(location, count, gl_bool(transpose), values.data);
}
void shader_uniform_matrix2x3fa(int32_t location, int32_t count, bool transpose, float_view values) {
    glUniformMatrix2x3fv(location, count, gl_bool(transpose), values.data);
}
void shader_uniform_matrix3x2fa(int32_t location, int32_t count, bool transpose, float_view values) {
    glUniformMatrix3x2fv(location, count, gl_bool(transpose), values.data);
}
void shader_uniform_matrix2x4fa(int32_t location, int32_t count, bool transpose, float_view values) {
    glUniformMatrix2x4fv(location, count, gl_bool(transpose), values.data);
}
void shader_uniform_matrix4x2fa(int32_t location, int32_t count, bool transpose, float_view values) {
    glUniformMatrix4x2fv(location, count, gl_bool(transpose), values.data);
}
void shader_uniform_matrix3x4fa(int32_t location, int32_t count, bool transpose, float_view values) {
    glUniformMatrix3x4fv(location, count, gl_bool(transpose), values.data);
}
void shader_uniform_matrix4x3fa(int32_t location, int32_t count, bool transpose, float_view values) {
    glUniformMatrix4x3fv(location, count, gl_bool(transpose), values.data);
}
