// One frame of 2000 tinted quads and 2000 glyphs drawn through the primitives, gamma pass included.
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "shell/application.h"

#include <kestrune_system.h>

#include <benchmark/benchmark.h>

#include <string>
#include <unistd.h>

namespace {

void start_once() {
    static bool started = false;
    if (started) return;
    started = true;
    if (chdir(VARNHOLT_SOURCE_DIR) != 0) return;
    application_start();
}

// 40 lines of 50 glyphs, no blanks, so every byte is one draw.
std::string glyph_block() {
    std::string text;
    for (int line = 0; line < 40; line++) {
        for (int i = 0; i < 50; i++) text += static_cast<char>('!' + (line * 50 + i) % 94);
        text += '\n';
    }
    return text;
}

void BM_RenderFrame(benchmark::State& state) {
    start_once();
    std::string text = glyph_block();
    string glyphs{text.data(), static_cast<int64_t>(text.size())};
    for (auto _ : state) {
        begin_scene();
        for (int i = 0; i < 2000; i++) {
            const Texture& texture = i % 2 ? white_texture : shape_textures[i % 6];
            draw_quad(texture, (i * 37) % 1000, (i * 53) % 800, 24, 24, player_color(static_cast<uint8_t>(i % 6)), screen_projection);
        }
        draw_text(glyphs, 8, 800, 128, Color{1, 1, 1, 1}, screen_projection, text_plain);
        present_scene();
        pipeline_finish();
    }
    state.counters["draws"] = 4000;
}

// With the driver's rendering threads counted, over wall-clock time.
BENCHMARK(BM_RenderFrame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
// CPU time of the game's own thread only.
BENCHMARK(BM_RenderFrame)->Unit(benchmark::kMillisecond);

}  // namespace
