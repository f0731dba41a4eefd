// Texture objects: storage, uploads, copies, parameters and read-back.
#include "graphics_tables.h"
#include "platform_internal.h"

static GLenum target_of(uint32_t target) { return translate(texture_target_table, target); }
static GLint internal_of(uint32_t internal_format) {
    return static_cast<GLint>(translate(internal_format_table, internal_format));
}
static GLenum format_of(uint32_t pixel_format) { return translate(pixel_format_table, pixel_format); }
static GLenum type_of(uint32_t data_type) { return translate(data_type_table, data_type); }
static GLenum parameter_of(uint32_t parameter) { return translate(texture_parameter_table, parameter); }

uint32_t texture_create() {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    return texture;
}

void texture_destroy(uint32_t texture) { glDeleteTextures(1, &texture); }
void texture_bind(uint32_t target, uint32_t texture) { glBindTexture(target_of(target), texture); }
void texture_unbind(uint32_t target) { glBindTexture(target_of(target), 0); }
void texture_unit(uint32_t unit) { glActiveTexture(GL_TEXTURE0 + unit); }

void texture_image_1d(uint32_t target, int32_t level, uint32_t internal_format, int32_t width,
                      uint32_t pixel_format, uint32_t data_type, const void* pixels) {
    glTexImage1D(target_of(target), level, internal_of(internal_format), width, 0, format_of(pixel_format),
                 type_of(data_type), pixels);
}

void texture_image_2d(uint32_t target, int32_t level, uint32_t internal_format, int32_t width, int32_t height,
                      uint32_t pixel_format, uint32_t data_type, const void* pixels) {
    glTexImage2D(target_of(target), level, internal_of(internal_format), width, height, 0,
                 format_of(pixel_format), type_of(data_type), pixels);
}

void texture_image_3d(uint32_t target, int32_t level, uint32_t internal_format, int32_t width, int32_t height,
                      int32_t depth, uint32_t pixel_format, uint32_t data_type, const void* pixels) {
    glTexImage3D(target_of(target), level, internal_of(internal_format), width, height, depth, 0,
                 format_of(pixel_format), type_of(data_type), pixels);
}

void texture_image_buffer(uint32_t target, uint32_t internal_format, uint32_t buffer) {
    glTexBuffer(target_of(target), static_cast<GLenum>(internal_of(internal_format)), buffer);
}

void texture_image_2d_multisample(uint32_t target, int32_t samples, uint32_t internal_format, int32_t width,
                                  int32_t height, bool fixed_sample_locations) {
    glTexImage2DMultisample(target_of(target), samples, static_cast<GLenum>(internal_of(internal_format)), width,
                            height, fixed_sample_locations ? GL_TRUE : GL_FALSE);
}

void texture_image_2d_multisample_array(uint32_t target, int32_t samples, uint32_t internal_format,
                                        int32_t width, int32_t height, int32_t depth,
                                        bool fixed_sample_locations) {
    glTexImage3DMultisample(target_of(target), samples, static_cast<GLenum>(internal_of(internal_format)), width,
                            height, depth, fixed_sample_locations ? GL_TRUE : GL_FALSE);
}

void texture_sub_image_1d(uint32_t target, int32_t level, int32_t x_offset, int32_t width, uint32_t pixel_format,
                          uint32_t data_type, const void* pixels) {
    glTexSubImage1D(target_of(target), level, x_offset, width, format_of(pixel_format), type_of(data_type),
                    pixels);
}

void texture_sub_image_2d(uint32_t target, int32_t level, int32_t x_offset, int32_t y_offset, int32_t width,
                          int32_t height, uint32_t pixel_format, uint32_t data_type, const void* pixels) {
    glTexSubImage2D(target_of(target), level, x_offset, y_offset, width, height, format_of(pixel_format),
                    type_of(data_type), pixels);
}

void texture_sub_image_3d(uint32_t target, int32_t level, int32_t x_offset, int32_t y_offset, int32_t z_offset,
                          int32_t width, int32_t height, int32_t depth, uint32_t pixel_format, uint32_t data_type,
                          const void* pixels) {
    glTexSubImage3D(target_of(target), level, x_offset, y_offset, z_offset, width, height, depth,
                    format_of(pixel_format), type_of(data_type), pixels);
}

void texture_compressed_image_1d(uint32_t target, int32_t level, uint32_t internal_format, int32_t width,
                                 int32_t byte_count, const void* data) {
    glCompressedTexImage1D(target_of(target), level, static_cast<GLenum>(internal_of(internal_format)), width, 0,
                           byte_count, data);
}

void texture_compressed_image_2d(uint32_t target, int32_t level, uint32_t internal_format, int32_t width,
                                 int32_t height, int32_t byte_count, const void* data) {
    glCompressedTexImage2D(target_of(target), level, static_cast<GLenum>(internal_of(internal_format)), width,
                           height, 0, byte_count, data);
}

void texture_compressed_image_3d(uint32_t target, int32_t level, uint32_t internal_format, int32_t width,
                                 int32_t height, int32_t depth, int32_t byte_count, const void* data) {
    glCompressedTexImage3D(target_of(target), level, static_cast<GLenum>(internal_of(internal_format)), width,
                           height, depth, 0, byte_count, data);
}

void texture_compressed_sub_image_1d(uint32_t target, int32_t level, int32_t x_offset, int32_t width,
                                     uint32_t internal_format, int32_t byte_count, const void* data) {
    glCompressedTexSubImage1D(target_of(target), level, x_offset, width,
                              static_cast<GLenum>(internal_of(internal_format)), byte_count, data);
}

void texture_compressed_sub_image_2d(uint32_t target, int32_t level, int32_t x_offset, int32_t y_offset,
                                     int32_t width, int32_t height, uint32_t internal_format, int32_t byte_count,
                                     const void* data) {
    glCompressedTexSubImage2D(target_of(target), level, x_offset, y_offset, width, height,
                              static_cast<GLenum>(internal_of(internal_format)), byte_count, data);
}

void texture_compressed_sub_image_3d(uint32_t target, int32_t level, int32_t x_offset, int32_t y_offset,
                                     int32_t z_offset, int32_t width, int32_t height, int32_t depth,
                                     uint32_t internal_format, int32_t byte_count, const void* data) {
    glCompressedTexSubImage3D(target_of(target), level, x_offset, y_offset, z_offset, width, height, depth,
                              static_cast<GLenum>(internal_of(internal_format)), byte_count, data);
}

void texture_copy_image_1d(uint32_t target, int32_t level, uint32_t internal_format, int32_t x, int32_t y,
                           int32_t width) {
    glCopyTexImage1D(target_of(target), level, static_cast<GLenum>(internal_of(internal_format)), x, y, width, 0);
}

void texture_copy_image_2d(uint32_t target, int32_t level, uint32_t internal_format, int32_t x, int32_t y,
                           int32_t width, int32_t height) {
    glCopyTexImage2D(target_of(target), level, static_cast<GLenum>(internal_of(internal_format)), x, y, width,
                     height, 0);
}

void texture_copy_sub_image_1d(uint32_t target, int32_t level, int32_t x, int32_t y, int32_t x_offset,
                               int32_t width) {
    glCopyTexSubImage1D(target_of(target), level, x_offset, x, y, width);
}

void texture_copy_sub_image_2d(uint32_t target, int32_t level, int32_t x, int32_t y, int32_t x_offset,
                               int32_t y_offset, int32_t width, int32_t height) {
    glCopyTexSubImage2D(target_of(target), level, x_offset, y_offset, x, y, width, height);
}

void texture_copy_sub_image_3d(uint32_t target, int32_t level, int32_t x, int32_t y, int32_t x_offset,
                               int32_t y_offset, int32_t z_offset, int32_t width, int32_t height) {
    glCopyTexSubImage3D(target_of(target), level, x_offset, y_offset, z_offset, x, y, width, height);
}

void texture_parameter_wrap(uint32_t target, uint32_t parameter, uint32_t wrap_mode) {
    glTexParameteri(target_of(target), parameter_of(parameter),
                    static_cast<GLint>(translate(wrap_mode_table, wrap_mode)));
}

void texture_parameter_filter(uint32_t target, uint32_t parameter, uint32_t filter) {
    glTexParameteri(target_of(target), parameter_of(parameter), static_cast<GLint>(translate(filter_table, filter)));
}

void texture_parameter_swizzle(uint32_t target, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    GLint swizzle[4] = {
        static_cast<GLint>(translate(swizzle_table, r)), static_cast<GLint>(translate(swizzle_table, g)),
        static_cast<GLint>(translate(swizzle_table, b)), static_cast<GLint>(translate(swizzle_table, a))};
    glTexParameteriv(target_of(target), GL_TEXTURE_SWIZZLE_RGBA, swizzle);
}

void texture_parameterf(uint32_t target, uint32_t parameter, float value) {
    glTexParameterf(target_of(target), parameter_of(parameter), value);
}

void texture_parameteri(uint32_t target, uint32_t parameter, int32_t value) {
    glTexParameteri(target_of(target), parameter_of(parameter), value);
}

void texture_parameterfa(uint32_t target, uint32_t parameter, float_view values) {
    glTexParameterfv(target_of(target), parameter_of(parameter), values.data);
}

void texture_parameteria(uint32_t target, uint32_t parameter, int_view values) {
    glTexParameteriv(target_of(target), parameter_of(parameter), values.data);
}

void texture_integer_parameteria(uint32_t target, uint32_t parameter, int_view values) {
    glTexParameterIiv(target_of(target), parameter_of(parameter), values.data);
}

void texture_integer_parameterqa(uint32_t target, uint32_t parameter, uint_view values) {
    glTexParameterIuiv(target_of(target), parameter_of(parameter), values.data);
}

void texture_generate_mipmap(uint32_t target) { glGenerateMipmap(target_of(target)); }

void texture_get_image(uint32_t target, int32_t level, uint32_t pixel_format, uint32_t data_type, void* pixels) {
    glGetTexImage(target_of(target), level, format_of(pixel_format), type_of(data_type), pixels);
}
