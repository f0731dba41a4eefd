// Start-up to the first presented frame: library, window, every picture and the font with mipmaps,
// shaders, the scene, then one frame through the gamma pass.
#include "shell/application.h"

#include <kestrune_system.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <unistd.h>

namespace {

void BM_StartUpToFirstFrame(benchmark::State& state) {
    if (chdir(VARNHOLT_SOURCE_DIR) != 0) {
        state.SkipWithError("no source directory");
        return;
    }
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        application_start();
        application_frame();
        pipeline_finish();
        auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

// The library starts once per process, so this is one measured start.
BENCHMARK(BM_StartUpToFirstFrame)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
