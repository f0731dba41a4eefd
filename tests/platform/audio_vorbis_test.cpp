// Ogg Vorbis with many channels, and with an audio block too small for the samples.
#include "audio_files_helpers.h"
#include "kestrune_system.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <vector>

namespace {

class AudioVorbis : public ::testing::Test {
protected:
    void TearDown() override {
        for (int32_t slot = 0; slot < num_audio_streams; ++slot) audio_stream_close(slot);
    }
    scratch_directory directory{"vorbis"};
};

// Each channel must follow its own sine: a mean error well under the signal's and the right peak.
// The encoder codes the LFE channel of 5.1 (the sixth) coarsely, so it gets more room, still far
// below what a wrong channel gives.
void expect_channels_follow(const std::vector<float>& decoded, const std::vector<float>& source, int channels,
                            const char* how) {
    ASSERT_EQ(decoded.size(), source.size()) << how;
    for (int channel = 0; channel < channels; ++channel) {
        bool lfe = channels == 6 && channel == 5;
        double error = 0, peak = 0;
        for (size_t i = static_cast<size_t>(channel); i < source.size(); i += static_cast<size_t>(channels)) {
            error += std::fabs(decoded[i] - source[i]);
            peak = std::fmax(peak, std::fabs(decoded[i]));
        }
        EXPECT_LT(error / static_cast<double>(source.size() / static_cast<size_t>(channels)), lfe ? 0.1 : 0.02)
            << how << ", channel " << channel << " of " << channels;
        EXPECT_NEAR(peak, 0.5, lfe ? 0.15 : 0.05) << how << ", channel " << channel << " of " << channels;
    }
}

// A -6 dB sine per channel, each at its own low frequency, since 5.1 and 7.1 encodings low-pass their LFE channel.
std::vector<float> low_sines(int frames, int channels, int frequency) {
    std::vector<float> samples(static_cast<size_t>(frames * channels));
    for (int frame = 0; frame < frames; ++frame)
        for (int channel = 0; channel < channels; ++channel)
            samples[static_cast<size_t>(frame * channels + channel)] =
                0.5f * static_cast<float>(std::sin(2.0 * M_PI * (60.0 + 8.0 * channel) * frame / frequency));
    return samples;
}

std::vector<float> as_floats(const audio_wave& wave) {
    if (!wave.samples) return {};
    if (wave.format == AUDIO_FORMAT_FLOAT) {
        const float* samples = static_cast<const float*>(wave.samples);
        return std::vector<float>(samples, samples + wave.size / 4);
    }
    const int16_t* samples = static_cast<const int16_t*>(wave.samples);
    std::vector<float> floats(static_cast<size_t>(wave.size / 2));
    for (size_t i = 0; i < floats.size(); ++i) floats[i] = samples[i] / 32768.0f;
    return floats;
}

// Decoded as whole waves (float from the file, 16-bit from memory) and as streams (float from the
// file, 16-bit from memory), each channel must follow its own sine.
void expect_every_way_follows(const std::string& path, const std::vector<float>& sine, int channels) {
    const uint64_t frames = sine.size() / static_cast<size_t>(channels);
    std::vector<uint8_t> bytes = read_bytes(path);
    audio_set_buffer_position(0);
    audio_wave floats = audio_wave_load(AUDIO_FORMAT_FLOAT, audio_text(path));
    EXPECT_EQ(floats.channels, static_cast<uint32_t>(channels));
    expect_channels_follow(as_floats(floats), sine, channels, "float wave");
    audio_wave shorts =
        audio_wave_load_from_memory(AUDIO_FORMAT_SIGNED_16, static_cast<int64_t>(bytes.size()), bytes.data());
    expect_channels_follow(as_floats(shorts), sine, channels, "16-bit wave from memory");

    int32_t slot = audio_stream_open(AUDIO_FORMAT_FLOAT, audio_text(path), false);
    std::vector<float> streamed(sine.size());
    ASSERT_EQ(audio_stream_read(slot, frames, streamed.data()), frames);
    expect_channels_follow(streamed, sine, channels, "float stream");
    audio_stream_close(slot);

    slot = audio_stream_open_from_memory(AUDIO_FORMAT_SIGNED_16, static_cast<int64_t>(bytes.size()), bytes.data());
    std::vector<int16_t> pieces(sine.size());
    ASSERT_EQ(audio_stream_read(slot, frames, pieces.data()), frames);
    audio_wave piece_wave{AUDIO_FORMAT_SIGNED_16, static_cast<uint32_t>(channels), 44100,
                          static_cast<int64_t>(pieces.size() * 2), pieces.data()};
    expect_channels_follow(as_floats(piece_wave), sine, channels, "16-bit stream");
    audio_stream_close(slot);
}

// At 44100 Hz the encoder couples six channels as 5.1, which the decoder must undo exactly.
// That encoder setup leaks inside libvorbisenc, so this file was made once, the same way as
// below: low_sines(3000, 6, 44100) written by libsndfile at its default Vorbis quality.
TEST_F(AudioVorbis, SixChannelsAsFivePointOneDecodeEachChannel) {
    audio_arena arena{1 << 22};
    expect_every_way_follows(std::string(VARNHOLT_SOURCE_DIR) + "/tests/platform/files/six_channel_sines.ogg",
                             low_sines(3000, 6, 44100), 6);
}

TEST_F(AudioVorbis, OtherChannelCountsDecodeEachChannel) {
    audio_arena arena{1 << 22};
    for (int channels : {1, 2, 5, 8}) {
        std::vector<float> sine = low_sines(3000, channels, 44100);
        std::string path = directory.path("sine" + std::to_string(channels) + ".ogg");
        ASSERT_TRUE(write_sound_file(path, SF_FORMAT_OGG | SF_FORMAT_VORBIS, channels, 44100, sine));
        expect_every_way_follows(path, sine, channels);
    }
}

TEST_F(AudioVorbis, ABlockTooSmallForTheSamplesFailsTheLoadAndStreamsNeedNoBlock) {
    std::vector<float> sine = audio_sine(2000, 2);
    std::string path = directory.path("sine.ogg");
    ASSERT_TRUE(write_sound_file(path, SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 8000, sine));
    std::vector<uint8_t> bytes = read_bytes(path);
    for (int64_t size : {int64_t{0}, int64_t{64}, int64_t{2000 * 2 * 4 - 1}}) {
        audio_arena arena{static_cast<size_t>(size)};
        ::testing::internal::CaptureStdout();
        audio_wave wave =
            audio_wave_load_from_memory(AUDIO_FORMAT_FLOAT, static_cast<int64_t>(bytes.size()), bytes.data());
        fflush(stdout);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "audio memory allocation failed\n") << size;
        EXPECT_EQ(wave.samples, nullptr) << size;
    }
    audio_arena none{0};
    int32_t slot = audio_stream_open(AUDIO_FORMAT_FLOAT, audio_text(path), false);
    std::vector<float> streamed(sine.size());
    ASSERT_EQ(audio_stream_read(slot, 2000, streamed.data()), 2000u);
    expect_channels_follow(streamed, sine, 2, "stream without a block");
}

// After a seek, the frames read are those of the whole-file decode from that frame on, to the
// bit: near the start, past the middle and at the last frame; floats from the file and 16-bit
// samples from memory. Six channels at 32 kHz are coded uncoupled, the 44.1 kHz file as 5.1.
TEST_F(AudioVorbis, SeeksLandOnTheExactFrame) {
    audio_arena arena{1 << 22};
    std::vector<std::string> paths{std::string(VARNHOLT_SOURCE_DIR) + "/tests/platform/files/six_channel_sines.ogg"};
    for (auto [channels, frequency] : {std::pair{1, 48000}, std::pair{2, 44100}, std::pair{6, 32000}}) {
        paths.push_back(directory.path("second" + std::to_string(channels) + ".ogg"));
        ASSERT_TRUE(write_sound_file(paths.back(), SF_FORMAT_OGG | SF_FORMAT_VORBIS, channels, frequency,
                                     low_sines(frequency, channels, frequency)));
    }
    for (const std::string& path : paths) {
        std::vector<uint8_t> bytes = read_bytes(path);
        for (uint8_t format : {AUDIO_FORMAT_FLOAT, AUDIO_FORMAT_SIGNED_16}) {
            audio_set_buffer_position(0);
            audio_wave whole = audio_wave_load(format, audio_text(path));
            ASSERT_NE(whole.samples, nullptr) << path;
            int64_t frame_bytes = whole.channels * (format == AUDIO_FORMAT_FLOAT ? 4 : 2);
            int64_t frames = whole.size / frame_bytes;
            int32_t slot = format == AUDIO_FORMAT_FLOAT ? audio_stream_open(format, audio_text(path), false)
                                                        : audio_stream_open_from_memory(format, bytes.size(), bytes.data());
            for (int64_t frame : {int64_t{3}, frames / 2 + 7, frames - 1}) {
                ASSERT_TRUE(audio_stream_seek(slot, static_cast<uint64_t>(frame)));
                std::vector<uint8_t> read(static_cast<size_t>(300 * frame_bytes));
                int64_t got = static_cast<int64_t>(audio_stream_read(slot, 300, read.data()));
                ASSERT_EQ(got, std::min<int64_t>(300, frames - frame)) << path << " at " << frame;
                EXPECT_EQ(memcmp(read.data(), static_cast<uint8_t*>(whole.samples) + frame * frame_bytes,
                                 static_cast<size_t>(got * frame_bytes)), 0) << path << " at " << frame;
            }
            audio_stream_close(slot);
        }
    }
}

// Truncated and byte-corrupted copies of a real file, from memory and every tenth from a file:
// nothing may crash or leak (the sanitizer build checks), reads stay inside their buffer, and a
// truncated copy that still decodes gives the start of the whole decode. Other Ogg codecs, and
// Ogg under another name, are refused.
TEST_F(AudioVorbis, DamagedCopiesDecodeWhatSurvivesAndLeakNothing) {
    audio_arena arena{1 << 22};
    // Noise codes at a high rate, so the file spans several pages that a cut can keep.
    std::mt19937 random(18);
    std::vector<float> noise(2 * 48000);
    for (float& sample : noise) sample = std::uniform_real_distribution<float>(-0.5f, 0.5f)(random);
    std::string path = directory.path("noise.ogg"), copy_path = directory.path("copy.ogg");
    ASSERT_TRUE(write_sound_file(path, SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 48000, noise));
    std::vector<uint8_t> bytes = read_bytes(path);
    std::vector<float> whole = as_floats(audio_wave_load(AUDIO_FORMAT_FLOAT, audio_text(path)));
    int decoded_prefixes = 0;
    for (size_t copy = 0; copy < 400; ++copy) {
        bool truncated = copy % 2 == 0;
        std::vector<uint8_t> damaged(bytes.begin(), truncated ? bytes.begin() + bytes.size() * copy / 400 : bytes.end());
        for (size_t i = 0; !truncated && i < 1 + copy % 7; ++i) damaged[random() % damaged.size()] = random() & 0xFF;
        audio_set_buffer_position(0);
        std::vector<float> floats = as_floats(
            audio_wave_load_from_memory(AUDIO_FORMAT_FLOAT, static_cast<int64_t>(damaged.size()), damaged.data()));
        bool prefix = floats.size() <= whole.size() && std::equal(floats.begin(), floats.end(), whole.begin());
        EXPECT_TRUE(prefix || !truncated) << copy;
        decoded_prefixes += truncated && !floats.empty();
        std::ofstream(copy_path, std::ios::binary).write(reinterpret_cast<char*>(damaged.data()), damaged.size());
        int32_t slot = copy % 10 ? audio_stream_open_from_memory(AUDIO_FORMAT_SIGNED_16, damaged.size(), damaged.data())
                                 : audio_stream_open(AUDIO_FORMAT_SIGNED_16, audio_text(copy_path), false);
        std::vector<int16_t> buffer(2 * 257, 0x5A5A);
        while (audio_stream_read(slot, 256, buffer.data()) > 0) ASSERT_EQ(buffer[512], 0x5A5A) << copy;
        if (audio_stream_seek(slot, 1000)) audio_stream_read(slot, 256, buffer.data());
        audio_stream_close(slot);
    }
    EXPECT_GT(decoded_prefixes, 100);
    ASSERT_TRUE(write_sound_file(path, SF_FORMAT_OGG | SF_FORMAT_OPUS, 2, 48000, noise));
    std::filesystem::copy_file(path, directory.path("noise.wav"));
    for (std::string refused : {path, directory.path("noise.wav")})
        EXPECT_EQ(audio_wave_load(AUDIO_FORMAT_FLOAT, audio_text(refused)).samples, nullptr) << refused;
}

}  // namespace
