// Render-buffer objects: storage for frame-buffer attachments that are never sampled.
#include "graphics_tables.h"
#include "platform_internal.h"

uint32_t render_buffer_create() {
    GLuint render_buffer = 0;
    glGenRenderbuffers(1, &render_buffer);
    return render_buffer;
}

void render_buffer_destroy(uint32_t render_buffer) { glDeleteRenderbuffers(1, &render_buffer); }
void render_buffer_bind(uint32_t render_buffer) { glBindRenderbuffer(GL_RENDERBUFFER, render_buffer); }
void render_buffer_unbind() { glBindRenderbuffer(GL_RENDERBUFFER, 0); }

void render_buffer_storage(uint32_t internal_format, int32_t width, int32_t height) {
    glRenderbufferStorage(GL_RENDERBUFFER, translate(internal_format_table, internal_format), width, height);
}

void render_buffer_storage_multisample(uint32_t internal_format, int32_t width, int32_t height, int32_t samples) {
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, translate(internal_format_table, internal_format),
                                     width, height);
}
