// Image loading and saving over stb_image, with every decoder allocation in the image arena.
#include "image_memory.h"
#include "platform_internal.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <cstdio>
#include <cstring>

CallerBlock image_memory{nullptr, 0, 0, "image memory allocation failed", "image memory reallocation failed"};

void* image_memory_allocate(int64_t size) { return caller_block_allocate(&image_memory, size); }

void* image_memory_reallocate(void* block, int64_t old_size, int64_t new_size) {
    return caller_block_reallocate(&image_memory, block, old_size, new_size);
}

void image_set_buffer(int64_t size, void* memory) { caller_block_set(&image_memory, size, memory); }
void image_set_buffer_position(int64_t position) { image_memory.pos = position; }
int64_t image_get_buffer_position() { return image_memory.pos; }

void image_set_flip(bool on) {
    stbi_set_flip_vertically_on_load(on ? 1 : 0);
    stbi_flip_vertically_on_write(on ? 1 : 0);
}

// A failed load reports null pixels and no size.
static image loaded_image(uint8_t* pixels, int width, int height) {
    if (!pixels) return image{nullptr, 0, 0};
    return image{pixels, width, height};
}

// The decoder asserts on other counts; 0 keeps the file's own count.
static bool is_load_components(int8_t components) { return components >= 0 && components <= 4; }

image image_load(string path, int8_t components) {
    if (!is_load_components(components)) return image{nullptr, 0, 0};
    int width = 0, height = 0, channels = 0;
    uint8_t* pixels = stbi_load(append_character(path).data, &width, &height, &channels, components);
    return loaded_image(pixels, width, height);
}

image image_load_from_memory(int32_t length, const void* data, int8_t components) {
    if (!is_load_components(components) || !data || length <= 0) return image{nullptr, 0, 0};
    int width = 0, height = 0, channels = 0;
    uint8_t* pixels =
        stbi_load_from_memory(static_cast<const stbi_uc*>(data), length, &width, &height, &channels, components);
    return loaded_image(pixels, width, height);
}

// The text after the last "."; empty when the path has none.
static string extension_of(string path) {
    for (int64_t i = path.length - 1; i >= 0; --i) {
        if (path.data[i] == '.') return string{path.data + i + 1, path.length - i - 1};
    }
    return string{path.data, 0};
}

static bool is_extension(string extension, const char* expected) {
    int64_t length = static_cast<int64_t>(strlen(expected));
    return extension.length == length && memcmp(extension.data, expected, static_cast<size_t>(length)) == 0;
}

bool image_save(const image* picture, string path, int8_t components) {
    if (!picture || !picture->pixels || picture->width <= 0 || picture->height <= 0) return false;
    if (components < 1 || components > 4) return false;
    string extension = extension_of(path);
    int width = picture->width, height = picture->height;
    const void* pixels = picture->pixels;
    if (is_extension(extension, "bmp")) {
        return stbi_write_bmp(append_character(path).data, width, height, components, pixels) != 0;
    }
    if (is_extension(extension, "png")) {
        return stbi_write_png(append_character(path).data, width, height, components, pixels,
                              width * components) != 0;
    }
    if (is_extension(extension, "tga")) {
        return stbi_write_tga(append_character(path).data, width, height, components, pixels) != 0;
    }
    if (is_extension(extension, "jpg")) {
        return stbi_write_jpg(append_character(path).data, width, height, components, pixels, 100) != 0;
    }
    return false;
}
