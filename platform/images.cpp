// Image loading and saving. PNG and JPEG are decoded by libpng and libjpeg-turbo, binary PNM here,
// and BMP, TGA, GIF and HDR by stb_image; the pixels always land in the image arena.
#include "image_memory.h"
#include "platform_internal.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>
#include <png.h>
#include <stb_image.h>
#include <stb_image_write.h>

CallerBlock image_memory{nullptr, 0, 0, "image memory allocation failed", "image memory reallocation failed", false};

void* image_memory_allocate(int64_t size) { return caller_block_allocate(&image_memory, size); }

void* image_memory_reallocate(void* block, int64_t old_size, int64_t new_size) {
    return caller_block_reallocate(&image_memory, block, old_size, new_size);
}

void image_set_buffer(int64_t size, void* memory) { caller_block_set(&image_memory, size, memory); }
void image_set_buffer_position(int64_t position) { image_memory.pos = position; }
int64_t image_get_buffer_position() { return image_memory.pos; }

static bool flip_on_load = false;

void image_set_flip(bool on) {
    flip_on_load = on;
    stbi_set_flip_vertically_on_load(on ? 1 : 0);
    stbi_flip_vertically_on_write(on ? 1 : 0);
}

// The same bound stb_image puts on each side.
static constexpr int64_t max_side = int64_t{1} << 24;

static bool sides_fit(int64_t width, int64_t height, int64_t bytes_per_pixel) {
    return width > 0 && height > 0 && width <= max_side && height <= max_side &&
           width * height * bytes_per_pixel <= INT32_MAX;
}

// Grey is (77 R + 150 G + 29 B) / 256 and a missing alpha is opaque, as stb_image converts.
template <typename Sample>
static void convert_components(const Sample* in, int from, Sample* out, int to, int64_t count, Sample opaque) {
    for (int64_t i = 0; i < count; ++i, in += from, out += to) {
        bool colour = from >= 3;
        Sample grey = colour ? static_cast<Sample>((in[0] * 77 + in[1] * 150 + in[2] * 29) >> 8) : in[0];
        Sample alpha = from == 2 ? in[1] : from == 4 ? in[3] : opaque;
        if (to <= 2) {
            out[0] = grey;
            if (to == 2) out[1] = alpha;
        } else {
            out[0] = colour ? in[0] : grey;
            out[1] = colour ? in[1] : grey;
            out[2] = colour ? in[2] : grey;
            if (to == 4) out[3] = alpha;
        }
    }
}

// Decoded samples (8 bits, or 16 bits in host order) with from components become 8-bit samples
// with the requested count (0 keeps the decoded one) in a new arena block; 16-bit samples keep
// their high byte after the conversion, as stb_image does.
static uint8_t* requested_pixels(void* decoded, int bits, int from, int64_t count, int requested) {
    int to = requested == 0 ? from : requested;
    if (bits == 8) {
        if (to == from) return static_cast<uint8_t*>(decoded);
        uint8_t* out = static_cast<uint8_t*>(image_memory_allocate(count * to));
        if (out) convert_components(static_cast<const uint8_t*>(decoded), from, out, to, count, uint8_t{255});
        return out;
    }
    uint16_t* wide = static_cast<uint16_t*>(decoded);
    if (to != from) {
        wide = static_cast<uint16_t*>(image_memory_allocate(count * to * 2));
        if (!wide) return nullptr;
        convert_components(static_cast<const uint16_t*>(decoded), from, wide, to, count, uint16_t{65535});
    }
    uint8_t* out = static_cast<uint8_t*>(image_memory_allocate(count * to));
    if (!out) return nullptr;
    for (int64_t i = 0; i < count * to; ++i) out[i] = static_cast<uint8_t>(wide[i] >> 8);
    return out;
}

static void flip_rows(uint8_t* pixels, int64_t row_bytes, int64_t height) {
    for (int64_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        uint8_t* a = pixels + top * row_bytes;
        uint8_t* b = pixels + bottom * row_bytes;
        for (int64_t i = 0; i < row_bytes; ++i) {
            uint8_t kept = a[i];
            a[i] = b[i];
            b[i] = kept;
        }
    }
}

struct Decoded {
    void* samples;  // null when decoding failed
    int bits;       // 8, or 16 in host order
    int components;
    int width;
    int height;
};

// ---- PNG through libpng, its working memory in the arena ----

struct PngSource {
    const uint8_t* data;
    size_t size;
    size_t position;
};

static void png_read_source(png_structp png, png_bytep out, size_t count) {
    PngSource* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (count > source->size - source->position) png_error(png, "truncated");
    memcpy(out, source->data + source->position, count);
    source->position += count;
}

static void png_fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
static void png_ignore(png_structp, png_const_charp) {}
static png_voidp png_allocate(png_structp, png_alloc_size_t size) {
    return image_memory_allocate(static_cast<int64_t>(size));
}
static void png_release(png_structp, png_voidp) {}

// Kept free of C++ objects with destructors, since errors leave it by longjmp.
static Decoded decode_png(const uint8_t* data, size_t size) {
    Decoded result{nullptr, 8, 0, 0, 0};
    PngSource source{data, size, 0};
    png_structp png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, png_fail, png_ignore, nullptr,
                                               png_allocate, png_release);
    if (!png) return result;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return result;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return result;
    }
    png_set_read_fn(png, &source, png_read_source);
    png_set_user_limits(png, static_cast<png_uint_32>(max_side), static_cast<png_uint_32>(max_side));
    png_read_info(png, info);
    png_set_expand(png);
    if (png_get_bit_depth(png, info) == 16) png_set_swap(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    int width = static_cast<int>(png_get_image_width(png, info));
    int height = static_cast<int>(png_get_image_height(png, info));
    int components = png_get_channels(png, info);
    int bits = png_get_bit_depth(png, info);
    int64_t row_bytes = int64_t{width} * components * (bits / 8);
    if (!sides_fit(width, height, 4 * (bits / 8)) || png_get_rowbytes(png, info) != static_cast<size_t>(row_bytes))
        png_error(png, "unsupported size");
    uint8_t* samples = static_cast<uint8_t*>(image_memory_allocate(row_bytes * height));
    png_bytep* rows = static_cast<png_bytep*>(image_memory_allocate(height * int64_t{sizeof(png_bytep)}));
    if (!samples || !rows) png_error(png, "no memory");
    for (int y = 0; y < height; ++y) rows[y] = samples + y * row_bytes;
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return Decoded{samples, bits, components, width, height};
}

// ---- JPEG through libjpeg-turbo, its working memory on the heap (it has no allocator hook) ----

struct JpegErrors {
    jpeg_error_mgr manager;
    jmp_buf jump;
};

static void jpeg_fail(j_common_ptr decoder) { longjmp(reinterpret_cast<JpegErrors*>(decoder->err)->jump, 1); }
static void jpeg_quiet(j_common_ptr) {}

// CMYK as stored by Adobe (inverted) times K, rounded as stb_image does.
static uint8_t blend_with_black(uint8_t value, uint8_t black) {
    int product = value * black + 128;
    return static_cast<uint8_t>((product + (product >> 8)) >> 8);
}

// Kept free of C++ objects with destructors, since errors leave it by longjmp.
static Decoded decode_jpeg(const uint8_t* data, size_t size, int requested) {
    jpeg_decompress_struct decoder;
    JpegErrors errors;
    decoder.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jpeg_fail;
    errors.manager.output_message = jpeg_quiet;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&decoder);
        return Decoded{nullptr, 8, 0, 0, 0};
    }
    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, data, static_cast<unsigned long>(size));
    jpeg_read_header(&decoder, TRUE);
    bool cmyk = decoder.jpeg_color_space == JCS_CMYK || decoder.jpeg_color_space == JCS_YCCK;
    bool luma_only = decoder.jpeg_color_space == JCS_GRAYSCALE ||
                     (decoder.jpeg_color_space == JCS_YCbCr && requested >= 1 && requested <= 2);
    decoder.out_color_space = cmyk ? JCS_CMYK : luma_only ? JCS_GRAYSCALE : JCS_RGB;
    decoder.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&decoder);
    int width = static_cast<int>(decoder.output_width);
    int height = static_cast<int>(decoder.output_height);
    int components = decoder.output_components;
    if (!sides_fit(width, height, 4)) longjmp(errors.jump, 1);
    int64_t row_bytes = int64_t{width} * components;
    uint8_t* samples = static_cast<uint8_t*>(image_memory_allocate(row_bytes * height));
    if (!samples) longjmp(errors.jump, 1);
    while (decoder.output_scanline < decoder.output_height) {
        JSAMPROW row = samples + decoder.output_scanline * row_bytes;
        jpeg_read_scanlines(&decoder, &row, 1);
    }
    jpeg_destroy_decompress(&decoder);
    if (cmyk) {
        // Reduced to RGB in place: each pixel's three bytes go no further than its four did.
        int64_t count = int64_t{width} * height;
        for (int64_t i = 0; i < count; ++i) {
            const uint8_t* in = samples + i * 4;
            uint8_t black = in[3];
            uint8_t red = blend_with_black(in[0], black), green = blend_with_black(in[1], black);
            uint8_t blue = blend_with_black(in[2], black);
            samples[i * 3] = red;
            samples[i * 3 + 1] = green;
            samples[i * 3 + 2] = blue;
        }
        components = 3;
    }
    return Decoded{samples, 8, components, width, height};
}

// ---- Binary PNM (P5 grey, P6 RGB), read here ----

struct PnmReader {
    const uint8_t* data;
    size_t size;
    size_t position;
};

static bool pnm_space(uint8_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Whitespace and comments, then a decimal number; false when there is none or it is out of range.
static bool pnm_number(PnmReader* reader, int64_t* value) {
    while (reader->position < reader->size) {
        uint8_t c = reader->data[reader->position];
        if (pnm_space(c)) {
            ++reader->position;
        } else if (c == '#') {
            while (reader->position < reader->size && reader->data[reader->position] != '\n' &&
                   reader->data[reader->position] != '\r')
                ++reader->position;
        } else {
            break;
        }
    }
    int64_t number = 0;
    size_t start = reader->position;
    while (reader->position < reader->size && reader->data[reader->position] >= '0' &&
           reader->data[reader->position] <= '9') {
        number = number * 10 + (reader->data[reader->position++] - '0');
        if (number > max_side) return false;
    }
    *value = number;
    return reader->position > start;
}

static Decoded decode_pnm(const uint8_t* data, size_t size) {
    Decoded failed{nullptr, 8, 0, 0, 0};
    PnmReader reader{data, size, 2};
    int components = data[1] == '6' ? 3 : 1;
    int64_t width = 0, height = 0, maximum = 0;
    if (!pnm_number(&reader, &width) || !pnm_number(&reader, &height) || !pnm_number(&reader, &maximum))
        return failed;
    // Exactly one whitespace byte separates the header from the samples.
    if (reader.position >= size || !pnm_space(data[reader.position])) return failed;
    ++reader.position;
    int bytes = maximum > 255 ? 2 : 1;
    if (maximum < 1 || maximum > 65535 || !sides_fit(width, height, 4 * bytes)) return failed;
    int64_t count = width * height * components;
    if (static_cast<size_t>(count * bytes) > size - reader.position) return failed;
    const uint8_t* in = data + reader.position;
    // Samples are kept as stored, not scaled by the maximum.
    if (bytes == 1) {
        uint8_t* samples = static_cast<uint8_t*>(image_memory_allocate(count));
        if (!samples) return failed;
        memcpy(samples, in, static_cast<size_t>(count));
        return Decoded{samples, 8, components, static_cast<int>(width), static_cast<int>(height)};
    }
    uint16_t* samples = static_cast<uint16_t*>(image_memory_allocate(count * 2));
    if (!samples) return failed;
    for (int64_t i = 0; i < count; ++i) samples[i] = static_cast<uint16_t>(in[2 * i] << 8 | in[2 * i + 1]);
    return Decoded{samples, 16, components, static_cast<int>(width), static_cast<int>(height)};
}

// ---- Choosing the decoder ----

static bool starts_with(const uint8_t* data, size_t size, const char* magic, size_t length) {
    return size >= length && memcmp(data, magic, length) == 0;
}

static image failed_image() { return image{nullptr, 0, 0}; }

// Components per pixel of the last image loaded: the count asked for, or the file's own for 0.
static int loaded_components = 0;

// The decoder comes from the first bytes, whatever the name says.
static image decode(const uint8_t* data, size_t size, int components) {
    Decoded decoded{nullptr, 8, 0, 0, 0};
    if (starts_with(data, size, "\x89PNG\r\n\x1a\n", 8)) {
        decoded = decode_png(data, size);
    } else if (starts_with(data, size, "\xff\xd8", 2)) {
        decoded = decode_jpeg(data, size, components);
    } else if (starts_with(data, size, "P5", 2) || starts_with(data, size, "P6", 2)) {
        decoded = decode_pnm(data, size);
    } else {
        if (size > INT32_MAX) return failed_image();
        int width = 0, height = 0, channels = 0;
        uint8_t* pixels = stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, components);
        // stb_image returns an empty picture for some broken files; that is a failure too.
        if (!pixels || width <= 0 || height <= 0) return failed_image();
        loaded_components = components ? components : channels;
        return image{pixels, width, height};
    }
    if (!decoded.samples) return failed_image();
    int64_t count = int64_t{decoded.width} * decoded.height;
    uint8_t* pixels = requested_pixels(decoded.samples, decoded.bits, decoded.components, count, components);
    if (!pixels) return failed_image();
    loaded_components = components ? components : decoded.components;
    if (flip_on_load) flip_rows(pixels, int64_t{decoded.width} * loaded_components, decoded.height);
    return image{pixels, decoded.width, decoded.height};
}

// A failed load gives back what its decoder took from the arena, and says why it failed.
static image decode_or_give_back(const uint8_t* data, size_t size, int components) {
    int64_t start = image_memory.pos;
    image_memory.exhausted = false;
    image result = decode(data, size, components);
    if (result.pixels) return result;
    image_memory.pos = start;
    if (!image_memory.exhausted) set_error(SYSTEM_ERROR_UNSUPPORTED, "the image data cannot be decoded");
    return result;
}

int32_t image_get_components() { return loaded_components; }

// The decoder asserts on other counts; 0 keeps the file's own count.
static bool is_load_components(int8_t components) { return components >= 0 && components <= 4; }

static image refuse_components(int8_t components) {
    set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "image components must be 0 to 4, not %d", components);
    return failed_image();
}

image image_load(string path, int8_t components) {
    if (!is_load_components(components)) return refuse_components(components);
    FILE* file = fopen(append_character(path).data, "rb");
    if (!file) {
        set_error_from_errno("cannot open the image");
        return failed_image();
    }
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    fclose(file);
    if (bytes.empty()) {
        set_error(SYSTEM_ERROR_UNSUPPORTED, "the image file is empty or unreadable");
        return failed_image();
    }
    return decode_or_give_back(bytes.data(), bytes.size(), components);
}

image image_load_from_memory(int32_t length, const void* data, int8_t components) {
    if (!is_load_components(components)) return refuse_components(components);
    if (!data || length <= 0) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "image data is null or empty");
        return failed_image();
    }
    return decode_or_give_back(static_cast<const uint8_t*>(data), static_cast<size_t>(length), components);
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

static bool write_image(const image* picture, string path, int8_t components) {
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
    return stbi_write_jpg(append_character(path).data, width, height, components, pixels, 100) != 0;
}

bool image_save(const image* picture, string path, int8_t components) {
    if (!picture || !picture->pixels || picture->width <= 0 || picture->height <= 0) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "the image to save is null or empty");
        return false;
    }
    if (components < 1 || components > 4) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "image components must be 1 to 4, not %d", components);
        return false;
    }
    string extension = extension_of(path);
    if (!is_extension(extension, "bmp") && !is_extension(extension, "png") && !is_extension(extension, "tga") &&
        !is_extension(extension, "jpg")) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "images are saved as .bmp, .png, .tga or .jpg only");
        return false;
    }
    if (write_image(picture, path, components)) return true;
    set_error_from_errno("cannot write the image");
    return false;
}
