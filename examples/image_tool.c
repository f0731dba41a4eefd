/* Loads a picture (PNG, JPEG, BMP, TGA, GIF, PSD or PNM) and saves it upside down in the format its new
 * name ends in: "bmp", "png", "tga" or "jpg".
 *
 *   image_tool INPUT OUTPUT
 *
 * Build: cc image_tool.c $(pkg-config --cflags --libs kestrune_system) -o image_tool */
#include <kestrune_system.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static string text(const char* characters) {
    string result = {characters, (int64_t)strlen(characters)};
    return result;
}

/* The decoded pixels and the decoder's working memory both come from this block: enough for
 * pictures of about sixteen million pixels. */
#define IMAGE_BLOCK_SIZE ((int64_t)128 << 20)

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: image_tool INPUT OUTPUT\n");
        return 2;
    }
    system_init(SYSTEM_TIMER);
    void* block = malloc((size_t)IMAGE_BLOCK_SIZE);
    image_set_buffer(IMAGE_BLOCK_SIZE, block);

    /* Loaded the right way up; the flip applies to the save alone. */
    image_set_flip(false);
    image picture = image_load(text(argv[1]), IMAGE_RGBA);
    int exit_code = 0;
    if (!picture.pixels) {
        fprintf(stderr, "%s could not be read as a picture\n", argv[1]);
        exit_code = 1;
    } else {
        printf("%s: %d x %d pixels\n", argv[1], picture.width, picture.height);
        image_set_flip(true);
        if (image_save(&picture, text(argv[2]), IMAGE_RGBA)) {
            printf("saved %s upside down\n", argv[2]);
        } else {
            fprintf(stderr, "%s could not be written; the name must end in bmp, png, tga or jpg\n", argv[2]);
            exit_code = 1;
        }
        image_set_flip(false);
    }

    /* The library forgets the block before it goes back to the heap. */
    image_set_buffer(0, NULL);
    free(block);
    system_release();
    return exit_code;
}
