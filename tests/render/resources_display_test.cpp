#include "render_helpers.h"

#include "base/arena.h"
#include "model/game_data.h"
#include "render/font.h"
#include "render/picture_levels.h"
#include "render/resources.h"
#include "render/texture_loading.h"
#include "render/scene.h"

#include <kestrune_system.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

namespace {

class RenderResources : public ::testing::Test {
protected:
    void SetUp() override {
        start_renderer();
        shipped_font = font;
    }
    // Fonts read here replace the shipped one, which later suites of this program draw with.
    void TearDown() override {
        if (font.texture.name && font.texture.name != shipped_font.texture.name) texture_destroy(font.texture.name);
        font = shipped_font;
    }
    Font shipped_font;

    static bool font_is_empty() {
        static const Font empty{};
        return std::memcmp(&font, &empty, sizeof(Font)) == 0;
    }

    // Reads a font file from scratch and returns what it printed.
    static std::string read_font(const std::string& path) {
        font = Font{};
        return captured_output([&] { load_font(view_of(path)); });
    }
};

TEST_F(RenderResources, EachPictureIsShadedByWhatItHolds) {
    EXPECT_EQ(white_texture.shading, shading_flat);
    EXPECT_EQ(shape_textures[0].shading, shading_tint);
    EXPECT_EQ(font.texture.shading, shading_tint);
    EXPECT_EQ(machine_textures[1].shading, shading_picture);
    EXPECT_EQ(gradient3_texture.shading, shading_picture);
    EXPECT_EQ(no_texture.shading, shading_picture);
}

// The driver's own levels are the known answer, to within a step per channel as conformance suites
// allow filtering: random pictures of even, odd and one-texel sides.
TEST_F(RenderResources, SmallerLevelsAreWithinAStepOfTheDriversOwn) {
    std::mt19937 random(7);
    const int32_t sizes[][2] = {{64, 64}, {256, 230}, {37, 5}, {1, 9}};
    for (const auto& size : sizes) {
        int32_t width = size[0], height = size[1];
        std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
        for (uint8_t& byte : pixels) byte = static_cast<uint8_t>(random());
        uint32_t texture = texture_create();
        texture_bind(TEXTURE_2D, texture);
        texture_image_2d(TEXTURE_2D, 0, INTERNAL_RGBA8, width, height, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, pixels.data());
        texture_generate_mipmap(TEXTURE_2D);
        for (int32_t level = 1; width > 1 || height > 1; level++) {
            int32_t smaller_width = next_level_size(width), smaller_height = next_level_size(height);
            std::vector<uint8_t> ours(static_cast<size_t>(smaller_width) * smaller_height * 4);
            std::vector<uint8_t> drivers(ours.size());
            make_next_level(pixels.data(), width, height, ours.data());
            texture_get_image(TEXTURE_2D, level, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, drivers.data());
            for (size_t i = 0; i < ours.size(); i++) {
                ASSERT_LE(std::abs(ours[i] - drivers[i]), 1) << size[0] << " x " << size[1] << ", level " << level;
            }
            pixels = ours;
            width = smaller_width;
            height = smaller_height;
        }
        texture_unbind(TEXTURE_2D);
        texture_destroy(texture);
    }
}

TEST_F(RenderResources, EveryPictureShaderAndTheSceneExist) {
    for (const Texture& texture : shape_textures) EXPECT_NE(texture.name, 0u);
    for (const Texture& texture : machine_textures) EXPECT_NE(texture.name, 0u);
    const Texture* others[] = {&white_texture,     &eye_texture,       &stack_texture,     &player_texture,
                               &similarity_texture, &gradient1_texture, &gradient2_texture, &gradient3_texture,
                               &next_turn_texture, &self_arrow_texture, &font.texture};
    for (const Texture* texture : others) EXPECT_NE(texture->name, 0u);
    EXPECT_NE(quad_vertex_array, 0u);
    EXPECT_NE(simple_shader, 0u);
    EXPECT_NE(gamma_shader, 0u);
    EXPECT_NE(tint_shader, 0u);
    EXPECT_NE(flat_shader, 0u);
    EXPECT_GE(simple_gamma, 0);
    EXPECT_NE(quad_batch_vertex_array, 0u);
    EXPECT_NE(scene_frame_buffer, 0u);
    EXPECT_NE(scene_texture, 0u);
    EXPECT_EQ(pipeline_get_error(), 0);
}

TEST_F(RenderResources, TheShippedFontLoadsWithoutAnyMessage) {
    EXPECT_EQ(read_font("resources/font_info.txt"), "");
    EXPECT_NE(font.texture.name, 0u);
    EXPECT_DOUBLE_EQ(font.size, 256);
    EXPECT_DOUBLE_EQ(font.line_height, 0.125);
    EXPECT_GT(font.space_advance, 0);
    EXPECT_DOUBLE_EQ(font.space_advance, font.glyphs[' '].advance);
    EXPECT_DOUBLE_EQ(font.tab_advance, 4 * font.space_advance);
    // Every printable glyph has a rectangle inside the image, one line high, on a whole texel.
    for (int c = 33; c <= 126; c++) {
        const Glyph& glyph = font.glyphs[c];
        EXPECT_GT(glyph.width, 0) << c;
        EXPECT_GT(glyph.advance, 0) << c;
        EXPECT_DOUBLE_EQ(glyph.height, 0.125) << c;
        EXPECT_LE(glyph.u + glyph.width, 1.0) << c;
        EXPECT_LE(glyph.v + glyph.height, 1.0) << c;
        EXPECT_DOUBLE_EQ(glyph.advance * 256, static_cast<int>(glyph.advance * 256)) << c;
    }
}

TEST_F(RenderResources, GlyphLinesOverrideInOrderAndRaiseTheLineHeight) {
    std::string path = write_temporary_file("override_font.txt",
                                            "g -1 1 2 0.5 0.25 0.125 0.0625 0.25\n"
                                            "g 65 0 0 0.75 0.5 0.5 0.5 0.125\n"
                                            "g 300 0 0 9 9 9 9 0.5");
    EXPECT_EQ(read_font(path), "");
    EXPECT_DOUBLE_EQ(font.glyphs['B'].x_offset, 1);
    EXPECT_DOUBLE_EQ(font.glyphs['B'].y_offset, 2);
    EXPECT_DOUBLE_EQ(font.glyphs['B'].advance, 0.5);
    EXPECT_DOUBLE_EQ(font.glyphs['B'].height, 0.25);
    EXPECT_DOUBLE_EQ(font.glyphs['A'].advance, 0.75);
    EXPECT_DOUBLE_EQ(font.glyphs['A'].u, 0.5);
    EXPECT_DOUBLE_EQ(font.glyphs[255].advance, 0.5);
    // The code 300 line touches no glyph but still counts for the line height, even without a newline.
    EXPECT_DOUBLE_EQ(font.line_height, 0.5);
    EXPECT_DOUBLE_EQ(font.space_advance, 0.5);
    EXPECT_DOUBLE_EQ(font.tab_advance, 0.5);
    EXPECT_DOUBLE_EQ(font.size, 256);
}

TEST_F(RenderResources, EarlyEndingsLeaveTheFontEmpty) {
    EXPECT_EQ(read_font(write_temporary_file("unknown_font.txt", "g -1 0 0 1 0 0 1 1\nx 12\n")), "unknown x\n");
    EXPECT_TRUE(font_is_empty());

    std::string directory = temporary_directory() + "/";
    EXPECT_EQ(read_font(write_temporary_file("missing_image_font.txt", "i nothere.png\ng 65 0 0 1 0 0 1 1\n")),
              "failed to load font image: " + directory + "nothere.png\n");
    EXPECT_TRUE(font_is_empty());

    EXPECT_EQ(read_font(write_temporary_file("empty_line_font.txt", "g -1 0 0 1 0 0 1 1\n\ng 65 0 0 1 0 0 1 1\n")), "");
    EXPECT_TRUE(font_is_empty());

    EXPECT_EQ(read_font(write_temporary_file("no_space_font.txt", "g-1 0 0 1 0 0 1 1\n")), "");
    EXPECT_TRUE(font_is_empty());

    EXPECT_EQ(read_font(write_temporary_file("last_byte_font.txt", "g -1 0 0 1 0 0 1 1\ng")), "");
    EXPECT_TRUE(font_is_empty());

    EXPECT_EQ(read_font("resources/no_such_font.txt"), "failed to open resources/no_such_font.txt\n");
    EXPECT_TRUE(font_is_empty());
    EXPECT_EQ(pipeline_get_error(), 0);
}

TEST_F(RenderResources, TheImageNameIsTakenAsItStandsOrBesideTheFontFile) {
    // "white.png" does not exist under the working directory, so it is looked up beside the font file.
    std::string picture = temporary_directory() + "/white.png";
    std::filesystem::copy_file("resources/white.png", picture, std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(read_font(write_temporary_file("beside_font.txt", "i white.png\ng 65 0 0 1 0 0 1 1\n")), "");
    EXPECT_NE(font.texture.name, 0u);
    EXPECT_EQ(read_font(write_temporary_file("as_it_stands_font.txt", "i resources/white.png\n")), "");
    EXPECT_NE(font.texture.name, 0u);
}

TEST_F(RenderResources, FontFilesOfAnyBytesNeverCrash) {
    std::mt19937 random(4);
    const std::string alphabet = "ig -0123456789.\n x%\t\r";
    for (int round = 0; round < 300; round++) {
        std::string contents;
        int length = static_cast<int>(random() % 64);
        for (int i = 0; i < length; i++) {
            contents += round % 2 ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
        }
        read_font(write_temporary_file("random_font.txt", contents));
        EXPECT_GE(font.line_height, 0) << contents;
    }
    EXPECT_EQ(pipeline_get_error(), 0);
}

// Once in its texture a picture's decoded pixels are done with: the next picture decodes into the
// same memory instead of new pages.
TEST_F(RenderResources, ALoadedPictureGivesItsDecodingMemoryBack) {
    int64_t position = image_get_buffer_position();
    Texture large = load_texture(str("resources/state_machine.png"));
    EXPECT_EQ(image_get_buffer_position(), position);
    Texture small = load_texture(str("resources/circle.png"));
    EXPECT_EQ(image_get_buffer_position(), position);
    EXPECT_EQ(large.width, 512);
    EXPECT_EQ(small.width, 256);
    texture_destroy(large.name);
    texture_destroy(small.name);
}

TEST_F(RenderResources, MissingOrCorruptPicturesBecomeAQuietPlaceholder) {
    int64_t position = image_get_buffer_position();
    std::string corrupt = write_temporary_file("corrupt.png", std::string("\x89PNG\r\n\x1a\nnot really a picture", 28));
    std::string output = captured_output([&] {
        EXPECT_NE(load_texture(str("resources/no_such_picture.png")).name, 0u);
        EXPECT_NE(load_texture(view_of(corrupt)).name, 0u);
    });
    image_set_buffer_position(position);
    EXPECT_EQ(output, "");
    EXPECT_EQ(pipeline_get_error(), 0);
}

// Start-up loads what the title screen shows; the other pictures come after, in frame memory that
// is left as it was. Everything is loaded again whole for the suites after this one.
TEST(TitleResources, LeaveThePicturesOfPlayForLater) {
    start_renderer();
    destroy_render_resources();
    uint8_t kind_before = machine_kind;
    machine_kind = turing_machine;
    load_title_resources();
    EXPECT_TRUE(later_pictures_pending);
    EXPECT_TRUE(machine_picture_loaded(turing_machine));
    EXPECT_FALSE(machine_picture_loaded(state_machine));
    EXPECT_NE(gradient3_texture.name, 0u);
    EXPECT_NE(font.texture.name, 0u);
    EXPECT_EQ(shape_textures[0].name, 0u);
    EXPECT_EQ(player_texture.name, 0u);
    ArenaMark frame_memory = arena_mark(FRAME_ARENA);
    load_later_pictures();
    EXPECT_FALSE(later_pictures_pending);
    EXPECT_TRUE(machine_picture_loaded(state_machine));
    EXPECT_EQ(shape_textures[0].shading, shading_tint);
    EXPECT_EQ(player_texture.width, 256);
    EXPECT_EQ(arena_mark(FRAME_ARENA).used, frame_memory.used);
    destroy_render_resources();
    load_render_resources();
    machine_kind = kind_before;
    EXPECT_EQ(pipeline_get_error(), 0);
}

}  // namespace
