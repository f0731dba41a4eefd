#include "render_helpers.h"

#include "base/arena.h"
#include "render/matrix.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"

#include <kestrune_system.h>

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

void start_renderer() {
    static bool started = false;
    if (!started) {
        started = true;
        window_width = 1024;
        window_height = 832;
        system_init(SYSTEM_ALL);
        create_arenas(persistent_arena_capacity, frame_arena_capacity);
        display_open(1024, 832, str("render test"), DISPLAY_VSYNC, 1);
        load_render_resources();
        pipeline_cull_enable(true);
        pipeline_cull_orientation(ORIENTATION_COUNTER_CLOCKWISE);
        pipeline_blend_factor(BLEND_SOURCE_ALPHA, BLEND_ONE_MINUS_SOURCE_ALPHA);
        // Let the window system deliver its start-up events before a test pushes its own.
        for (int i = 0; i < 5; i++) {
            SDL_PumpEvents();
            SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
            SDL_Delay(10);
        }
        input_poll();
    }
    screen_projection = build_screen_projection(window_width, window_height);
    camera_matrix = screen_projection;
    // Whatever an earlier test left in the scene, the next frame is drawn whole.
    forget_scene_contents();
    while (pipeline_get_error() != 0) {
    }
}

Pixel read_scene_pixel(int32_t x, int32_t y) {
    draw_scene_so_far();
    uint8_t rgba[4] = {};
    pipeline_read_pixels(x, y, 1, 1, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, rgba);
    return Pixel{rgba[0], rgba[1], rgba[2], rgba[3]};
}

std::vector<uint8_t> read_region(int32_t x, int32_t y, int32_t width, int32_t height) {
    draw_scene_so_far();
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    pipeline_read_pixels(x, y, width, height, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

void save_region_png(const std::string& path, int32_t x, int32_t y, int32_t width, int32_t height) {
    std::vector<uint8_t> pixels = read_region(x, y, width, height);
    for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 255;
    image picture{pixels.data(), width, height};
    // Saving flipped puts the bottom row read first at the bottom of the file.
    image_set_flip(true);
    image_save(&picture, view_of(path), IMAGE_RGBA);
}

bool within_one_step(const std::vector<uint8_t>& shown, const std::vector<uint8_t>& expected, std::string* report) {
    if (shown.size() != expected.size()) {
        *report = "sizes differ";
        return false;
    }
    // The scene bytes each shown byte comes from: a run, since the gamma pass never falls.
    int lowest[256], highest[256];
    for (int value = 0; value < 256; value++) lowest[value] = 256, highest[value] = -256;
    for (int scene = 255; scene >= 0; scene--) lowest[shown_byte(scene)] = scene;
    for (int scene = 0; scene < 256; scene++) highest[shown_byte(scene)] = scene;
    int64_t off = 0, differing = 0;
    for (size_t i = 0; i < shown.size(); i++) {
        int a = shown[i], b = expected[i];
        if (a != b) differing++;
        int apart = a == b ? 0 : i % 4 == 3 ? std::abs(a - b) : std::max(lowest[a] - highest[b], lowest[b] - highest[a]);
        if (apart > 1) off++;
    }
    *report = std::to_string(differing) + " channels differ, " + std::to_string(off) + " by more than a step";
    return off == 0;
}

bool matches_golden(const std::string& name, int32_t x, int32_t y, int32_t width, int32_t height, int tolerance,
                    std::string* report) {
    std::string path = std::string(VARNHOLT_SOURCE_DIR) + "/tests/render/golden/" + name + ".png";
    if (std::getenv("VARNHOLT_UPDATE_GOLDEN")) {
        save_region_png(path, x, y, width, height);
        *report = "golden written";
        return true;
    }
    std::vector<uint8_t> actual = read_region(x, y, width, height);
    int64_t position = image_get_buffer_position();
    image expected = image_load(view_of(path), IMAGE_RGBA);
    image_set_buffer_position(position);
    if (!expected.pixels || expected.width != width || expected.height != height) {
        *report = "cannot read " + path;
        return false;
    }
    int64_t differing = 0;
    int worst = 0;
    for (size_t i = 0; i < actual.size(); i++) {
        if (i % 4 == 3) continue;
        int difference = std::abs(static_cast<int>(actual[i]) - static_cast<int>(expected.pixels[i]));
        if (difference > worst) worst = difference;
        if (difference > tolerance) differing++;
    }
    // A handful of edge pixels may round differently from one driver to another.
    int64_t allowed = static_cast<int64_t>(width) * height / 200;
    *report = name + ": " + std::to_string(differing) + " channels off by more than " + std::to_string(tolerance) +
              " (worst " + std::to_string(worst) + ")";
    return differing <= allowed;
}

std::string temporary_directory() {
    std::string directory = std::string(VARNHOLT_BINARY_DIR) + "/render_test_files";
    std::filesystem::create_directories(directory);
    return directory;
}

std::string write_temporary_file(const std::string& name, const std::string& contents) {
    std::string path = temporary_directory() + "/" + name;
    std::ofstream file(path, std::ios::binary);
    file << contents;
    return path;
}
