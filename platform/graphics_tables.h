// Library indices to OpenGL enumerations, shared by the graphics wrappers.
#pragma once

#include "kestrune_system.h"

#include <epoxy/gl.h>

#include <array>
#include <cstddef>
#include <cstdint>

// An index past the end of a table reaches OpenGL as 0, which it reports as an error.
template <size_t N>
inline GLenum translate(const std::array<GLenum, N>& table, uint32_t index) {
    return index < N ? table[index] : 0;
}

extern const std::array<GLenum, TEXTURE_TARGET_COUNT> texture_target_table;
extern const std::array<GLenum, TYPE_COUNT> data_type_table;
extern const std::array<GLenum, FORMAT_COUNT> pixel_format_table;
extern const std::array<GLenum, INTERNAL_FORMAT_COUNT> internal_format_table;
extern const std::array<GLenum, WRAP_COUNT> wrap_mode_table;
extern const std::array<GLenum, FILTER_COUNT> filter_table;
extern const std::array<GLenum, PARAMETER_COUNT> texture_parameter_table;
extern const std::array<GLenum, SWIZZLE_COUNT> swizzle_table;
extern const std::array<GLenum, FRAME_BUFFER_TARGET_COUNT> frame_buffer_target_table;
extern const std::array<GLenum, ATTACHMENT_KIND_COUNT> attachment_table;
extern const std::array<GLenum, BUFFER_TARGET_COUNT> buffer_target_table;
extern const std::array<GLenum, USAGE_COUNT> buffer_usage_table;
extern const std::array<GLenum, ACCESS_COUNT> map_access_table;
extern const std::array<GLenum, COMPARE_COUNT> comparison_table;
extern const std::array<GLenum, FACE_COUNT> face_table;
extern const std::array<GLenum, STENCIL_OPERATION_COUNT> stencil_operation_table;
extern const std::array<GLenum, BLEND_FACTOR_COUNT> blend_factor_table;
extern const std::array<GLenum, BLEND_EQUATION_COUNT> blend_equation_table;
extern const std::array<GLenum, LOGIC_OPERATION_COUNT> logic_operation_table;
extern const std::array<GLenum, POLYGON_MODE_COUNT> polygon_mode_table;
extern const std::array<GLenum, PIXEL_STORE_COUNT> pixel_store_table;

// The attachment of a kind; a colour attachment is offset by colour_index.
GLenum translate_attachment(uint32_t kind, uint32_t colour_index);

// Buffer-set bits 1 depth, 2 stencil, 4 colour; other bits are dropped.
GLbitfield translate_buffer_set(uint32_t buffer_set);
