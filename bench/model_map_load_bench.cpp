// load_map of a map file of about 1 MiB.
#include "base/arena.h"
#include "base/strings.h"
#include "model/game_data.h"
#include "model/map_file.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

static std::string write_big_map() {
    std::string text = "map 0 0 128\nwin 1\ndeck 1 4 4 4\nhand 8\nstone 0\nstone 3\n";
    for (int s = 0; s < 256; s++) text += ". " + std::to_string(s % 16) + ".25 -" + std::to_string(s / 16) + ".5\n";
    int t = 0;
    while (text.size() < 1024 * 1024) {
        text += "=> " + std::to_string(t % 256) + " " + std::to_string((t * 31 + 7) % 256) + " 1 -16.5 24 \"~(1,2,3,4) & ~(a,b,c,d)\"\n";
        t++;
    }
    std::string path = "/tmp/varnholt_big_map_bench.txt";
    FILE* file = fopen(path.c_str(), "wb");
    fwrite(text.data(), 1, text.size(), file);
    fclose(file);
    return path;
}

static void BM_LoadMap1MiB(benchmark::State& state) {
    if (!persistent_arena.base) create_arenas(persistent_arena_capacity, frame_arena_capacity);
    static std::string path = write_big_map();
    for (auto _ : state) {
        // Each load keeps its file in the arena; start over so the benchmark can run long.
        arena_empty(PERSISTENT_ARENA);
        reset_map();
        benchmark::DoNotOptimize(load_map(string{path.data(), static_cast<int64_t>(path.size())}));
    }
    state.counters["transitions"] = static_cast<double>(transitions.count);
}
BENCHMARK(BM_LoadMap1MiB)->Unit(benchmark::kMillisecond);
