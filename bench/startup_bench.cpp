// Start-up to the first presented frame, the game against a bare SDL2 window with an OpenGL 3.3
// context that clears and swaps once. Each start runs in a fresh child process, as a program
// starts, and the two alternate so both see the same load.
#include "shell/application.h"

#include <kestrune_system.h>

#include <SDL.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using ClearColor = void (*)(float, float, float, float);
using Clear = void (*)(unsigned);
using Finish = void (*)();

constexpr unsigned gl_color_buffer_bit = 0x4000;

void start_bare_window() {
    SDL_Init(SDL_INIT_VIDEO);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_Window* window = SDL_CreateWindow("bare", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 1024, 832,
                                          SDL_WINDOW_OPENGL);
    SDL_GL_CreateContext(window);
    SDL_GL_SetSwapInterval(1);
    auto clear_color = reinterpret_cast<ClearColor>(SDL_GL_GetProcAddress("glClearColor"));
    auto clear = reinterpret_cast<Clear>(SDL_GL_GetProcAddress("glClear"));
    auto finish = reinterpret_cast<Finish>(SDL_GL_GetProcAddress("glFinish"));
    clear_color(0, 0, 0.2f, 1);
    clear(gl_color_buffer_bit);
    SDL_GL_SwapWindow(window);
    finish();
}

// The whole first frame of the game loop, its 8 ms pause included.
void start_game() {
    if (chdir(VARNHOLT_SOURCE_DIR) != 0) _exit(2);
    application_start();
    application_frame();
    pipeline_finish();
}

// Seconds from the fork to the first presented frame, or a negative number when the child failed.
double timed_start_in_child(void (*start)()) {
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) return -1;
    auto begin = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child == 0) {
        close(pipe_ends[0]);
        start();
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        ssize_t written = write(pipe_ends[1], &seconds, sizeof seconds);
        _exit(written == sizeof seconds ? 0 : 1);
    }
    close(pipe_ends[1]);
    double seconds = -1;
    if (child < 0 || read(pipe_ends[0], &seconds, sizeof seconds) != sizeof seconds) seconds = -1;
    close(pipe_ends[0]);
    int status = 0;
    if (child > 0) waitpid(child, &status, 0);
    return seconds;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void BM_StartUpAgainstBareWindow(benchmark::State& state) {
    std::vector<double> bare, game;
    for (auto _ : state) {
        double bare_seconds = timed_start_in_child(start_bare_window);
        double game_seconds = timed_start_in_child(start_game);
        if (bare_seconds < 0 || game_seconds < 0) {
            state.SkipWithError("a child process failed to start");
            return;
        }
        bare.push_back(bare_seconds);
        game.push_back(game_seconds);
        state.SetIterationTime(game_seconds);
    }
    double bare_median = median(bare), game_median = median(game);
    state.counters["bare_ms"] = bare_median * 1000;
    state.counters["game_ms"] = game_median * 1000;
    state.counters["game_per_bare"] = game_median / bare_median;
}

// Medians of seven starts of each.
BENCHMARK(BM_StartUpAgainstBareWindow)->Iterations(7)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
