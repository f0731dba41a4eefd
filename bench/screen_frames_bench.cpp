// Whole frames of the game on each screen through the frame loop's own step: input, update,
// drawing, the gamma pass, the loop's pause and the present, then a finish that waits for the
// driver's rendering threads. The panning and zooming cases move the camera every frame, on every
// shipped map, so nothing can be kept from the frame before. cpu_ms is the CPU time of the whole
// process per frame, every thread counted; wall_ms is the elapsed time per frame, pause included.
// floor_ms is the least the same frames could cost the driver (see count_floor).
#include "layer_costs.h"

#include "model/game_data.h"
#include "model/map_file.h"
#include "model/map_list.h"
#include "model/referee.h"
#include "model/turn_state.h"
#include "render/changed_cells.h"
#include "render/picture_cover.h"
#include "render/quad_batch.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/scene_target.h"
#include "screen/camera.h"
#include "screen/screen_state.h"
#include "shell/application.h"

#include <kestrune_system.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

LayerCosts layer_costs;

bool start_once() {
    static bool started = false;
    static bool ready = false;
    if (started) return ready;
    started = true;
    if (chdir(VARNHOLT_SOURCE_DIR) != 0) return false;
    application_start();
    // The frames measured are the steady ones, with the title's later pictures all loaded.
    load_later_pictures();
    layer_costs = measure_layer_costs(60);
    ready = true;
    return ready;
}

double seconds_of(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void run_whole_frame() {
    application_frame();
    pipeline_finish();
}

// The screen flags and every variable below the shell as at start-up, no screen open yet.
void leave_every_screen() {
    reset_screens();
    reset_shell_state();
    running = true;
    main_menu_open = false;
}

void seat_one_human() {
    player_count = 1;
    array_clear(&players);
    array_push(&players, new_player(0));
}

// The map of the list with the most states and transitions.
int64_t largest_map_index() {
    int64_t best = 0, best_size = -1;
    for (int64_t i = 0; i < current_map_list->count; i++) {
        load_map(current_map_list->data[i].path);
        int64_t size = states.count + transitions.count;
        if (size > best_size) {
            best = i;
            best_size = size;
        }
    }
    return best;
}

void start_largest_game(uint8_t kind) {
    leave_every_screen();
    machine_kind = kind;
    select_kind_maps();
    current_map_index = largest_map_index();
    seat_one_human();
    start_game();
}

// 256 states on a 16 x 16 grid, 1,000 transitions with rule texts, 12 stones and a hand of 40.
std::string synthetic_map_text() {
    const char* rules[] = {"~(A,B) | c", "T(C,D) & 2", "!(a | b) & 3", "A ^ a", "~(1,2,3,4)", "D | d & !4"};
    std::string text = "map 0 0 52\nwin 0\ndeck 2 6 6 6\nhand 40\n";
    for (int stone = 0; stone < 12; stone++) text += "stone " + std::to_string(stone * 21) + "\n";
    for (int row = 0; row < 16; row++) {
        for (int column = 0; column < 16; column++) {
            text += (row + column) % 5 == 0 ? "* " : ". ";
            text += std::to_string(column - 7.5) + " " + std::to_string(row - 7.5) + "\n";
        }
    }
    int count = 0;
    auto add = [&](int from, int to, int bend) {
        if (count == 1000) return;
        text += "=> " + std::to_string(from) + " " + std::to_string(to) + " " + std::to_string(bend) + " 0 12 \"" +
                rules[count % 6] + "\"\n";
        count++;
    };
    for (int row = 0; row < 16; row++) {
        for (int column = 0; column < 16; column++) {
            int state = row * 16 + column;
            if (column < 15) add(state, state + 1, 0);
            if (row < 15) add(state, state + 16, 1);
            if (column < 15 && row < 15) add(state, state + 17, 0);
            if (column > 0 && row < 15) add(state, state + 15, 0);
        }
    }
    for (int state = 0; count < 1000; state += 3) add(state % 256, state % 256, 45);
    return text;
}

void open_synthetic_map() {
    static std::string path;
    static GrowableArray<MapListEntry> synthetic_list;
    if (path.empty()) {
        path = (std::filesystem::temp_directory_path() / "varnholt_synthetic_map.txt").string();
        std::ofstream(path, std::ios::binary) << synthetic_map_text();
        array_push(&synthetic_list, MapListEntry{str("synthetic"), string{path.data(), static_cast<int64_t>(path.size())}});
    }
    leave_every_screen();
    machine_kind = pushdown_machine;
    current_map_list = &synthetic_list;
    current_map_index = 0;
    seat_one_human();
    start_game();
}

void open_main_menu() {
    leave_every_screen();
    main_menu_open = true;
}

void open_player_setup() {
    leave_every_screen();
    player_setup_open = true;
}

void open_map_list() {
    leave_every_screen();
    select_kind_maps();
    current_map_index = largest_map_index();
    load_map(current_map_list->data[current_map_index].path);
    seat_one_human();
    map_list_open = true;
}

void open_editor() {
    leave_every_screen();
    machine_kind = pushdown_machine;
    select_kind_maps();
    current_map_index = largest_map_index();
    load_map(current_map_list->data[current_map_index].path);
    editor_mode = true;
}

void open_state_game() { start_largest_game(state_machine); }
void open_pushdown_game() { start_largest_game(pushdown_machine); }
void open_turing_game() { start_largest_game(turing_machine); }

// The camera moves by a sixtieth of a second's step each frame, from the same place on every run,
// whatever the machine's speed: each run of a case draws the same frames, so runs compare.
constexpr double camera_step_seconds = 1.0 / 60;
int64_t camera_frames;

// One second each way, so the map stays in view.
double camera_direction() { return (camera_frames++ / 60) % 2 == 0 ? 1 : -1; }

// As a held key pans: the whole map moves a few pixels every frame, so no frame repeats the last.
void panning_frame() {
    camera_x += camera_direction() * camera_speed * camera_step_seconds;
    run_whole_frame();
}

// As held keys zoom, in for a second and out again.
void zooming_frame() {
    camera_zoom += camera_direction() * 0.5 * camera_step_seconds;
    run_whole_frame();
}

// What the last frame asked of the driver: its quads, the draw calls they took and the pixels the
// quads cover, overlaps counted.
void count_last_frame(benchmark::State& state, int64_t draws) {
    double pixels = 0;
    for (int64_t i = 0; i < shown_quads.count; i++) {
        PixelRect bounds = quad_bounds(shown_quads.data[i]);
        if (!rect_is_empty(bounds)) pixels += double(bounds.right - bounds.left) * (bounds.top - bounds.bottom);
    }
    state.counters["quads"] = static_cast<double>(shown_quads.count);
    state.counters["draws"] = static_cast<double>(draws);
    state.counters["quad_mpixels"] = pixels / 1e6;
}

// The window as the last frame left it: the back buffer, which holds the frame shown where the
// window system copies parts of it to the window, as under Xvfb.
std::vector<uint32_t> read_window() {
    std::vector<uint32_t> pixels(size_t(window_width) * window_height);
    frame_buffer_unbind(FRAME_BUFFER_BOTH);
    pipeline_read_pixels(0, 0, window_width, window_height, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// Counts of the marked pixels, summed over every rectangle from the origin, so that any
// rectangle's count takes four reads.
struct PixelCounts {
    int32_t width;
    std::vector<int64_t> sums;
    int64_t total;
};

PixelCounts count_marked(const std::vector<uint8_t>& marked) {
    PixelCounts counts{window_width + 1, std::vector<int64_t>(size_t(window_width + 1) * (window_height + 1)), 0};
    for (int32_t y = 0; y < window_height; y++) {
        int64_t row = 0;
        for (int32_t x = 0; x < window_width; x++) {
            row += marked[size_t(y) * window_width + x];
            counts.sums[size_t(y + 1) * counts.width + x + 1] = counts.sums[size_t(y) * counts.width + x + 1] + row;
        }
    }
    counts.total = counts.sums.back();
    return counts;
}

int64_t marked_in(const PixelCounts& counts, PixelRect rect) {
    rect = rect_intersection(rect, whole_window_rect());
    if (rect_is_empty(rect)) return 0;
    auto at = [&](int32_t x, int32_t y) { return counts.sums[size_t(y) * counts.width + x]; };
    return at(rect.right, rect.top) - at(rect.left, rect.top) - at(rect.right, rect.bottom) + at(rect.left, rect.bottom);
}

// The marked pixels a quad covers: for a picture whose transparent rest is known, only its parts.
int64_t marked_under(const PixelCounts& counts, const QuadRecord& quad) {
    PixelRect parts[picture_part_capacity];
    int32_t count = quad.texture->shading == shading_picture ? covered_parts(quad, parts) : -1;
    if (count < 0) return marked_in(counts, quad_drawn_pixels(quad));
    int64_t pixels = 0;
    for (int32_t i = 0; i < count; i++) pixels += marked_in(counts, parts[i]);
    return pixels;
}

// What drawing the marked pixels of the last frame costs at least: each pays what one pixel of an
// empty scene drawn whole costs (its clear, its gamma pass, its present), and each layer over it
// what one pixel of that layer drawn whole adds, for every quad whose box covers it.
double drawing_floor_ns(const PixelCounts& counts) {
    double floor_ns = double(counts.total) * layer_costs.empty_scene;
    for (int64_t q = 0; q < shown_quads.count; q++) {
        const QuadRecord& quad = shown_quads.data[q];
        double layer_ns = quad.texture->name == 0 || quad.texture->shading == shading_flat ? layer_costs.flat
                          : quad.texture->shading == shading_tint                         ? layer_costs.shape
                                                                                          : layer_costs.picture;
        floor_ns += double(marked_under(counts, quad)) * (layer_ns - layer_costs.empty_scene);
    }
    return floor_ns;
}

// The pixels of every cell that holds a changed pixel.
std::vector<uint8_t> changed_cells_of(const std::vector<uint8_t>& changed) {
    std::vector<uint8_t> cells(changed.size());
    for (int32_t y0 = 0; y0 < window_height; y0 += changed_cell_size) {
        for (int32_t x0 = 0; x0 < window_width; x0 += changed_cell_size) {
            int32_t y1 = std::min(y0 + changed_cell_size, window_height), x1 = std::min(x0 + changed_cell_size, window_width);
            bool any = false;
            for (int32_t y = y0; y < y1 && !any; y++) {
                for (int32_t x = x0; x < x1 && !any; x++) any = changed[size_t(y) * window_width + x];
            }
            if (!any) continue;
            for (int32_t y = y0; y < y1; y++) {
                for (int32_t x = x0; x < x1; x++) cells[size_t(y) * window_width + x] = 1;
            }
        }
    }
    return cells;
}

// The least the frames could cost the driver, drawn as they look: floor_ms draws only the pixels
// where the window differs from the frame before, cell_floor_ms every cell of the changed cells'
// size that holds one. Nothing is counted for the game's own work or for pixels outside those.
void count_floor(benchmark::State& state, void (*frame)()) {
    constexpr int frames = 12;
    std::vector<uint32_t> before = read_window();
    double changed_total = 0, floor_ns = 0, cell_floor_ns = 0;
    for (int i = 0; i < frames; i++) {
        frame();
        std::vector<uint32_t> now = read_window();
        std::vector<uint8_t> changed(now.size());
        for (size_t at = 0; at < now.size(); at++) changed[at] = now[at] != before[at];
        PixelCounts changed_counts = count_marked(changed);
        changed_total += double(changed_counts.total);
        floor_ns += drawing_floor_ns(changed_counts);
        cell_floor_ns += drawing_floor_ns(count_marked(changed_cells_of(changed)));
        before = std::move(now);
    }
    state.counters["changed_mpixels"] = changed_total / frames / 1e6;
    state.counters["floor_ms"] = floor_ns / frames / 1e6;
    state.counters["cell_floor_ms"] = cell_floor_ns / frames / 1e6;
}

void measure_frames(benchmark::State& state, void (*open_screen)(), void (*frame)()) {
    if (!start_once()) {
        state.SkipWithError("cannot start the game in the source directory");
        return;
    }
    open_screen();
    camera_frames = 0;
    // The driver compiles its shader variants in the first frames of a screen.
    for (int i = 0; i < 10; i++) frame();
    double cpu_start = seconds_of(CLOCK_PROCESS_CPUTIME_ID), wall_start = seconds_of(CLOCK_MONOTONIC);
    int64_t gamma_start = gamma_pass_pixels, moves_start = scene_moves;
    for (auto _ : state) frame();
    double cpu = seconds_of(CLOCK_PROCESS_CPUTIME_ID) - cpu_start, wall = seconds_of(CLOCK_MONOTONIC) - wall_start;
    state.counters["cpu_ms"] = benchmark::Counter(cpu * 1000, benchmark::Counter::kAvgIterations);
    state.counters["wall_ms"] = benchmark::Counter(wall * 1000, benchmark::Counter::kAvgIterations);
    // The window pixels an average frame gave the gamma pass.
    state.counters["gamma_mpixels"] =
        benchmark::Counter(static_cast<double>(gamma_pass_pixels - gamma_start) / 1e6, benchmark::Counter::kAvgIterations);
    // The share of frames that moved the scene instead of drawing it again.
    state.counters["moved"] =
        benchmark::Counter(static_cast<double>(scene_moves - moves_start), benchmark::Counter::kAvgIterations);
    int64_t draws_before = batch_draws_sent;
    frame();
    count_last_frame(state, batch_draws_sent - draws_before);
    count_floor(state, frame);
}

void frames_on(benchmark::State& state, void (*open_screen)()) { measure_frames(state, open_screen, run_whole_frame); }
void panning_on(benchmark::State& state, void (*open_screen)()) { measure_frames(state, open_screen, panning_frame); }

// Iteration counts follow the whole process's CPU time, not the main thread's.
void whole_process(benchmark::internal::Benchmark* benchmark) {
    benchmark->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
}

// The same frames on every run: one way and back again after the first frames.
void camera_moves(benchmark::internal::Benchmark* benchmark) {
    whole_process(benchmark);
    benchmark->Iterations(120);
}

BENCHMARK_CAPTURE(frames_on, main_menu, open_main_menu)->Apply(whole_process);
BENCHMARK_CAPTURE(frames_on, player_setup, open_player_setup)->Apply(whole_process);
BENCHMARK_CAPTURE(frames_on, map_list, open_map_list)->Apply(whole_process);
BENCHMARK_CAPTURE(frames_on, state_game, open_state_game)->Apply(whole_process);
BENCHMARK_CAPTURE(frames_on, pushdown_game, open_pushdown_game)->Apply(whole_process);
BENCHMARK_CAPTURE(frames_on, turing_game, open_turing_game)->Apply(whole_process);
BENCHMARK_CAPTURE(frames_on, editor, open_editor)->Apply(whole_process);
BENCHMARK_CAPTURE(frames_on, synthetic_map, open_synthetic_map)->Apply(whole_process);
BENCHMARK_CAPTURE(panning_on, synthetic_map, open_synthetic_map)->Apply(camera_moves);

// Every map of the three shipped lists, by kind and place in its list.
struct ShippedMap {
    uint8_t kind;
    int64_t index;
};
ShippedMap shipped_map;

void open_shipped_map() {
    leave_every_screen();
    machine_kind = shipped_map.kind;
    select_kind_maps();
    current_map_index = shipped_map.index;
    seat_one_human();
    start_game();
}

void camera_moves_on(benchmark::State& state, ShippedMap map, void (*frame)()) {
    shipped_map = map;
    measure_frames(state, open_shipped_map, frame);
}

// Read from the list files themselves, since the benchmarks are registered before the game starts.
bool register_shipped_maps() {
    const char* lists[3] = {"resources/state_maps.txt", "resources/pushdown_maps.txt", "resources/turing_maps.txt"};
    for (uint8_t kind = 0; kind < 3; kind++) {
        std::ifstream list(std::string(VARNHOLT_SOURCE_DIR) + "/" + lists[kind]);
        std::string line;
        for (int64_t index = 0; std::getline(list, line) && !line.empty(); index++) {
            std::string name = line.substr(0, line.find(' '));
            ShippedMap map{kind, index};
            benchmark::RegisterBenchmark(("panning/" + name).c_str(), camera_moves_on, map, panning_frame)
                ->Apply(camera_moves);
            benchmark::RegisterBenchmark(("zooming/" + name).c_str(), camera_moves_on, map, zooming_frame)
                ->Apply(camera_moves);
        }
    }
    return true;
}

const bool shipped_maps_registered = register_shipped_maps();

}  // namespace
