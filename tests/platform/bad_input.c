/* Careless input from plain C, in one process and through the header alone: NULL and zero
 * arguments, closed and invalid handles, calls before init, double closes, truncated files, a port
 * in use. Every case prints its name and whether it passed; the exit code counts the failures.
 * Runs with SDL_VIDEODRIVER=dummy and SDL_AUDIODRIVER=dummy, so it needs no screen or sound. */
#define _POSIX_C_SOURCE 200809L
#include "kestrune_system.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

static int failures;
static char folder[] = "/tmp/kestrune_bad_input_XXXXXX";

#define CHECK(condition) check((condition) != 0, #condition, __LINE__)
#define CHECK_ERROR(expected) CHECK(system_get_error().code == (expected))

static int check(int ok, const char* text, int line) {
    if (!ok) fprintf(stderr, "  line %d: %s\n", line, text);
    failures += !ok;
    return ok;
}

static string text(const char* s) {
    string view = {s, (int64_t)strlen(s)};
    return view;
}

/* A path in the test's folder, in a static buffer of its own per call site. */
static string in_folder(char* buffer, size_t size, const char* name) {
    snprintf(buffer, size, "%s/%s", folder, name);
    return text(buffer);
}

static void run(const char* name, void (*test)(void)) {
    int before = failures;
    test();
    printf("%s: %s\n", name, failures == before ? "passed" : "FAILED");
}

static char logged[256];
static void remember_line(void* user_data, string line) {
    (void)user_data;
    snprintf(logged, sizeof logged, "%.*s", (int)line.length, line.data);
}

static int fail_in_thread(void* data) {
    (void)data;
    return file_open(text("/nonexistent/x"), 9) == NULL && system_get_error().code == SYSTEM_ERROR_INVALID_ARGUMENT;
}

static void errors_and_log(void) {
    system_clear_error();
    CHECK(system_get_error().code == SYSTEM_ERROR_NONE && system_get_error().text.length == 0);
    CHECK(file_open(text("/nonexistent/file"), FILE_READ) == NULL);
    system_error error = system_get_error();
    CHECK(error.code == SYSTEM_ERROR_NOT_FOUND && error.text.length > 0 && error.text.data[error.text.length] == 0);
    CHECK(math_sqrt(16.0) == 4.0 && system_get_error().code == SYSTEM_ERROR_NOT_FOUND); /* success leaves it */
    kestrune_thread* thread = thread_create(fail_in_thread, NULL);
    int status = 0;
    thread_wait(thread, &status);
    CHECK(status == 1 && system_get_error().code == SYSTEM_ERROR_NOT_FOUND); /* per thread */
    system_set_log(remember_line, NULL);
    image_set_buffer(0, NULL);
    uint8_t bytes[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    CHECK(image_load_from_memory(8, bytes, 4).pixels == NULL && strcmp(logged, "image memory allocation failed") == 0);
    CHECK_ERROR(SYSTEM_ERROR_OUT_OF_MEMORY);
    system_set_log(NULL, NULL);
    logged[0] = 0;
    image_load_from_memory(8, bytes, 4);
    CHECK(logged[0] == 0);
    system_set_log(system_log_to_standard_output, NULL);
}

static void null_and_impossible_arguments(void) {
    CHECK(file_size(NULL) == -1 && file_read(NULL, 4, logged) == 0 && !file_seek64(NULL, 0) && file_close(NULL) == -1);
    CHECK_ERROR(SYSTEM_ERROR_INVALID_HANDLE);
    CHECK(file_open(text("x"), 9) == NULL && thread_create(NULL, NULL) == NULL && mutex_lock(NULL) == -1);
    CHECK(network_address_get_ip(NULL).length == 0 && network_address_get_port(NULL) == 0);
    CHECK(!system_load_library(text("/nonexistent/library.so")) && system_get_error().code == SYSTEM_ERROR_NOT_FOUND);
    CHECK(audio_stream_read_info(-1).channels == 0 && audio_stream_read(77, 1, logged) == 0);
    audio_stream_close(5); /* never opened */
    CHECK_ERROR(SYSTEM_ERROR_INVALID_HANDLE);
    CHECK(!image_save(NULL, text("x.png"), 4) && audio_wave_load(9, text("x.wav")).samples == NULL);
}

static void callback(void* user_data, uint8_t* samples, int length) {
    (void)user_data;
    memset(samples, 0, (size_t)length);
}

static void audio_devices_and_waves(void) {
    CHECK(!audio_open(AUDIO_FORMAT_SIGNED_16, 0, 44100, 1024, callback, NULL));
    CHECK(!audio_open(AUDIO_FORMAT_SIGNED_16, 2, 0, 1024, callback, NULL));
    CHECK(!audio_open(AUDIO_FORMAT_SIGNED_16, 2, 44100, 0, callback, NULL) && audio_get_format().channels == 0);
    CHECK_ERROR(SYSTEM_ERROR_INVALID_ARGUMENT);
    if (CHECK(audio_open(AUDIO_FORMAT_FLOAT, 2, 48000, 512, callback, NULL))) {
        audio_device_format got = audio_get_format();
        CHECK(got.format == AUDIO_FORMAT_FLOAT && got.channels == 2 && got.frequency == 48000);
        CHECK(got.buffer_samples == 512 && got.buffer_bytes == 512 * 2 * 4);
        audio_close();
        audio_close();
        CHECK(audio_get_format().frequency == 0);
    }
    int16_t samples[8] = {0, 100, 200, 300, -100, -200, -300, 7};
    audio_wave wave = {AUDIO_FORMAT_SIGNED_16, 1, 8000, sizeof samples, samples};
    char upper[256], plain[256], mp3[256];
    CHECK(!audio_wave_save(wave, in_folder(mp3, sizeof mp3, "x.mp3")) && !file_exists(text(mp3)));
    CHECK(audio_wave_save(wave, in_folder(upper, sizeof upper, "x.WAV")));
    CHECK(file_copy(text(upper), in_folder(plain, sizeof plain, "no_extension")));
    static uint8_t arena[65536];
    audio_set_buffer(sizeof arena, arena);
    CHECK(audio_wave_load(AUDIO_FORMAT_SIGNED_16, text(upper)).size == sizeof samples);
    CHECK(audio_wave_load(AUDIO_FORMAT_SIGNED_16, text(plain)).size == sizeof samples);
    CHECK(audio_wave_load(AUDIO_FORMAT_SIGNED_16, text(mp3)).samples == NULL); /* never written */
    CHECK_ERROR(SYSTEM_ERROR_NOT_FOUND);
}

static void images_give_their_block_back(void) {
    static uint8_t arena[1 << 20], png[4096];
    uint8_t pixels[5 * 3 * 4] = {255, 0, 0, 255};
    image picture = {pixels, 5, 3};
    char path[256];
    CHECK(!image_save(&picture, in_folder(path, sizeof path, "x.mp3"), 4) && !file_exists(text(path)));
    CHECK(image_save(&picture, in_folder(path, sizeof path, "small.png"), 4));
    file_handle* file = file_open(text(path), FILE_READ);
    int32_t length = (int32_t)file_read(file, sizeof png, png);
    file_close(file);
    image_set_buffer(sizeof arena, arena);
    for (int i = 0; i < 300; i++) image_load_from_memory(length / 2, png, 4);
    CHECK_ERROR(SYSTEM_ERROR_UNSUPPORTED);
    CHECK(image_get_buffer_position() == 0);
    image loaded = image_load(text(path), 0);
    CHECK(loaded.pixels != NULL && loaded.width == 5 && image_get_components() == 4 && loaded.pixels[0] == 255);
    CHECK(image_load(text(path), 2).pixels != NULL && image_get_components() == 2);
}

static void files_past_two_gibibytes(void) {
    int64_t sizes[2] = {2147483648LL, 5368709121LL};
    char path[256];
    for (int i = 0; i < 2; i++) {
        file_handle* file = file_open(in_folder(path, sizeof path, "sparse"), FILE_WRITE);
        CHECK(file_seek64(file, sizes[i] - 1) && file_write_byte(file, 9) == 9 && file_close(file) == 0);
        file = file_open(text(path), FILE_READ);
        CHECK(file_size(file) == sizes[i] && file_get_position(file) == 0);
        CHECK(file_seek64(file, sizes[i] - 1) && file_read_byte(file) == 9 && file_get_position(file) == sizes[i]);
        CHECK(!file_seek(file, -1) && file_get_position(file) == sizes[i]);
        file_close(file);
    }
    file_delete(text(path));
}

/* Makes count files with names of length characters; returns the folder. */
static string make_files(char* buffer, size_t size, const char* name, int count, int length) {
    string where = in_folder(buffer, size, name);
    directory_create(where);
    char path[512];
    for (int i = 0; i < count; i++) {
        snprintf(path, sizeof path, "%s/%0*d", buffer, length, i);
        file_create(text(path));
    }
    return where;
}

/* Every name is one of the count made, each once, NUL after its length. */
static int whole(directory_content listing, int count, int length) {
    static char seen[6000];
    memset(seen, 0, sizeof seen);
    int good = listing.file_count == count && listing.directory_count == 2;
    for (int64_t i = 0; good && i < listing.file_count; i++) {
        string name = listing.files[i];
        int number = atoi(name.data);
        good = name.length == length && name.data[length] == 0 && number >= 0 && number < count && !seen[number];
        if (good) seen[number] = 1;
    }
    return good;
}

static void listings_and_selectors(void) {
    char big[256], small[256];
    CHECK(directory_get_content(make_files(big, sizeof big, "big", 6000, 100)).file_count == 0);
    CHECK_ERROR(SYSTEM_ERROR_OUT_OF_MEMORY);
    string folder_of_many = make_files(small, sizeof small, "small", 3000, 100);
    for (int i = 0; i < 3; i++) CHECK(whole(directory_get_content(folder_of_many), 3000, 100));

    network_address nowhere = network_address_find(text("127.0.0.1"), 41700, NETWORK_TCP | NETWORK_IPV6);
    CHECK_ERROR(SYSTEM_ERROR_NOT_FOUND);
    network_socket socket = network_socket_create(NETWORK_TCP | NETWORK_IPV4);
    CHECK(!network_socket_bind(socket, &nowhere) && !network_tcp_connect(socket, &nowhere));
    CHECK_ERROR(SYSTEM_ERROR_INVALID_ARGUMENT);
    network_address here = {{0}};
    uint16_t port = 41710;
    for (; port < 41790; port++) {
        here = network_address_find(text("127.0.0.1"), port, NETWORK_TCP | NETWORK_IPV4);
        if (network_socket_bind(socket, &here)) break;
    }
    CHECK(network_tcp_listen(socket));
    network_socket second = network_socket_create(NETWORK_TCP | NETWORK_IPV4);
    CHECK(!network_socket_bind(second, &here) && system_get_error().code == SYSTEM_ERROR_OPERATING_SYSTEM);

    int32_t dead = network_selector_create();
    network_selector_destroy(dead);
    network_selector_destroy(dead);
    network_socket ready[2] = {-1, -1};
    socket_view out = {ready, 2};
    CHECK(network_selector_wait(dead, 10, out) == -1 && network_selector_failed(dead));
    CHECK(network_selector_wait(5000, 10, out) == -1 && system_get_error().code == SYSTEM_ERROR_INVALID_HANDLE);

    int32_t selector = network_selector_create();
    network_selector_add(selector, socket);
    for (int i = 0; i < 60; i++) directory_get_content(folder_of_many);
    CHECK(network_tcp_connect(second, &here));
    CHECK(network_selector_wait(selector, 5000, out) == 1 && ready[0] == socket);
    network_selector_destroy(selector);
    CHECK(network_socket_destroy(second) == 0 && network_socket_destroy(second) == -1);
    network_socket_destroy(socket);
}

/* The default is kept: without DISPLAY_RETURN_ON_FAILURE a missing OpenGL ends the process with 1. */
static void display_default_still_exits(void) {
    fflush(stdout); /* or the child prints the parent's buffered lines again */
    pid_t child = fork();
    if (child == 0) {
        unsetenv("DISPLAY"); /* no X server for the error box either */
        unsetenv("WAYLAND_DISPLAY");
        alarm(30);
        display_open(320, 200, text("ends"), 0, 1);
        _exit(0);
    }
    int status = 0;
    CHECK(waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 1);
}

static void display_that_returns(void) {
    CHECK(!display_open(320, 200, text("no OpenGL here"), DISPLAY_RETURN_ON_FAILURE, 1) && sdl_window == NULL);
    CHECK_ERROR(SYSTEM_ERROR_GRAPHICS);
    if (!CHECK(display_open(320, 200, text("software"), DISPLAY_SOFTWARE | DISPLAY_RETURN_ON_FAILURE, 1))) return;
    CHECK(!display_open(320, 200, text("second"), DISPLAY_RETURN_ON_FAILURE, 1));
    uint8_t pixel[4] = {1, 2, 3, 4};
    pipeline_read_pixels(0, 0, 1, 1, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, pixel);
    CHECK(pixel[0] == 1 && pipeline_get_error() == GRAPHICS_INVALID_OPERATION && pipeline_get_error() == 0);
    CHECK_ERROR(SYSTEM_ERROR_GRAPHICS);

    static uint8_t block[64];
    clipboard_set_buffer(sizeof block, block);
    clipboard_set(text("fifteen bytes!!"));
    for (int i = 0; i < 4; i++) CHECK(clipboard_get().length == 15);
    system_clear_error();
    system_set_log(NULL, NULL);
    CHECK(clipboard_get().length == 0 && system_get_error().code == SYSTEM_ERROR_OUT_OF_MEMORY);
    system_set_log(system_log_to_standard_output, NULL);
    display_close();
    display_close();
}

int main(void) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!mkdtemp(folder)) return 1;
    run("before init", null_and_impossible_arguments);
    run("display default", display_default_still_exits);
    system_init(SYSTEM_ALL);
    run("errors and log", errors_and_log);
    run("audio devices and waves", audio_devices_and_waves);
    run("images", images_give_their_block_back);
    run("files past 2 GiB", files_past_two_gibibytes);
    run("listings and selectors", listings_and_selectors);
    run("display that returns", display_that_returns);
    system_release();
    run("after release", null_and_impossible_arguments);
    char command[300];
    snprintf(command, sizeof command, "rm -rf '%s'", folder);
    system_execute(text(command));
    printf("%d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
