// Small sound files written at run time, and a scratch directory and arena for the audio tests.
#pragma once

#include "kestrune_system.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Interleaved 16-bit samples whose every value differs: frames x channels.
std::vector<int16_t> audio_ramp(int frames, int channels);

// A quiet sine per channel at frequency / 50 Hz, as floats in -0.5..0.5.
std::vector<float> audio_sine(int frames, int channels);

// libsndfile format codes (container | encoding) written from 16-bit or float samples.
bool write_sound_file(const std::string& path, int format, int channels, int frequency,
                      const std::vector<int16_t>& samples);
bool write_sound_file(const std::string& path, int format, int channels, int frequency,
                      const std::vector<float>& samples);

std::vector<uint8_t> read_bytes(const std::string& path);

string audio_text(const std::string& text);

// A fresh directory under the build tree, removed by its destructor.
struct scratch_directory {
    explicit scratch_directory(const std::string& name);
    ~scratch_directory();
    std::string path(const std::string& name) const;
    std::filesystem::path root;
};

// Hands the library an arena of the given size for as long as it lives.
struct audio_arena {
    explicit audio_arena(size_t size);
    ~audio_arena();
    std::vector<uint8_t> memory;
};
