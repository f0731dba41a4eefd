// Buffer objects: vertex, element, uniform and pixel-transfer storage.
#include "graphics_tables.h"
#include "platform_internal.h"

static GLenum target_of(uint32_t target) { return translate(buffer_target_table, target); }

uint32_t buffer_create() {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    return buffer;
}

void buffer_destroy(uint32_t buffer) { glDeleteBuffers(1, &buffer); }
void buffer_bind(uint32_t target, uint32_t buffer) { glBindBuffer(target_of(target), buffer); }
void buffer_unbind(uint32_t target) { glBindBuffer(target_of(target), 0); }
void buffer_bind_base(uint32_t target, uint32_t index, uint32_t buffer) { glBindBufferBase(target_of(target), index, buffer); }

void buffer_bind_range(uint32_t target, uint32_t index, uint32_t buffer, int64_t offset, int64_t size) {
    glBindBufferRange(target_of(target), index, buffer, offset, size);
}

void buffer_data(uint32_t target, int64_t size, const void* data, uint32_t usage) {
    glBufferData(target_of(target), size, data, translate(buffer_usage_table, usage));
}

void buffer_sub_data(uint32_t target, int64_t offset, int64_t size, const void* data) {
    glBufferSubData(target_of(target), offset, size, data);
}

byte_view buffer_map(uint32_t target, int64_t size, uint32_t access) {
    void* mapped = glMapBuffer(target_of(target), translate(map_access_table, access));
    if (!mapped) set_error(SYSTEM_ERROR_GRAPHICS, "the buffer cannot be mapped");
    return byte_view{static_cast<uint8_t*>(mapped), size};
}

bool buffer_unmap(uint32_t target) { return glUnmapBuffer(target_of(target)) == GL_TRUE; }

void buffer_copy_sub_data(uint32_t read_target, uint32_t write_target, int64_t read_offset, int64_t write_offset,
                          int64_t size) {
    glCopyBufferSubData(target_of(read_target), target_of(write_target), read_offset, write_offset, size);
}
