// Start-up to the first presented frame, the game against a bare SDL2 window with an OpenGL 3.3
// context that clears and swaps once. Each start runs in a fresh child process, as a program
// starts, and they alternate so all see the same load. A third start, the least one, does only
// what the game's start-up must before its first frame shows: every subsystem of the library, the
// window, a picture shader and the gamma shader, the scene, one picture drawn into it, the gamma
// pass, the frame loop's pause and the present. No start of the game can be quicker than it.
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

const char least_picture_shader[] =
    "#vertex\n"
    "#version 330 core\n"
    "out vec2 uv;\n"
    "void main() {\n"
    "    uv = vec2(gl_VertexID & 1, gl_VertexID >> 1);\n"
    "    gl_Position = vec4(uv - 0.5, 0.0, 1.0);\n"
    "}\n"
    "#fragment\n"
    "#version 330 core\n"
    "uniform sampler2D diffuse;\n"
    "in vec2 uv;\n"
    "out vec4 fragment_color;\n"
    "void main() {\n"
    "    vec4 texel = texture(diffuse, uv);\n"
    "    fragment_color = vec4(pow(texel.rgb, vec3(2.2)), texel.a);\n"
    "}\n";

const char least_gamma_shader[] =
    "#vertex\n"
    "#version 330 core\n"
    "void main() {\n"
    "    gl_Position = vec4(float(gl_VertexID & 1) * 4.0 - 1.0, float(gl_VertexID >> 1) * 4.0 - 1.0, 0.0, 1.0);\n"
    "}\n"
    "#fragment\n"
    "#version 330 core\n"
    "uniform sampler2D diffuse;\n"
    "out vec4 fragment_color;\n"
    "void main() {\n"
    "    vec4 texel = texelFetch(diffuse, ivec2(gl_FragCoord.xy), 0);\n"
    "    fragment_color = vec4(pow(texel.rgb, vec3(1.0 / 2.2)), texel.a);\n"
    "}\n";

uint32_t least_shader(const char* source, int64_t length) {
    uint32_t program = shader_create();
    uint8_t log[256];
    shader_source(program, string{source, length}, byte_view{log, sizeof log});
    return program;
}

uint32_t least_texture(int32_t width, int32_t height, const void* pixels) {
    uint32_t texture = texture_create();
    texture_bind(TEXTURE_2D, texture);
    texture_image_2d(TEXTURE_2D, 0, INTERNAL_RGBA8, width, height, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, pixels);
    texture_parameter_filter(TEXTURE_2D, PARAMETER_MIN_FILTER, FILTER_NEAREST);
    texture_parameter_filter(TEXTURE_2D, PARAMETER_MAG_FILTER, FILTER_NEAREST);
    return texture;
}

void start_least_game() {
    system_init(SYSTEM_ALL);
    display_open(1024, 832, string{"Varnholt", 8}, DISPLAY_VSYNC, 1);
    uint32_t picture_shader = least_shader(least_picture_shader, sizeof least_picture_shader - 1);
    uint32_t gamma_shader = least_shader(least_gamma_shader, sizeof least_gamma_shader - 1);
    vertex_array_bind(vertex_array_create());
    const uint8_t white[4] = {255, 255, 255, 255};
    uint32_t picture = least_texture(1, 1, white);
    uint32_t scene = least_texture(1024, 832, nullptr);
    uint32_t scene_frame_buffer = frame_buffer_create();
    frame_buffer_bind(FRAME_BUFFER_BOTH, scene_frame_buffer);
    frame_buffer_texture(FRAME_BUFFER_BOTH, ATTACHMENT_COLOR, 0, scene, 0);
    pipeline_viewport(0, 0, 1024, 832);
    pipeline_clear_color(0, 0, 0.2f, 1);
    pipeline_clear(BUFFER_COLOR);
    pipeline_blend_enable(true);
    pipeline_blend_factor(BLEND_SOURCE_ALPHA, BLEND_ONE_MINUS_SOURCE_ALPHA);
    shader_bind(picture_shader);
    texture_bind(TEXTURE_2D, picture);
    draw_arrays(PRIMITIVE_TRIANGLE_STRIP, 0, 4, 1);
    frame_buffer_unbind(FRAME_BUFFER_BOTH);
    pipeline_blend_enable(false);
    shader_bind(gamma_shader);
    texture_bind(TEXTURE_2D, scene);
    draw_arrays(PRIMITIVE_TRIANGLES, 0, 3, 1);
    pipeline_flush();
    system_sleep(8);
    pipeline_present();
    pipeline_finish();
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
    std::vector<double> bare, least, game;
    for (auto _ : state) {
        double bare_seconds = timed_start_in_child(start_bare_window);
        double least_seconds = timed_start_in_child(start_least_game);
        double game_seconds = timed_start_in_child(start_game);
        if (bare_seconds < 0 || least_seconds < 0 || game_seconds < 0) {
            state.SkipWithError("a child process failed to start");
            return;
        }
        bare.push_back(bare_seconds);
        least.push_back(least_seconds);
        game.push_back(game_seconds);
        state.SetIterationTime(game_seconds);
    }
    double bare_median = median(bare), least_median = median(least), game_median = median(game);
    state.counters["bare_ms"] = bare_median * 1000;
    state.counters["least_ms"] = least_median * 1000;
    state.counters["game_ms"] = game_median * 1000;
    state.counters["least_per_bare"] = least_median / bare_median;
    state.counters["game_per_bare"] = game_median / bare_median;
}

// Medians of fifteen starts of each: single starts vary by a fifth on a shared machine.
BENCHMARK(BM_StartUpAgainstBareWindow)->Iterations(15)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
