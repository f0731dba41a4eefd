// The stb image reader and writer, compiled here so that every decoder allocation comes
// from the image arena. Freeing is a no-op: the arena is reclaimed as a whole.
// PNG and JPEG go to libpng and libjpeg-turbo and PNM to our own reader; PSD and Softimage PIC
// are refused, since their readers here mis-decode or crash on damaged files.
#include "image_memory.h"

#define STBI_NO_PNG
#define STBI_NO_JPEG
#define STBI_NO_PNM
#define STBI_NO_PSD
#define STBI_NO_PIC

#define STBI_MALLOC(size) image_memory_allocate(static_cast<int64_t>(size))
#define STBI_REALLOC_SIZED(block, old_size, new_size) \
    image_memory_reallocate(block, static_cast<int64_t>(old_size), static_cast<int64_t>(new_size))
#define STBI_FREE(block) static_cast<void>(block)

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#pragma GCC diagnostic pop
