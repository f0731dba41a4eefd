// Frame-buffer objects: attachments, completeness and blits.
#include "graphics_tables.h"
#include "platform_internal.h"

static GLenum target_of(uint32_t target) { return translate(frame_buffer_target_table, target); }

uint32_t frame_buffer_create() {
    GLuint frame_buffer = 0;
    glGenFramebuffers(1, &frame_buffer);
    return frame_buffer;
}

void frame_buffer_destroy(uint32_t frame_buffer) { glDeleteFramebuffers(1, &frame_buffer); }
void frame_buffer_bind(uint32_t target, uint32_t frame_buffer) { glBindFramebuffer(target_of(target), frame_buffer); }
void frame_buffer_unbind(uint32_t target) { glBindFramebuffer(target_of(target), 0); }

void frame_buffer_texture(uint32_t target, uint32_t attachment_kind, uint32_t colour_index, uint32_t texture,
                          int32_t level) {
    glFramebufferTexture(target_of(target), translate_attachment(attachment_kind, colour_index), texture, level);
}

void frame_buffer_texture_face(uint32_t target, uint32_t attachment_kind, uint32_t colour_index, uint32_t texture,
                               int32_t level, uint32_t face) {
    glFramebufferTexture2D(target_of(target), translate_attachment(attachment_kind, colour_index),
                           GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, texture, level);
}

void frame_buffer_texture_layer(uint32_t target, uint32_t attachment_kind, uint32_t colour_index,
                                uint32_t texture, int32_t level, int32_t layer) {
    glFramebufferTextureLayer(target_of(target), translate_attachment(attachment_kind, colour_index), texture,
                              level, layer);
}

void frame_buffer_render_buffer(uint32_t target, uint32_t attachment_kind, uint32_t colour_index,
                                uint32_t render_buffer) {
    glFramebufferRenderbuffer(target_of(target), translate_attachment(attachment_kind, colour_index),
                              GL_RENDERBUFFER, render_buffer);
}

uint8_t frame_buffer_get_status(uint32_t target) {
    switch (glCheckFramebufferStatus(target_of(target))) {
        case GL_FRAMEBUFFER_UNDEFINED: return FRAME_BUFFER_UNDEFINED;
        case GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT: return FRAME_BUFFER_INCOMPLETE_ATTACHMENT;
        case GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT: return FRAME_BUFFER_MISSING_ATTACHMENT;
        case GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER: return FRAME_BUFFER_INCOMPLETE_DRAW_BUFFER;
        case GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER: return FRAME_BUFFER_INCOMPLETE_READ_BUFFER;
        case GL_FRAMEBUFFER_INCOMPLETE_MULTISAMPLE: return FRAME_BUFFER_INCOMPLETE_MULTISAMPLE;
        case GL_FRAMEBUFFER_INCOMPLETE_LAYER_TARGETS: return FRAME_BUFFER_INCOMPLETE_LAYER_TARGETS;
        case GL_FRAMEBUFFER_UNSUPPORTED: return FRAME_BUFFER_UNSUPPORTED;
        default: return FRAME_BUFFER_COMPLETE;
    }
}

void frame_buffer_blit(int32_t source_x, int32_t source_y, int32_t source_width, int32_t source_height,
                       int32_t destination_x, int32_t destination_y, int32_t destination_width,
                       int32_t destination_height, uint32_t buffer_set, uint32_t filter) {
    glBlitFramebuffer(source_x, source_y, source_x + source_width, source_y + source_height, destination_x,
                      destination_y, destination_x + destination_width, destination_y + destination_height,
                      translate_buffer_set(buffer_set), translate(filter_table, filter));
}
