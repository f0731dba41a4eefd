// Fixed-function pipeline state: clears, tests, blending, culling, viewport, read-back, errors.
#include "graphics_tables.h"
#include "platform_internal.h"

#include <cstring>

static void set_capability(GLenum capability, bool on) {
    if (on) glEnable(capability);
    else glDisable(capability);
}

static GLboolean gl_bool(bool on) { return on ? GL_TRUE : GL_FALSE; }

void pipeline_clear(uint32_t buffer_set) { glClear(translate_buffer_set(buffer_set)); }
void pipeline_clear_color(float r, float g, float b, float a) { glClearColor(r, g, b, a); }
void pipeline_clear_depth(float depth) { glClearDepth(depth); }
void pipeline_clear_stencil(uint8_t value) { glClearStencil(value); }

void pipeline_depth_enable(bool on) { set_capability(GL_DEPTH_TEST, on); }
void pipeline_depth_clamp(bool on) { set_capability(GL_DEPTH_CLAMP, on); }
void pipeline_stencil_enable(bool on) { set_capability(GL_STENCIL_TEST, on); }
void pipeline_blend_enable(bool on) { set_capability(GL_BLEND, on); }
void pipeline_logic_enable(bool on) { set_capability(GL_COLOR_LOGIC_OP, on); }
void pipeline_cull_enable(bool on) { set_capability(GL_CULL_FACE, on); }
void pipeline_scissor_enable(bool on) { set_capability(GL_SCISSOR_TEST, on); }
void pipeline_point_shader_enable(bool on) { set_capability(GL_PROGRAM_POINT_SIZE, on); }
void pipeline_primitive_restart_enable(bool on) { set_capability(GL_PRIMITIVE_RESTART, on); }
void pipeline_multisample_enable(bool on) { set_capability(GL_MULTISAMPLE, on); }

void pipeline_clip_plane_enable(uint32_t index, bool on) {
    set_capability(GL_CLIP_DISTANCE0 + index % 16384, on);
}

void pipeline_depth_func(uint32_t comparison) { glDepthFunc(translate(comparison_table, comparison)); }
void pipeline_depth_mask(bool on) { glDepthMask(gl_bool(on)); }
void pipeline_depth_range(float near_value, float far_value) { glDepthRange(near_value, far_value); }

void pipeline_stencil_func(uint32_t comparison, uint8_t reference, uint8_t mask) {
    glStencilFunc(translate(comparison_table, comparison), reference, mask);
}

void pipeline_stencil_op(uint32_t stencil_fail, uint32_t depth_fail, uint32_t pass) {
    glStencilOp(translate(stencil_operation_table, stencil_fail),
                translate(stencil_operation_table, depth_fail),
                translate(stencil_operation_table, pass));
}

void pipeline_stencil_mask(uint8_t mask) { glStencilMask(mask); }

void pipeline_stencil_func_separate(uint32_t face, uint32_t comparison, uint8_t reference, uint8_t mask) {
    glStencilFuncSeparate(translate(face_table, face), translate(comparison_table, comparison), reference, mask);
}

void pipeline_stencil_op_separate(uint32_t face, uint32_t stencil_fail, uint32_t depth_fail, uint32_t pass) {
    glStencilOpSeparate(translate(face_table, face), translate(stencil_operation_table, stencil_fail),
                        translate(stencil_operation_table, depth_fail),
                        translate(stencil_operation_table, pass));
}

void pipeline_stencil_mask_separate(uint32_t face, uint8_t mask) {
    glStencilMaskSeparate(translate(face_table, face), mask);
}

void pipeline_blend_factor(uint32_t source, uint32_t destination) {
    glBlendFunc(translate(blend_factor_table, source), translate(blend_factor_table, destination));
}

void pipeline_blend_factor_separate(uint32_t source_color, uint32_t destination_color,
                                    uint32_t source_alpha, uint32_t destination_alpha) {
    glBlendFuncSeparate(translate(blend_factor_table, source_color),
                        translate(blend_factor_table, destination_color),
                        translate(blend_factor_table, source_alpha),
                        translate(blend_factor_table, destination_alpha));
}

void pipeline_blend_equation(uint32_t equation) { glBlendEquation(translate(blend_equation_table, equation)); }

void pipeline_blend_equation_separate(uint32_t color, uint32_t alpha) {
    glBlendEquationSeparate(translate(blend_equation_table, color), translate(blend_equation_table, alpha));
}

void pipeline_blend_color(float r, float g, float b, float a) { glBlendColor(r, g, b, a); }
void pipeline_color_clamp(bool on) { glClampColor(GL_CLAMP_READ_COLOR, gl_bool(on)); }

void pipeline_color_mask(bool r, bool g, bool b, bool a) {
    glColorMask(gl_bool(r), gl_bool(g), gl_bool(b), gl_bool(a));
}

void pipeline_logic_op(uint32_t operation) { glLogicOp(translate(logic_operation_table, operation)); }
void pipeline_cull_face(uint32_t face) { glCullFace(translate(face_table, face)); }
void pipeline_cull_orientation(bool counter_clockwise) { glFrontFace(counter_clockwise ? GL_CCW : GL_CW); }

void pipeline_polygon_mode(uint32_t face, uint32_t mode) {
    glPolygonMode(translate(face_table, face), translate(polygon_mode_table, mode));
}

void pipeline_viewport(int32_t x, int32_t y, int32_t width, int32_t height) { glViewport(x, y, width, height); }
void pipeline_scissor_rect(int32_t x, int32_t y, int32_t width, int32_t height) { glScissor(x, y, width, height); }
void pipeline_point_size(float size) { glPointSize(size); }

void pipeline_point_coord_origin(int32_t lower_left) {
    glPointParameteri(GL_POINT_SPRITE_COORD_ORIGIN, lower_left ? GL_LOWER_LEFT : GL_UPPER_LEFT);
}

void pipeline_point_fade_threshold_size(float size) { glPointParameterf(GL_POINT_FADE_THRESHOLD_SIZE, size); }
void pipeline_primitive_restart_index(uint32_t index) { glPrimitiveRestartIndex(index); }
void pipeline_finish() { glFinish(); }
void pipeline_flush() { glFlush(); }

static GLenum colour_attachment_or_none(int32_t colour_index) {
    return colour_index < 0 ? GL_NONE : GL_COLOR_ATTACHMENT0 + static_cast<GLenum>(colour_index);
}

void pipeline_draw_buffers(int_view colour_indices) {
    // The count's low byte taken as signed: at most 127 entries, which fit the ring's start.
    int32_t count = static_cast<int8_t>(colour_indices.count & 0xFF);
    for (int32_t i = 0; i < count; ++i) {
        GLenum buffer = colour_attachment_or_none(colour_indices.data[i]);
        memcpy(temporary_buffer + i * sizeof(GLenum), &buffer, sizeof(GLenum));
    }
    glDrawBuffers(count, reinterpret_cast<const GLenum*>(temporary_buffer));
}

void pipeline_read_buffer(int32_t colour_index) { glReadBuffer(colour_attachment_or_none(colour_index)); }

void pipeline_pixel_store(uint32_t parameter, int32_t value) {
    glPixelStorei(translate(pixel_store_table, parameter), value);
}

// An operation refused before it reached OpenGL, reported by the next pipeline_get_error as OpenGL would.
static uint8_t refused_operation = GRAPHICS_NO_ERROR;

static bool hardware_graphics_current() { return opengl_initialized && !is_software_rendering && sdl_window; }

void pipeline_read_pixels(int32_t x, int32_t y, int32_t width, int32_t height,
                          uint32_t pixel_format, uint32_t data_type, void* pixels) {
    if (!hardware_graphics_current()) {
        set_error(SYSTEM_ERROR_GRAPHICS, "pixels are read back only with hardware graphics current");
        refused_operation = GRAPHICS_INVALID_OPERATION;
        return;
    }
    glReadPixels(x, y, width, height, translate(pixel_format_table, pixel_format),
                 translate(data_type_table, data_type), pixels);
}

uint8_t pipeline_get_error() {
    if (refused_operation != GRAPHICS_NO_ERROR) {
        uint8_t refused = refused_operation;
        refused_operation = GRAPHICS_NO_ERROR;
        return refused;
    }
    if (!opengl_initialized) return GRAPHICS_NO_ERROR;
    GLenum error = glGetError();
    if (error == GL_NO_ERROR) return GRAPHICS_NO_ERROR;
    return static_cast<uint8_t>(error - 0x4FF);
}
