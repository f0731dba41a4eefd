// Library indices to OpenGL enumerations, shared by the graphics wrappers.
#pragma once

#include <epoxy/gl.h>

#include <cstddef>
#include <cstdint>

// An index past the end of a table reaches OpenGL as 0, which it reports as an error.
template <size_t N>
inline GLenum translate(const GLenum (&table)[N], uint32_t index) {
    return index < N ? table[index] : 0;
}

extern const GLenum texture_target_table[9];
extern const GLenum data_type_table[14];
extern const GLenum pixel_format_table[15];
extern const GLenum internal_format_table[84];
extern const GLenum wrap_mode_table[4];
extern const GLenum filter_table[6];
extern const GLenum texture_parameter_table[10];
extern const GLenum swizzle_table[6];
extern const GLenum frame_buffer_target_table[3];
extern const GLenum buffer_target_table[8];
extern const GLenum buffer_usage_table[9];
extern const GLenum map_access_table[3];
extern const GLenum comparison_table[8];
extern const GLenum face_table[3];
extern const GLenum stencil_operation_table[8];
extern const GLenum blend_factor_table[14];
extern const GLenum blend_equation_table[5];
extern const GLenum logic_operation_table[16];
extern const GLenum polygon_mode_table[3];
extern const GLenum pixel_store_table[16];

// Attachment kinds 0 depth, 1 stencil, 2 depth and stencil, 3 colour attachment colour_index.
GLenum translate_attachment(uint32_t kind, uint32_t colour_index);

// Buffer-set bits 1 depth, 2 stencil, 4 colour; other bits are dropped.
GLbitfield translate_buffer_set(uint32_t buffer_set);
