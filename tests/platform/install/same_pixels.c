/* Exits with 0 when two pictures decode to the same size and RGBA pixels. The second is read as
 * stored ("upright") or turned over again on load ("flipped"), so a picture saved upside down by
 * the image example can be matched with its source.
 *
 *   same_pixels ORIGINAL CONVERTED upright|flipped */
#include <kestrune_system.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static string text(const char* characters) {
    string result = {characters, (int64_t)strlen(characters)};
    return result;
}

#define BLOCK_SIZE ((int64_t)64 << 20)

int main(int argc, char** argv) {
    if (argc != 4 || (strcmp(argv[3], "upright") != 0 && strcmp(argv[3], "flipped") != 0)) {
        fprintf(stderr, "usage: same_pixels ORIGINAL CONVERTED upright|flipped\n");
        return 2;
    }
    void* block = malloc((size_t)BLOCK_SIZE);
    image_set_buffer(BLOCK_SIZE, block);
    image_set_flip(false);
    image original = image_load(text(argv[1]), IMAGE_RGBA);
    image_set_flip(strcmp(argv[3], "flipped") == 0);
    image converted = image_load(text(argv[2]), IMAGE_RGBA);
    image_set_flip(false);

    int exit_code = 1;
    if (!original.pixels || !converted.pixels) {
        fprintf(stderr, "a picture could not be read\n");
    } else if (original.width != converted.width || original.height != converted.height) {
        fprintf(stderr, "%d x %d against %d x %d\n", original.width, original.height, converted.width,
                converted.height);
    } else if (memcmp(original.pixels, converted.pixels, (size_t)original.width * original.height * 4) != 0) {
        fprintf(stderr, "the pixels differ\n");
    } else {
        printf("same %d x %d pixels\n", original.width, original.height);
        exit_code = 0;
    }
    image_set_buffer(0, NULL);
    free(block);
    return exit_code;
}
