#include "audio_files_helpers.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <iterator>

std::vector<int16_t> audio_ramp(int frames, int channels) {
    std::vector<int16_t> samples(static_cast<size_t>(frames * channels));
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(static_cast<int>(i) * 61 - 30000);
    return samples;
}

std::vector<float> audio_sine(int frames, int channels) {
    std::vector<float> samples(static_cast<size_t>(frames * channels));
    for (int frame = 0; frame < frames; ++frame)
        for (int channel = 0; channel < channels; ++channel)
            samples[static_cast<size_t>(frame * channels + channel)] =
                0.5f * static_cast<float>(std::sin(2.0 * M_PI * frame / (50.0 + 25.0 * channel)));
    return samples;
}

static SNDFILE* open_for_writing(const std::string& path, int format, int channels, int frequency) {
    SF_INFO info{};
    info.samplerate = frequency;
    info.channels = channels;
    info.format = format;
    return sf_open(path.c_str(), SFM_WRITE, &info);
}

bool write_sound_file(const std::string& path, int format, int channels, int frequency,
                      const std::vector<int16_t>& samples) {
    SNDFILE* file = open_for_writing(path, format, channels, frequency);
    if (!file) return false;
    sf_count_t written = sf_write_short(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
    return written == static_cast<sf_count_t>(samples.size());
}

bool write_sound_file(const std::string& path, int format, int channels, int frequency,
                      const std::vector<float>& samples) {
    SNDFILE* file = open_for_writing(path, format, channels, frequency);
    if (!file) return false;
    sf_count_t written = sf_write_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
    return written == static_cast<sf_count_t>(samples.size());
}

std::vector<uint8_t> read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

string audio_text(const std::string& text) { return string{text.data(), static_cast<int64_t>(text.size())}; }

scratch_directory::scratch_directory(const std::string& name) {
    root = std::filesystem::path(VARNHOLT_BINARY_DIR) / "audio_test_files" / name /
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
}

scratch_directory::~scratch_directory() { std::filesystem::remove_all(root); }

std::string scratch_directory::path(const std::string& name) const { return (root / name).string(); }

audio_arena::audio_arena(size_t size) : memory(size, 0) {
    audio_set_buffer(static_cast<int64_t>(memory.size()), memory.data());
}

audio_arena::~audio_arena() { audio_set_buffer(0, nullptr); }
