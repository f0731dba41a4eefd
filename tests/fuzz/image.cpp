// image_load_from_memory on any bytes, with any component count and either flip setting.
// The first byte chooses those; the rest is the file. A decoded picture must have a size, and
// all its pixels must lie inside the caller's block; a failed one must be null with no size and
// give its block back.
#include "fuzz_support.h"

#include <cstdlib>

namespace {

// As large as the game's own image block; larger pictures fail to allocate, as they do there.
constexpr int64_t block_size = 33554432;
uint8_t* block;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    block = static_cast<uint8_t*>(malloc(block_size));
    FUZZ_CHECK(block != nullptr);
    image_set_buffer(block_size, block);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return -1;
    int8_t components = static_cast<int8_t>(data[0] % 5);
    image_set_flip((data[0] & 8) != 0);
    image_set_buffer_position(0);
    image picture = image_load_from_memory(static_cast<int32_t>(size - 1), data + 1, components);
    if (!picture.pixels) {
        FUZZ_CHECK(picture.width == 0 && picture.height == 0 && image_get_buffer_position() == 0);
        return 0;
    }
    FUZZ_CHECK(picture.width > 0 && picture.height > 0);
    // With 0 asked for, the file's own count is used, and the library tells which.
    int used = image_get_components();
    FUZZ_CHECK(used >= 1 && used <= 4 && (components == 0 || used == components));
    int64_t bytes = int64_t{picture.width} * picture.height * used;
    FUZZ_CHECK(picture.pixels >= block && picture.pixels + bytes <= block + image_get_buffer_position());
    FUZZ_CHECK(image_get_buffer_position() <= block_size);
    // Every pixel byte is read, so a result outside the block shows up under the sanitizer.
    volatile uint8_t sum = 0;
    for (int64_t i = 0; i < bytes; i++) sum = static_cast<uint8_t>(sum + picture.pixels[i]);
    return 0;
}
