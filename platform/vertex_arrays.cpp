// Vertex arrays, their attribute layout, and the draw calls that read them.
#include "graphics_tables.h"
#include "platform_internal.h"

#include <cstdint>

// Byte offsets into the bound buffer travel through OpenGL's pointer arguments.
static const void* offset_pointer(int32_t offset) {
    return reinterpret_cast<const void*>(static_cast<intptr_t>(offset));
}

uint32_t vertex_array_create() {
    GLuint vertex_array = 0;
    glGenVertexArrays(1, &vertex_array);
    return vertex_array;
}

void vertex_array_destroy(uint32_t vertex_array) { glDeleteVertexArrays(1, &vertex_array); }
void vertex_array_bind(uint32_t vertex_array) { glBindVertexArray(vertex_array); }
void vertex_array_unbind() { glBindVertexArray(0); }

void attribute_enable(uint32_t index, bool on) {
    if (on) glEnableVertexAttribArray(index);
    else glDisableVertexAttribArray(index);
}

void attribute_format(uint32_t index, int32_t size, uint32_t data_type, bool normalised, int32_t stride,
                      int32_t offset) {
    glVertexAttribPointer(index, size, translate(data_type_table, data_type), normalised ? GL_TRUE : GL_FALSE,
                          stride, offset_pointer(offset));
}

void attribute_integer_format(uint32_t index, int32_t size, uint32_t data_type, int32_t stride, int32_t offset) {
    glVertexAttribIPointer(index, size, translate(data_type_table, data_type), stride, offset_pointer(offset));
}

void attribute_divisor(uint32_t index, uint32_t divisor) { glVertexAttribDivisor(index, divisor); }

void draw_arrays(uint32_t mode, int32_t first, int32_t count, int32_t instances) {
    if (instances == 1) glDrawArrays(mode, first, count);
    else glDrawArraysInstanced(mode, first, count, instances);
}

void draw_elements(uint32_t mode, uint32_t index_type, int32_t offset, int32_t count, int32_t base_vertex,
                   int32_t instances) {
    GLenum type = translate(data_type_table, index_type);
    const void* indices = offset_pointer(offset);
    if (base_vertex == 0) {
        if (instances == 1) glDrawElements(mode, count, type, indices);
        else glDrawElementsInstanced(mode, count, type, indices, instances);
    } else {
        if (instances == 1) glDrawElementsBaseVertex(mode, count, type, indices, base_vertex);
        else glDrawElementsInstancedBaseVertex(mode, count, type, indices, instances, base_vertex);
    }
}
