// Saves what an X window shows as a PNG file, or prints one of its pixels; tools/make_screenshots.sh
// uses it on the game's window.
// Usage: capture_window WINDOW_ID OUTPUT.png      (the id in decimal or 0x hexadecimal)
//        capture_window WINDOW_ID --pixel X Y     (prints "R G B"; y counted from the top)

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The 8 bits of a channel from a pixel, whatever the visual's mask for it.
uint8_t channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1) == 0) shift++;
    unsigned long value = (pixel & mask) >> shift;
    unsigned long top = mask >> shift;
    return static_cast<uint8_t>(value * 255 / top);
}

}  // namespace

int main(int argc, char** argv) {
    bool one_pixel = argc == 5 && strcmp(argv[2], "--pixel") == 0;
    if (argc != 3 && !one_pixel) {
        fprintf(stderr, "usage: capture_window WINDOW_ID OUTPUT.png | capture_window WINDOW_ID --pixel X Y\n");
        return 2;
    }
    Window window = static_cast<Window>(strtoul(argv[1], nullptr, 0));
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        fprintf(stderr, "capture_window: no X display\n");
        return 1;
    }
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes)) {
        fprintf(stderr, "capture_window: no window %s\n", argv[1]);
        return 1;
    }
    int left = 0, top = 0, width = attributes.width, height = attributes.height;
    if (one_pixel) {
        left = atoi(argv[3]);
        top = atoi(argv[4]);
        width = 1;
        height = 1;
    }
    XImage* image = XGetImage(display, window, left, top, static_cast<unsigned>(width), static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    if (!image) {
        fprintf(stderr, "capture_window: the window's pixels could not be read\n");
        return 1;
    }
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            unsigned long pixel = XGetPixel(image, x, y);
            uint8_t* out = &rgb[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3];
            out[0] = channel(pixel, image->red_mask);
            out[1] = channel(pixel, image->green_mask);
            out[2] = channel(pixel, image->blue_mask);
        }
    }
    XDestroyImage(image);
    XCloseDisplay(display);
    if (one_pixel) {
        printf("%d %d %d\n", rgb[0], rgb[1], rgb[2]);
        return 0;
    }
    if (!stbi_write_png(argv[2], width, height, 3, rgb.data(), width * 3)) {
        fprintf(stderr, "capture_window: %s could not be written\n", argv[2]);
        return 1;
    }
    return 0;
}
