// Stream slots, piecewise reading and seeking, and WAV files written piece by piece.
#include "audio_files_helpers.h"
#include "kestrune_system.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

class AudioStreams : public ::testing::Test {
protected:
    void TearDown() override {
        for (int32_t slot = 0; slot < num_audio_streams; ++slot) audio_stream_close(slot);
    }
    scratch_directory directory{"streams"};
    audio_arena arena{1 << 22};
};

TEST_F(AudioStreams, SlotsAreTakenLowestFirstUpToSixtyFour) {
    std::string path = directory.path("unused.wav");
    EXPECT_EQ(audio_stream_open(AUDIO_FORMAT_UNSIGNED_8, audio_text(path), false), -1);
    EXPECT_EQ(audio_stream_open(AUDIO_FORMAT_SIGNED_8, audio_text(path), true), -1);
    for (int32_t expected = 0; expected < AUDIO_STREAM_COUNT; ++expected)
        ASSERT_EQ(audio_stream_open(AUDIO_FORMAT_SIGNED_16, audio_text(path), false), expected);
    EXPECT_EQ(audio_stream_open(AUDIO_FORMAT_SIGNED_16, audio_text(path), false), -1);
    audio_stream_close(3);
    EXPECT_FALSE(audio_streams[3].in_use);
    EXPECT_EQ(audio_stream_open(AUDIO_FORMAT_FLOAT, audio_text(path), false), 3);
    EXPECT_EQ(num_audio_streams, AUDIO_STREAM_COUNT);
}

TEST_F(AudioStreams, ContainersComeFromTheExtensionOrTheMagic) {
    const uint8_t format = AUDIO_FORMAT_SIGNED_16;
    EXPECT_EQ(audio_streams[audio_stream_open(format, audio_text("a.ogg"), false)].container, AUDIO_CONTAINER_OGG);
    EXPECT_EQ(audio_streams[audio_stream_open(format, audio_text("a.flac"), false)].container, AUDIO_CONTAINER_FLAC);
    EXPECT_EQ(audio_streams[audio_stream_open(format, audio_text("a.OGG"), false)].container, AUDIO_CONTAINER_WAV);
    EXPECT_EQ(audio_streams[audio_stream_open_from_memory(format, 4, "OggS")].container, AUDIO_CONTAINER_OGG);
    EXPECT_EQ(audio_streams[audio_stream_open_from_memory(format, 4, "fLaC")].container, AUDIO_CONTAINER_FLAC);
    EXPECT_EQ(audio_streams[audio_stream_open_from_memory(format, 4, "abcd")].container, AUDIO_CONTAINER_WAV);
    EXPECT_EQ(audio_stream_open(format, audio_text(std::string(AUDIO_STREAM_PATH_SIZE, 'a')), false), -1);
}

TEST_F(AudioStreams, ReadingInPiecesAndSeekingMatchTheWholeFile) {
    std::vector<int16_t> ramp = audio_ramp(1000, 2);
    for (auto [name, format] : {std::pair{"ramp.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
                                std::pair{"ramp.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16}}) {
        std::string path = directory.path(name);
        ASSERT_TRUE(write_sound_file(path, format, 2, 16000, ramp));
        std::vector<uint8_t> bytes = read_bytes(path);
        int32_t from_file = audio_stream_open(AUDIO_FORMAT_SIGNED_16, audio_text(path), false);
        int32_t from_memory =
            audio_stream_open_from_memory(AUDIO_FORMAT_SIGNED_16, static_cast<int64_t>(bytes.size()), bytes.data());
        for (int32_t slot : {from_file, from_memory}) {
            audio_stream_info info = audio_stream_read_info(slot);
            EXPECT_EQ(info.format, AUDIO_FORMAT_SIGNED_16);
            EXPECT_EQ(info.channels, 2u);
            EXPECT_EQ(info.frequency, 16000u);
            EXPECT_EQ(info.size, 4000);
            std::vector<int16_t> read(ramp.size() + 333 * 2);
            uint64_t total = 0;
            while (uint64_t got = audio_stream_read(slot, 333, read.data() + total * 2)) total += got;
            EXPECT_EQ(total, 1000u) << name;
            read.resize(ramp.size());
            EXPECT_EQ(read, ramp) << name;

            ASSERT_TRUE(audio_stream_seek(slot, 250));
            int16_t frame[2];
            ASSERT_EQ(audio_stream_read(slot, 1, frame), 1u);
            EXPECT_EQ(frame[0], ramp[500]);
            EXPECT_EQ(frame[1], ramp[501]);
            EXPECT_FALSE(audio_stream_seek(slot, 5000));
        }
        audio_stream_close(from_file);
        audio_stream_close(from_memory);
    }
}

TEST_F(AudioStreams, ReadsConvertToTheStreamFormat) {
    std::vector<int16_t> ramp = audio_ramp(50, 1);
    std::string path = directory.path("ramp.wav");
    ASSERT_TRUE(write_sound_file(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000, ramp));
    int32_t unsigned_slot = audio_stream_open(AUDIO_FORMAT_UNSIGNED_16, audio_text(path), false);
    int32_t float_slot = audio_stream_open(AUDIO_FORMAT_FLOAT, audio_text(path), false);
    int32_t wide_slot = audio_stream_open(AUDIO_FORMAT_UNSIGNED_32, audio_text(path), false);
    EXPECT_EQ(audio_stream_read_info(wide_slot).size, 200);
    std::vector<uint16_t> unsigned_samples(50);
    std::vector<float> floats(50);
    std::vector<uint32_t> wide(50);
    ASSERT_EQ(audio_stream_read(unsigned_slot, 50, unsigned_samples.data()), 50u);
    ASSERT_EQ(audio_stream_read(float_slot, 50, floats.data()), 50u);
    ASSERT_EQ(audio_stream_read(wide_slot, 50, wide.data()), 50u);
    for (size_t i = 0; i < ramp.size(); ++i) {
        ASSERT_EQ(unsigned_samples[i], static_cast<uint16_t>(ramp[i]) ^ 0x8000u) << i;
        ASSERT_NEAR(floats[i], ramp[i] / 32768.0, 1e-6) << i;
        ASSERT_EQ(wide[i], (static_cast<uint32_t>(static_cast<uint16_t>(ramp[i])) << 16) ^ 0x80000000u) << i;
    }
}

TEST_F(AudioStreams, BrokenSourcesAndUnknownFormatsReadNothing) {
    std::vector<uint8_t> garbage(100, 7);
    int32_t broken = audio_stream_open_from_memory(AUDIO_FORMAT_SIGNED_16, 100, garbage.data());
    EXPECT_EQ(audio_stream_read_info(broken).channels, 0u);
    int16_t buffer[16];
    EXPECT_EQ(audio_stream_read(broken, 4, buffer), 0u);
    EXPECT_FALSE(audio_stream_seek(broken, 0));
    int32_t missing = audio_stream_open(AUDIO_FORMAT_SIGNED_16, audio_text(directory.path("missing.wav")), false);
    EXPECT_EQ(audio_stream_read(missing, 4, buffer), 0u);

    int32_t unknown = audio_stream_open(9, audio_text(directory.path("missing.wav")), false);
    ASSERT_GE(unknown, 0);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(audio_stream_read(unknown, 4, buffer), 0u);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "invalid audio format\n");

    EXPECT_EQ(audio_stream_read(-1, 4, buffer), 0u);
    EXPECT_EQ(audio_stream_read(63, 4, buffer), 0u);
    EXPECT_EQ(audio_stream_read_info(40).size, 0);
}

// A FLAC stream whose header gives no length (total samples zero): the size saturates instead of overflowing.
TEST_F(AudioStreams, AStreamOfUnknownLengthReportsTheLargestSize) {
    std::string path = directory.path("unknown_length.flac");
    ASSERT_TRUE(write_sound_file(path, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 8000, audio_ramp(500, 2)));
    std::vector<uint8_t> bytes = read_bytes(path);
    // The 36-bit total sample count fills the low half of byte 21 and bytes 22 to 25.
    bytes[21] &= 0xF0;
    std::fill(bytes.begin() + 22, bytes.begin() + 26, 0);
    int32_t slot = audio_stream_open_from_memory(AUDIO_FORMAT_FLOAT, static_cast<int64_t>(bytes.size()), bytes.data());
    ASSERT_GE(slot, 0);
    audio_stream_info info = audio_stream_read_info(slot);
    ASSERT_EQ(info.channels, 2u);
    EXPECT_EQ(info.size, INT64_MAX);
}

TEST_F(AudioStreams, WrittenStreamsBecomeWavFilesOfTheStoredFormat) {
    std::string path = directory.path("written.wav");
    int32_t slot = audio_stream_open(AUDIO_FORMAT_UNSIGNED_16, audio_text(path), true);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(audio_stream_write(slot, 1, std::vector<uint16_t>(2).data()), 0u);
    audio_stream_info info{AUDIO_FORMAT_UNSIGNED_16, 2, 44100, 800};
    audio_stream_write_info(slot, &info);
    audio_stream_info ignored{AUDIO_FORMAT_UNSIGNED_16, 1, 8000, 0};
    audio_stream_write_info(slot, &ignored);
    std::vector<uint16_t> samples(400);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<uint16_t>(i * 163);
    std::vector<uint16_t> original = samples;
    EXPECT_EQ(audio_stream_write(slot, 120, samples.data()), 120u);
    EXPECT_EQ(audio_stream_write(slot, 80, samples.data() + 240), 80u);
    EXPECT_EQ(samples[0], original[0] ^ 0x8000u);
    audio_stream_close(slot);

    audio_wave wave = audio_wave_load(AUDIO_FORMAT_UNSIGNED_16, audio_text(path));
    ASSERT_NE(wave.samples, nullptr);
    EXPECT_EQ(wave.channels, 2u);
    EXPECT_EQ(wave.frequency, 44100u);
    ASSERT_EQ(wave.size, 800);
    EXPECT_EQ(memcmp(wave.samples, original.data(), 800), 0);

    int32_t floats = audio_stream_open(AUDIO_FORMAT_FLOAT, audio_text(directory.path("floats.wav")), true);
    audio_stream_info float_info{AUDIO_FORMAT_FLOAT, 1, 8000, 0};
    audio_stream_write_info(floats, &float_info);
    std::vector<float> values = {0.5f, -0.5f, 1.0f};
    EXPECT_EQ(audio_stream_write(floats, 3, values.data()), 3u);
    audio_stream_close(floats);
    audio_wave wide = audio_wave_load(AUDIO_FORMAT_SIGNED_32, audio_text(directory.path("floats.wav")));
    ASSERT_EQ(wide.size, 12);
    const int32_t* words = static_cast<const int32_t*>(wide.samples);
    EXPECT_EQ(words[0], 1073741823);
    EXPECT_EQ(words[1], -1073741823);
    EXPECT_EQ(words[2], 2147483647);
}

TEST_F(AudioStreams, OggStreamsReadInPiecesAndSeekToTheFrame) {
    std::vector<float> sine = audio_sine(3000, 2);
    std::string path = directory.path("sine.ogg");
    ASSERT_TRUE(write_sound_file(path, SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 8000, sine));
    audio_wave whole = audio_wave_load(AUDIO_FORMAT_FLOAT, audio_text(path));
    ASSERT_NE(whole.samples, nullptr);
    const float* expected = static_cast<const float*>(whole.samples);

    int32_t slot = audio_stream_open(AUDIO_FORMAT_FLOAT, audio_text(path), false);
    audio_stream_info info = audio_stream_read_info(slot);
    EXPECT_EQ(info.channels, 2u);
    EXPECT_EQ(info.frequency, 8000u);
    EXPECT_EQ(info.size, 3000 * 2 * 4);
    std::vector<float> read(6000 + 256 * 2);
    uint64_t total = 0;
    while (uint64_t got = audio_stream_read(slot, 256, read.data() + total * 2)) total += got;
    ASSERT_EQ(total, 3000u);
    for (size_t i = 0; i < 6000; ++i) ASSERT_FLOAT_EQ(read[i], expected[i]) << i;

    ASSERT_TRUE(audio_stream_seek(slot, 1234));
    float frame[2];
    ASSERT_EQ(audio_stream_read(slot, 1, frame), 1u);
    EXPECT_NEAR(frame[0], expected[2468], 1e-5);
    EXPECT_NEAR(frame[1], expected[2469], 1e-5);

    std::vector<uint8_t> bytes = read_bytes(path);
    int32_t shorts =
        audio_stream_open_from_memory(AUDIO_FORMAT_SIGNED_16, static_cast<int64_t>(bytes.size()), bytes.data());
    std::vector<int16_t> sixteen(200);
    ASSERT_EQ(audio_stream_read(shorts, 100, sixteen.data()), 100u);
    for (size_t i = 0; i < 200; ++i) ASSERT_NEAR(sixteen[i] / 32767.0, expected[i], 2e-4) << i;
}

}  // namespace
