// The font description reader on any bytes, with the font image's texture calls answered here
// so no graphics context is needed. Whatever the text, every texture the reader made must be
// either the font's own (after a successful read) or destroyed again, and a failed read must
// leave the font as it was.
#include "fuzz_support.h"

#include "base/arena.h"
#include "render/font.h"
#include "render/texture_loading.h"

#include <set>

namespace {

std::set<uint32_t> live_textures;
uint32_t last_texture;
std::string font_path;

}  // namespace

Texture load_font_texture(string) {
    live_textures.insert(++last_texture);
    Texture texture{};
    texture.name = last_texture;
    return texture;
}

void texture_destroy(uint32_t texture) {
    FUZZ_CHECK(live_textures.erase(texture) == 1);
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    create_arenas(int64_t{64} << 20, int64_t{1} << 20);
    std::string folder = fuzz_scratch_folder();
    font_path = folder + "/font_info.txt";
    // The image the shipped description names; its bytes do not matter here.
    fuzz_write_file(folder + "/font.png", "", 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    arena_empty(PERSISTENT_ARENA);
    live_textures.clear();
    Font before{};
    before.size = -1;
    before.line_height = 12345;
    font = before;
    fuzz_write_file(font_path, data, size);
    bool loaded = load_font(fuzz_view(font_path));
    if (loaded) {
        FUZZ_CHECK(live_textures.size() <= 1);
        if (!live_textures.empty()) FUZZ_CHECK(*live_textures.begin() == font.texture.name);
        for (const Glyph& glyph : font.glyphs) FUZZ_CHECK(!(glyph.height > font.line_height));
    } else {
        FUZZ_CHECK(live_textures.empty());
        FUZZ_CHECK(font.size == before.size && font.line_height == before.line_height && font.texture.name == before.texture.name);
    }
    return 0;
}
