// What a frame costs before the game draws anything, in the game's own window and context: a bare
// clear and swap of the window, an empty scene drawn whole (the scene cleared, the gamma pass over
// the whole window, the swap), and one layer drawn whole: flat, a shape (white with alpha) or a
// picture, each stretched over the window, so only its base level is sampled. No frame of the game
// can cost less than these. cpu_ms is the CPU time of the whole process per frame, every thread
// counted, as in the screen benchmarks; per_pixel_ns is that time over the window's pixels.
#include "layer_costs.h"

#include "render/resources.h"
#include "render/scene_target.h"
#include "shell/application.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

namespace {

bool start_once() {
    static bool started = false;
    static bool ready = false;
    if (started) return ready;
    started = true;
    if (chdir(VARNHOLT_SOURCE_DIR) != 0) return false;
    application_start();
    // The frames measured are the steady ones, with the title's later pictures all loaded.
    load_later_pictures();
    ready = true;
    return ready;
}

void measure(benchmark::State& state, void (*frame)()) {
    if (!start_once()) {
        state.SkipWithError("cannot start the game in the source directory");
        return;
    }
    for (int i = 0; i < 10; i++) frame();
    double start = process_seconds();
    for (auto _ : state) frame();
    double cpu_ms = (process_seconds() - start) * 1000 / static_cast<double>(state.iterations());
    state.counters["cpu_ms"] = cpu_ms;
    state.counters["per_pixel_ns"] = cpu_ms * 1e6 / (double(window_width) * window_height);
}

void whole_process(benchmark::internal::Benchmark* benchmark) {
    benchmark->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
}

BENCHMARK_CAPTURE(measure, bare_clear_and_swap, bare_clear_and_swap)->Apply(whole_process);
BENCHMARK_CAPTURE(measure, empty_scene_drawn_whole, empty_scene_drawn_whole)->Apply(whole_process);
BENCHMARK_CAPTURE(measure, one_flat_layer_drawn_whole, one_flat_layer_drawn_whole)->Apply(whole_process);
BENCHMARK_CAPTURE(measure, one_shape_layer_drawn_whole, one_shape_layer_drawn_whole)->Apply(whole_process);
BENCHMARK_CAPTURE(measure, one_picture_layer_drawn_whole, one_picture_layer_drawn_whole)->Apply(whole_process);

}  // namespace
