// Damaged, unusual and legal-but-odd image files: refused without a crash, or decoded to the values they hold.
#include "image_files_helpers.h"
#include "kestrune_system.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct PngPicture {
    int width, height, colour_type, depth;
    bool interlaced;
    Bytes rows;                      // packed rows as PNG stores them, 16-bit samples big-endian
    std::vector<png_color> palette;  // for palette pictures
    Bytes alpha;                     // tRNS entries for palette pictures
    bool empty_first_image_chunk;
};

void append_to(png_structp png, png_bytep data, size_t length) {
    Bytes* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

// Written with libpng, so the files cover what the library's own writer never makes.
Bytes png_file(const PngPicture& picture) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, append_to, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height),
                 picture.depth, picture.colour_type, picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!picture.palette.empty())
        png_set_PLTE(png, info, picture.palette.data(), static_cast<int>(picture.palette.size()));
    if (!picture.alpha.empty())
        png_set_tRNS(png, info, picture.alpha.data(), static_cast<int>(picture.alpha.size()), nullptr);
    png_write_info(png, info);
    // PNG allows empty chunks, an image data chunk included.
    if (picture.empty_first_image_chunk) png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), nullptr, 0);
    size_t row_bytes = picture.rows.size() / static_cast<size_t>(picture.height);
    std::vector<png_bytep> rows;
    for (int y = 0; y < picture.height; ++y)
        rows.push_back(const_cast<png_bytep>(picture.rows.data()) + static_cast<size_t>(y) * row_bytes);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes text_bytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

void put_big_endian(Bytes* out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

class ImageDecoders : public ImageFiles {
protected:
    image from_memory(const Bytes& bytes, int components) {
        return image_load_from_memory(static_cast<int32_t>(bytes.size()), bytes.data(),
                                      static_cast<int8_t>(components));
    }
    image from_file(const Bytes& bytes, int components) {
        std::string file = path("picture");
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        return image_load(string{file.data(), static_cast<int64_t>(file.size())}, static_cast<int8_t>(components));
    }
    // Refused both ways, for every component count, without a word on standard output.
    void expect_refused(const Bytes& bytes, const char* what) {
        for (int components = 0; components <= 4; ++components) {
            ::testing::internal::CaptureStdout();
            image loaded = from_file(bytes, components);
            image in_memory = from_memory(bytes, components);
            fflush(stdout);
            EXPECT_EQ(::testing::internal::GetCapturedStdout(), "") << what;
            EXPECT_EQ(loaded.pixels, nullptr) << what << " with " << components << " components";
            EXPECT_EQ(in_memory.pixels, nullptr) << what << " with " << components << " components";
            EXPECT_EQ(loaded.width, 0) << what;
            EXPECT_EQ(loaded.height, 0) << what;
        }
    }
    Bytes pixels_of(const image& picture, int components) const {
        if (!picture.pixels) return {};
        return Bytes(picture.pixels, picture.pixels + picture.width * picture.height * components);
    }
};

TEST_F(ImageDecoders, DamagedAndEmptyPicturesAreRefused) {
    // Softimage PIC cut short right after its header.
    Bytes pic = {0x53, 0x80, 0xF6, 0x34};
    pic.resize(88, ' ');
    for (char c : std::string("PICT")) pic.push_back(static_cast<uint8_t>(c));
    put_big_endian(&pic, 4, 2);
    put_big_endian(&pic, 4, 2);
    pic.resize(104, 0);
    pic.push_back(0);
    expect_refused(pic, "truncated PIC");

    // A JPEG Huffman table whose code counts add up past 256 symbols.
    Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xC4};
    put_big_endian(&jpeg, 2 + 1 + 16 + 16 * 17, 2);
    jpeg.push_back(0x00);
    for (int i = 0; i < 16; ++i) jpeg.push_back(17);
    for (int i = 0; i < 16 * 17; ++i) jpeg.push_back(static_cast<uint8_t>(i));
    jpeg.insert(jpeg.end(), {0xFF, 0xD9});
    expect_refused(jpeg, "JPEG with an oversized Huffman table");

    // Files that describe a picture with no rows, or with fewer bytes than the picture needs.
    expect_refused(text_bytes("P5\n9"), "PNM without a height");
    expect_refused(text_bytes("P6\n4 4\n255\n\x01\x02\x03"), "PNM cut short");
    expect_refused(text_bytes("P5 2 2 0\n\x01\x02\x03\x04"), "PNM with a zero maximum");
    Bytes bmp = {'B', 'M'};
    for (uint32_t field : {70u, 0u, 54u, 40u})
        for (int i = 0; i < 4; ++i) bmp.push_back(static_cast<uint8_t>(field >> (8 * i)));
    Bytes rest = {2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 24, 0};  // width 2, height 0, one plane, 24 bits
    bmp.insert(bmp.end(), rest.begin(), rest.end());
    bmp.resize(70, 0x7F);
    expect_refused(bmp, "BMP of height 0");
}

TEST_F(ImageDecoders, PhotoshopDocumentsAreRefused) {
    // A 2 x 2 RGB 16-bit document whose rows are run-length coded.
    Bytes psd = text_bytes("8BPS");
    put_big_endian(&psd, 1, 2);
    psd.resize(psd.size() + 6, 0);
    put_big_endian(&psd, 3, 2);
    put_big_endian(&psd, 2, 4);
    put_big_endian(&psd, 2, 4);
    put_big_endian(&psd, 16, 2);
    put_big_endian(&psd, 3, 2);
    for (int section = 0; section < 3; ++section) put_big_endian(&psd, 0, 4);
    put_big_endian(&psd, 1, 2);
    for (int row = 0; row < 2 * 3; ++row) put_big_endian(&psd, 5, 2);
    for (int row = 0; row < 2 * 3; ++row) psd.insert(psd.end(), {3, 0x12, 0x34, 0x56, 0x78});
    expect_refused(psd, "16-bit run-length PSD");
}

TEST_F(ImageDecoders, SixteenBitPnmKeepsTheHighByteOfEverySampleWhateverTheBlockHeld) {
    // Every high byte differs from its low byte, so reading either the wrong byte or stale memory shows.
    const int width = 5, height = 3;
    for (int components : {1, 3}) {
        Bytes file = text_bytes(std::string(components == 1 ? "P5" : "P6") + "\n# made by the test\n5 3\n65535\n");
        Bytes high;
        for (int i = 0; i < width * height * components; ++i) {
            uint16_t value = static_cast<uint16_t>(i * 4099 + 300);
            put_big_endian(&file, value, 2);
            high.push_back(static_cast<uint8_t>(value >> 8));
        }
        std::fill(arena.begin(), arena.end(), 0xAA);
        image first = from_memory(file, components);
        EXPECT_EQ(first.width, width);
        EXPECT_EQ(first.height, height);
        EXPECT_EQ(pixels_of(first, components), high) << components;
        std::fill(arena.begin() + (first.pixels - arena.data()) + 64, arena.end(), 0x55);
        EXPECT_EQ(pixels_of(from_file(file, components), components), high) << components;
    }
}

TEST_F(ImageDecoders, EightBitPnmGivesItsBytesAsStoredAndFlipsLikeEveryOtherFormat) {
    Bytes file = text_bytes("P5 3\n#\n2 15\n");
    Bytes samples = {1, 2, 3, 4, 5, 6};
    file.insert(file.end(), samples.begin(), samples.end());
    EXPECT_EQ(pixels_of(from_memory(file, IMAGE_GREY), 1), samples);
    EXPECT_EQ(pixels_of(from_memory(file, IMAGE_GREY_ALPHA), 2),
              (Bytes{1, 255, 2, 255, 3, 255, 4, 255, 5, 255, 6, 255}));
    image_set_flip(true);
    EXPECT_EQ(pixels_of(from_memory(file, IMAGE_GREY), 1), (Bytes{4, 5, 6, 1, 2, 3}));
}

TEST_F(ImageDecoders, APngWhoseFirstImageChunkIsEmptyDecodes) {
    Bytes rgba(3 * 2 * 4);
    for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<uint8_t>(10 * i + 1);
    PngPicture picture{3, 2, PNG_COLOR_TYPE_RGBA, 8, false, rgba, {}, {}, true};
    Bytes file = png_file(picture);
    EXPECT_EQ(pixels_of(from_memory(file, IMAGE_RGBA), 4), rgba);
    EXPECT_EQ(pixels_of(from_file(file, IMAGE_RGBA), 4), rgba);
}

TEST_F(ImageDecoders, PngVariantsDecodeToTheValuesTheyHold) {
    // Two-bit grey: four pixels a byte, each level scaled to the full byte.
    PngPicture grey{4, 2, PNG_COLOR_TYPE_GRAY, 2, false, {0x1B, 0xE4}, {}, {}, false};
    EXPECT_EQ(pixels_of(from_memory(png_file(grey), IMAGE_GREY), 1), (Bytes{0, 85, 170, 255, 255, 170, 85, 0}));

    // A palette with transparency for its first two entries only.
    PngPicture palette{3, 1, PNG_COLOR_TYPE_PALETTE, 8, false, {2, 0, 1}, {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}},
                       {0, 128}, false};
    EXPECT_EQ(pixels_of(from_memory(png_file(palette), IMAGE_RGBA), 4),
              (Bytes{70, 80, 90, 255, 10, 20, 30, 0, 40, 50, 60, 128}));
    EXPECT_EQ(pixels_of(from_memory(png_file(palette), IMAGE_RGB), 3), (Bytes{70, 80, 90, 10, 20, 30, 40, 50, 60}));

    // Sixteen bits a sample give their high byte; interlacing changes nothing.
    Bytes wide, high;
    for (int i = 0; i < 7 * 5 * 4; ++i) {
        put_big_endian(&wide, static_cast<uint32_t>(i * 467 + 9), 2);
        high.push_back(static_cast<uint8_t>((i * 467 + 9) >> 8));
    }
    for (bool interlaced : {false, true}) {
        PngPicture deep{7, 5, PNG_COLOR_TYPE_RGBA, 16, interlaced, wide, {}, {}, false};
        EXPECT_EQ(pixels_of(from_memory(png_file(deep), IMAGE_RGBA), 4), high) << interlaced;
    }
}

TEST_F(ImageDecoders, JpegDecodesCloseToThePixelsThatWereSaved) {
    // A smooth picture saved by the library's own writer at full quality comes back within a few levels.
    const int width = 24, height = 16;
    Bytes rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rgb.insert(rgb.end(), {static_cast<uint8_t>(40 + 8 * x), static_cast<uint8_t>(30 + 10 * y),
                                   static_cast<uint8_t>(200 - 4 * x - 3 * y)});
    image picture{rgb.data(), width, height};
    std::string jpeg_path = path("smooth.jpg");
    string name{jpeg_path.data(), static_cast<int64_t>(jpeg_path.size())};
    ASSERT_TRUE(image_save(&picture, name, IMAGE_RGB));
    image loaded = image_load(name, IMAGE_RGB);
    ASSERT_EQ(loaded.width, width);
    ASSERT_EQ(loaded.height, height);
    Bytes decoded = pixels_of(loaded, 3);
    for (size_t i = 0; i < rgb.size(); ++i) ASSERT_NEAR(decoded[i], rgb[i], 6) << i;

    // Grey comes from the same weights as for any other format.
    std::string png_path = path("smooth.png");
    string png_name{png_path.data(), static_cast<int64_t>(png_path.size())};
    ASSERT_TRUE(image_save(&picture, png_name, IMAGE_RGB));
    Bytes grey_from_png = pixels_of(image_load(png_name, IMAGE_GREY), 1);
    Bytes grey_from_jpeg = pixels_of(image_load(name, IMAGE_GREY), 1);
    ASSERT_EQ(grey_from_jpeg.size(), grey_from_png.size());
    for (size_t i = 0; i < grey_from_png.size(); ++i) ASSERT_NEAR(grey_from_jpeg[i], grey_from_png[i], 6) << i;
}

}  // namespace
