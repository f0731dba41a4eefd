#include "render/texture_loading.h"

#include "base/arena.h"
#include "render/picture_cover.h"
#include "render/picture_levels.h"

#include <kestrune_system.h>

const Texture no_texture{};

namespace {

const uint8_t placeholder_pixel[4] = {255, 255, 255, 255};

uint8_t shading_of_pixels(const uint8_t* pixels, int64_t pixel_count) {
    bool all_white = true, all_opaque = true;
    for (int64_t i = 0; i < pixel_count && all_white; i++) {
        const uint8_t* texel = pixels + 4 * i;
        all_white = texel[0] == 255 && texel[1] == 255 && texel[2] == 255;
        all_opaque = all_opaque && texel[3] == 255;
    }
    if (!all_white) return shading_picture;
    return all_opaque ? shading_flat : shading_tint;
}

// Every smaller level down to one texel, each made from the one above.
void upload_smaller_levels(const uint8_t* pixels, int32_t width, int32_t height) {
    ArenaMark before = arena_mark(FRAME_ARENA);
    for (int32_t level = 1; width > 1 || height > 1; level++) {
        int32_t smaller_width = next_level_size(width), smaller_height = next_level_size(height);
        auto* smaller = static_cast<uint8_t*>(arena_allocate(FRAME_ARENA, int64_t{smaller_width} * smaller_height * 4));
        if (!smaller) break;
        make_next_level(pixels, width, height, smaller);
        texture_image_2d(TEXTURE_2D, level, INTERNAL_RGBA8, smaller_width, smaller_height, FORMAT_RGBA,
                         TYPE_UNSIGNED_BYTE, smaller);
        pixels = smaller;
        width = smaller_width;
        height = smaller_height;
    }
    arena_reset_to(before);
}

Texture upload_picture(string path, uint32_t min_filter, uint32_t mag_filter, bool mipmaps) {
    // Once in the texture the decoded pixels are done with: the next picture decodes into the same
    // memory, which costs a page fault for every page the first time it is touched.
    int64_t image_memory_before = image_get_buffer_position();
    image picture = image_load(path, IMAGE_RGBA);
    // A failed load leaves width and height meaningless; one white texel keeps the graphics layer quiet.
    const void* pixels = picture.pixels;
    int32_t width = picture.width, height = picture.height;
    if (!pixels || width <= 0 || height <= 0) {
        pixels = placeholder_pixel;
        width = height = 1;
    }
    Texture texture{};
    texture.name = texture_create();
    texture.width = width;
    texture.height = height;
    texture.shading = shading_of_pixels(static_cast<const uint8_t*>(pixels), int64_t{width} * height);
    texture_bind(TEXTURE_2D, texture.name);
    texture_parameter_wrap(TEXTURE_2D, PARAMETER_WRAP_S, WRAP_CLAMP_TO_EDGE);
    texture_parameter_wrap(TEXTURE_2D, PARAMETER_WRAP_T, WRAP_CLAMP_TO_EDGE);
    texture_parameter_filter(TEXTURE_2D, PARAMETER_MIN_FILTER, min_filter);
    texture_parameter_filter(TEXTURE_2D, PARAMETER_MAG_FILTER, mag_filter);
    texture_image_2d(TEXTURE_2D, 0, INTERNAL_RGBA8, width, height, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, pixels);
    if (mipmaps) upload_smaller_levels(static_cast<const uint8_t*>(pixels), width, height);
    note_picture_cover(&texture, static_cast<const uint8_t*>(pixels));
    texture_unbind(TEXTURE_2D);
    image_set_buffer_position(image_memory_before);
    return texture;
}

}  // namespace

Texture load_texture(string path) {
    return upload_picture(path, FILTER_LINEAR_MIPMAP_LINEAR, FILTER_LINEAR, true);
}

Texture load_font_texture(string path) {
    return upload_picture(path, FILTER_LINEAR, FILTER_NEAREST, false);
}
