// Shared by the fuzz targets: a broken property stops the run as a crash, so libFuzzer keeps
// the input as a reproducer; readers that take a path get the bytes through a scratch file.
#pragma once

#include <kestrune_system.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#define FUZZ_CHECK(condition)                                                             \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            abort();                                                                      \
        }                                                                                 \
    } while (0)

inline std::string& fuzz_scratch_path() {
    static std::string folder;
    return folder;
}

inline void fuzz_remove_scratch_folder() { std::filesystem::remove_all(fuzz_scratch_path()); }

// A folder of this process's own under the temporary directory, made on first use and removed at exit.
inline std::string fuzz_scratch_folder() {
    std::string& folder = fuzz_scratch_path();
    if (folder.empty()) {
        // Every run writes a file, so a memory file system keeps the runs many times faster.
        std::filesystem::path base = std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                                                : std::filesystem::temp_directory_path();
        folder = (base / ("varnholt_fuzz_" + std::to_string(getpid()))).string();
        std::filesystem::create_directories(folder);
        atexit(fuzz_remove_scratch_folder);
    }
    return folder;
}

inline void fuzz_write_file(const std::string& path, const void* data, size_t size) {
    FILE* file = fopen(path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(size == 0 || fwrite(data, 1, size, file) == size);
    FUZZ_CHECK(fclose(file) == 0);
}

inline string fuzz_view(const std::string& text) { return string{text.data(), static_cast<int64_t>(text.size())}; }

inline std::string fuzz_text(string view) {
    return view.length > 0 ? std::string(view.data, static_cast<size_t>(view.length)) : std::string();
}
