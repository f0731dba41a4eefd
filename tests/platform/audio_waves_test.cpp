// Sample conversion, whole-file decoding into the audio arena, and waves saved as WAV.
#include "audio_files_helpers.h"
#include "kestrune_system.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <vector>

namespace {

template <typename T>
audio_wave wave_over(std::vector<T>& samples, uint8_t format, size_t used_bytes) {
    return audio_wave{format, 1, 8000, static_cast<int64_t>(used_bytes), samples.data()};
}

TEST(AudioConvert, SignedSixteenToUnsignedEightKeepsTheHighByteWithItsTopBitFlipped) {
    std::vector<int16_t> samples = {0x1234, -32768, 32767, -1};
    audio_wave wave = wave_over(samples, AUDIO_FORMAT_SIGNED_16, 8);
    audio_wave_convert(&wave, AUDIO_FORMAT_UNSIGNED_8);
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(samples.data());
    EXPECT_EQ(wave.format, AUDIO_FORMAT_UNSIGNED_8);
    EXPECT_EQ(wave.size, 4);
    EXPECT_EQ(bytes[0], 0x92);
    EXPECT_EQ(bytes[1], 0x00);
    EXPECT_EQ(bytes[2], 0xFF);
    EXPECT_EQ(bytes[3], 0x7F);
}

TEST(AudioConvert, WideningWorksFromTheEndSoEverySampleSurvives) {
    std::vector<uint8_t> samples(16, 0);
    const uint8_t original[] = {0x00, 0x80, 0xFF, 0x01};
    memcpy(samples.data(), original, 4);
    audio_wave wave = wave_over(samples, AUDIO_FORMAT_UNSIGNED_8, 4);
    audio_wave_convert(&wave, AUDIO_FORMAT_SIGNED_32);
    EXPECT_EQ(wave.size, 16);
    int32_t widened[4];
    memcpy(widened, samples.data(), 16);
    EXPECT_EQ(widened[0], INT32_MIN);
    EXPECT_EQ(widened[1], 0);
    EXPECT_EQ(widened[2], 0x7F000000);
    EXPECT_EQ(widened[3], static_cast<int32_t>(0x81000000u));
}

TEST(AudioConvert, ThirtyTwoToSixteenKeepsTheTopHalf) {
    std::vector<int32_t> samples = {0x12345678, -65536, 0x7FFFFFFF};
    audio_wave wave = wave_over(samples, AUDIO_FORMAT_SIGNED_32, 12);
    audio_wave_convert(&wave, AUDIO_FORMAT_UNSIGNED_16);
    uint16_t narrowed[3];
    memcpy(narrowed, samples.data(), 6);
    EXPECT_EQ(wave.size, 6);
    EXPECT_EQ(narrowed[0], 0x1234 ^ 0x8000);
    EXPECT_EQ(narrowed[1], 0xFFFF ^ 0x8000);
    EXPECT_EQ(narrowed[2], 0x7FFF ^ 0x8000);
}

TEST(AudioConvert, FloatToIntegersScalesByFullScaleAndSaturates) {
    std::vector<float> samples = {1.0f, -1.0f, 0.5f, 2.0f};
    audio_wave wave = wave_over(samples, AUDIO_FORMAT_FLOAT, 16);
    audio_wave_convert(&wave, AUDIO_FORMAT_SIGNED_16);
    int16_t sixteen[4];
    memcpy(sixteen, samples.data(), 8);
    EXPECT_EQ(wave.size, 8);
    EXPECT_EQ(sixteen[0], 32767);
    EXPECT_EQ(sixteen[1], -32767);
    EXPECT_EQ(sixteen[2], 16383);
    EXPECT_EQ(sixteen[3], 32767);

    std::vector<float> more = {0.5f, -1.0f};
    audio_wave eight = wave_over(more, AUDIO_FORMAT_FLOAT, 8);
    audio_wave_convert(&eight, AUDIO_FORMAT_UNSIGNED_8);
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(more.data());
    EXPECT_EQ(eight.size, 2);
    EXPECT_EQ(bytes[0], 63 ^ 0x80);
    EXPECT_EQ(bytes[1], static_cast<uint8_t>(-127) ^ 0x80);
}

TEST(AudioConvert, IntegersToFloatDivideByTheSourceFullScale) {
    std::vector<uint16_t> samples(4, 0);
    samples[0] = 0;
    samples[1] = 0xFFFF;
    audio_wave wave = wave_over(samples, AUDIO_FORMAT_UNSIGNED_16, 4);
    audio_wave_convert(&wave, AUDIO_FORMAT_FLOAT);
    float floats[2];
    memcpy(floats, samples.data(), 8);
    EXPECT_EQ(wave.size, 8);
    EXPECT_FLOAT_EQ(floats[0], -32768.0f / 32767.0f);
    EXPECT_FLOAT_EQ(floats[1], 1.0f);

    std::vector<int32_t> wide = {INT32_MAX, 0};
    audio_wave thirty_two = wave_over(wide, AUDIO_FORMAT_SIGNED_32, 8);
    audio_wave_convert(&thirty_two, AUDIO_FORMAT_FLOAT);
    float wide_floats[2];
    memcpy(wide_floats, wide.data(), 8);
    EXPECT_FLOAT_EQ(wide_floats[0], 1.0f);
    EXPECT_FLOAT_EQ(wide_floats[1], 0.0f);
}

TEST(AudioConvert, SameOrUnknownFormatsLeaveTheWaveAlone) {
    std::vector<int16_t> samples = {100, -100};
    audio_wave wave = wave_over(samples, AUDIO_FORMAT_SIGNED_16, 4);
    audio_wave_convert(&wave, AUDIO_FORMAT_SIGNED_16);
    audio_wave_convert(&wave, 9);
    EXPECT_EQ(wave.format, AUDIO_FORMAT_SIGNED_16);
    EXPECT_EQ(wave.size, 4);
    EXPECT_EQ(samples[0], 100);
    EXPECT_EQ(samples[1], -100);
}

class AudioWaves : public ::testing::Test {
protected:
    scratch_directory directory{"waves"};
    audio_arena arena{1 << 22};
};

std::vector<int16_t> sixteen_bit_samples(const audio_wave& wave) {
    std::vector<int16_t> samples(static_cast<size_t>(wave.size / 2));
    memcpy(samples.data(), wave.samples, static_cast<size_t>(wave.size));
    return samples;
}

TEST_F(AudioWaves, WavAndFlacDecodeInFullFromFilesAndMemory) {
    std::vector<int16_t> ramp = audio_ramp(500, 2);
    for (auto [name, format] : {std::pair{"ramp.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
                                std::pair{"ramp.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16}}) {
        std::string path = directory.path(name);
        ASSERT_TRUE(write_sound_file(path, format, 2, 22050, ramp));
        audio_wave wave = audio_wave_load(AUDIO_FORMAT_SIGNED_16, audio_text(path));
        ASSERT_NE(wave.samples, nullptr) << name;
        EXPECT_EQ(wave.format, AUDIO_FORMAT_SIGNED_16);
        EXPECT_EQ(wave.channels, 2u);
        EXPECT_EQ(wave.frequency, 22050u);
        EXPECT_EQ(wave.size, 2000);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(wave.samples) % 8, 0u);
        EXPECT_EQ(sixteen_bit_samples(wave), ramp) << name;

        std::vector<uint8_t> bytes = read_bytes(path);
        audio_wave from_memory =
            audio_wave_load_from_memory(AUDIO_FORMAT_SIGNED_16, static_cast<int64_t>(bytes.size()), bytes.data());
        ASSERT_NE(from_memory.samples, nullptr) << name;
        EXPECT_EQ(sixteen_bit_samples(from_memory), ramp) << name;
    }
}

TEST_F(AudioWaves, LoadingConvertsToTheRequestedFormat) {
    std::vector<int16_t> ramp = audio_ramp(100, 1);
    std::string path = directory.path("ramp.wav");
    ASSERT_TRUE(write_sound_file(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000, ramp));

    audio_wave eight = audio_wave_load(AUDIO_FORMAT_UNSIGNED_8, audio_text(path));
    ASSERT_NE(eight.samples, nullptr);
    EXPECT_EQ(eight.format, AUDIO_FORMAT_UNSIGNED_8);
    EXPECT_EQ(eight.size, 100);
    const uint8_t* bytes = static_cast<const uint8_t*>(eight.samples);
    for (size_t i = 0; i < ramp.size(); ++i)
        ASSERT_EQ(bytes[i], static_cast<uint8_t>((static_cast<uint16_t>(ramp[i]) >> 8) ^ 0x80)) << i;

    audio_wave wide = audio_wave_load(AUDIO_FORMAT_SIGNED_32, audio_text(path));
    ASSERT_NE(wide.samples, nullptr);
    EXPECT_EQ(wide.size, 400);
    const int32_t* words = static_cast<const int32_t*>(wide.samples);
    for (size_t i = 0; i < ramp.size(); ++i) ASSERT_EQ(words[i], int32_t{ramp[i]} * 65536) << i;

    audio_wave floats = audio_wave_load(AUDIO_FORMAT_FLOAT, audio_text(path));
    ASSERT_NE(floats.samples, nullptr);
    EXPECT_EQ(floats.size, 400);
    const float* values = static_cast<const float*>(floats.samples);
    for (size_t i = 0; i < ramp.size(); ++i) ASSERT_NEAR(values[i], ramp[i] / 32768.0, 1e-6) << i;
}

TEST_F(AudioWaves, FloatFilesDecodeAsIntegersAtFullScale) {
    std::vector<float> samples = {0.5f, -0.25f, 1.0f, 0.0f};
    std::string path = directory.path("float.wav");
    ASSERT_TRUE(write_sound_file(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 8000, samples));
    audio_wave wave = audio_wave_load(AUDIO_FORMAT_SIGNED_16, audio_text(path));
    ASSERT_NE(wave.samples, nullptr);
    EXPECT_EQ(sixteen_bit_samples(wave), (std::vector<int16_t>{16383, -8191, 32767, 0}));
}

TEST_F(AudioWaves, UnknownContentFormatsAndBrokenDataGiveAZeroedWave) {
    std::vector<int16_t> ramp = audio_ramp(10, 1);
    std::string upper = directory.path("ramp.WAV");
    ASSERT_TRUE(write_sound_file(upper, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000, ramp));
    std::string lower = directory.path("ramp.wav");
    ASSERT_TRUE(write_sound_file(lower, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000, ramp));
    std::vector<uint8_t> good = read_bytes(lower);
    std::vector<uint8_t> garbage(64, 0x5A);
    memcpy(garbage.data(), "RIFF", 4);
    std::vector<uint8_t> truncated(good.begin(), good.begin() + 20);

    // The content decides, not the name.
    EXPECT_EQ(audio_wave_load(AUDIO_FORMAT_SIGNED_16, audio_text(upper)).size, 20);
    std::vector<audio_wave> failures = {
        audio_wave_load(AUDIO_FORMAT_FLOAT + 1, audio_text(lower)),
        audio_wave_load(AUDIO_FORMAT_SIGNED_16, audio_text(directory.path("missing.wav"))),
        audio_wave_load(AUDIO_FORMAT_SIGNED_16, audio_text(directory.path("noextension"))),
        audio_wave_load_from_memory(AUDIO_FORMAT_SIGNED_16, 3, good.data()),
        audio_wave_load_from_memory(AUDIO_FORMAT_SIGNED_16, 64, garbage.data()),
        audio_wave_load_from_memory(AUDIO_FORMAT_SIGNED_16, 20, truncated.data()),
        audio_wave_load_from_memory(8, static_cast<int64_t>(good.size()), good.data()),
    };
    for (size_t i = 0; i < failures.size(); ++i) {
        EXPECT_EQ(failures[i].samples, nullptr) << i;
        EXPECT_EQ(failures[i].size, 0) << i;
        EXPECT_EQ(failures[i].channels, 0u) << i;
    }
}

TEST_F(AudioWaves, AListThatWouldBeReadForEverIsRefusedWhileListsOfTextStillLoad) {
    // The LIST chunk's one part, of size 0xFFFFFFF7, would send libsndfile back to that part for ever.
    std::vector<uint8_t> endless = {'R', 'I', 'F', 'F', 44, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                                    16, 0, 0, 0, 1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x80, 0x3E, 0, 0,
                                    2, 0, 16, 0, 'L', 'I', 'S', 'T', 0x04, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                    0xF7, 0xFF, 0xFF, 0xFF};
    std::string path = directory.path("endless.wav");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(endless.data()), endless.size());
    for (audio_wave wave : {audio_wave_load_from_memory(AUDIO_FORMAT_SIGNED_16, 52, endless.data()),
                            audio_wave_load(AUDIO_FORMAT_SIGNED_16, audio_text(path))}) {
        EXPECT_EQ(wave.samples, nullptr);
        EXPECT_STREQ(system_get_error().text.data, "the sound data cannot be decoded");
    }
    int32_t stream = audio_stream_open_from_memory(AUDIO_FORMAT_SIGNED_16, 52, endless.data());
    EXPECT_EQ(audio_stream_read_info(stream).channels, 0u);
    audio_stream_close(stream);

    // Every "INFO" of this list starts a list of its own to walk: refused, not walked for hours.
    std::vector<uint8_t> nested(endless.begin(), endless.begin() + 44);
    for (int i = 0; i < 400000; i++) nested.insert(nested.end(), {'I', 'N', 'F', 'O'});
    EXPECT_EQ(audio_wave_load_from_memory(AUDIO_FORMAT_SIGNED_16, static_cast<int64_t>(nested.size()), nested.data())
                  .samples,
              nullptr);

    // A named file carries its name and comment in a LIST chunk of INFO parts.
    std::vector<int16_t> ramp = audio_ramp(100, 1);
    std::string named = directory.path("named.wav");
    SF_INFO info{0, 8000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0, 0};
    SNDFILE* file = sf_open(named.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    sf_set_string(file, SF_STR_TITLE, "ramp");
    sf_set_string(file, SF_STR_COMMENT, std::string(3000, 'c').c_str());
    sf_write_short(file, ramp.data(), static_cast<sf_count_t>(ramp.size()));
    sf_close(file);
    std::vector<uint8_t> bytes = read_bytes(named);
    ASSERT_NE(std::search(bytes.begin(), bytes.end(), std::begin("LIST"), std::end("LIST") - 1), bytes.end());
    EXPECT_EQ(sixteen_bit_samples(audio_wave_load(AUDIO_FORMAT_SIGNED_16, audio_text(named))), ramp);
    audio_set_buffer_position(0);
    EXPECT_EQ(sixteen_bit_samples(audio_wave_load_from_memory(AUDIO_FORMAT_SIGNED_16,
                                                              static_cast<int64_t>(bytes.size()), bytes.data())),
              ramp);
}

TEST_F(AudioWaves, AnExhaustedArenaSaysSoAndTheLoadFails) {
    std::vector<int16_t> ramp = audio_ramp(1000, 1);
    std::string path = directory.path("ramp.wav");
    ASSERT_TRUE(write_sound_file(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000, ramp));
    std::vector<uint8_t> small(1999);
    audio_set_buffer(static_cast<int64_t>(small.size()), small.data());
    ::testing::internal::CaptureStdout();
    audio_wave wave = audio_wave_load(AUDIO_FORMAT_SIGNED_16, audio_text(path));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "audio memory allocation failed\n");
    EXPECT_EQ(wave.samples, nullptr);

    std::vector<uint8_t> exact(2000);
    audio_set_buffer(static_cast<int64_t>(exact.size()), exact.data());
    audio_wave fits = audio_wave_load(AUDIO_FORMAT_SIGNED_16, audio_text(path));
    EXPECT_EQ(fits.samples, exact.data());
    EXPECT_EQ(audio_get_buffer_position(), 2000);
    audio_set_buffer_position(0);
    EXPECT_EQ(audio_wave_load(AUDIO_FORMAT_SIGNED_16, audio_text(path)).samples, exact.data());
}

TEST_F(AudioWaves, SavedWavesReadBackAsTheyWereForEveryFormat) {
    std::vector<int16_t> ramp = audio_ramp(300, 2);
    std::string source = directory.path("ramp.wav");
    ASSERT_TRUE(write_sound_file(source, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 11025, ramp));
    for (uint8_t format = 0; format <= AUDIO_FORMAT_FLOAT; ++format) {
        audio_wave original = audio_wave_load(format, audio_text(source));
        ASSERT_NE(original.samples, nullptr);
        std::vector<uint8_t> expected(static_cast<uint8_t*>(original.samples),
                                      static_cast<uint8_t*>(original.samples) + original.size);
        std::string saved = directory.path("saved" + std::to_string(format) + ".wav");
        ASSERT_TRUE(audio_wave_save(original, audio_text(saved))) << int{format};
        audio_wave again = audio_wave_load(format, audio_text(saved));
        ASSERT_NE(again.samples, nullptr) << int{format};
        EXPECT_EQ(again.channels, 2u);
        EXPECT_EQ(again.frequency, 11025u);
        ASSERT_EQ(again.size, original.size) << int{format};
        std::vector<uint8_t> actual(static_cast<uint8_t*>(again.samples),
                                    static_cast<uint8_t*>(again.samples) + again.size);
        if (format == AUDIO_FORMAT_FLOAT) {
            // Float is stored as 32-bit integers: 32767 and 32768 scales differ by one part in 32768.
            const float* a = reinterpret_cast<const float*>(actual.data());
            const float* e = reinterpret_cast<const float*>(expected.data());
            for (size_t i = 0; i < actual.size() / 4; ++i) ASSERT_NEAR(a[i], e[i], 1e-4) << i;
        } else {
            EXPECT_EQ(actual, expected) << int{format};
        }
        audio_set_buffer_position(0);
    }
}

TEST_F(AudioWaves, SavingRefusesEmptyOrUnknownWavesAndUnwritablePaths) {
    std::vector<int16_t> samples = {1, 2, 3, 4};
    audio_wave wave{AUDIO_FORMAT_SIGNED_16, 1, 8000, 8, samples.data()};
    EXPECT_FALSE(audio_wave_save(audio_wave{}, audio_text(directory.path("empty.wav"))));
    audio_wave unknown = wave;
    unknown.format = 7;
    EXPECT_FALSE(audio_wave_save(unknown, audio_text(directory.path("unknown.wav"))));
    EXPECT_FALSE(audio_wave_save(wave, audio_text(directory.path("no/such/directory.wav"))));
    EXPECT_TRUE(audio_wave_save(wave, audio_text(directory.path("good.wav"))));
}

TEST_F(AudioWaves, OggVorbisDecodesAsFloatAndAsSixteenBit) {
    std::vector<float> sine = audio_sine(4000, 2);
    std::string path = directory.path("sine.ogg");
    ASSERT_TRUE(write_sound_file(path, SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 8000, sine));

    audio_wave floats = audio_wave_load(AUDIO_FORMAT_FLOAT, audio_text(path));
    ASSERT_NE(floats.samples, nullptr);
    EXPECT_EQ(floats.channels, 2u);
    EXPECT_EQ(floats.frequency, 8000u);
    ASSERT_EQ(floats.size, static_cast<int64_t>(sine.size() * 4));
    const float* decoded = static_cast<const float*>(floats.samples);
    double error = 0;
    for (size_t i = 0; i < sine.size(); ++i) error += std::fabs(decoded[i] - sine[i]);
    EXPECT_LT(error / static_cast<double>(sine.size()), 0.02);

    std::vector<uint8_t> bytes = read_bytes(path);
    audio_wave shorts =
        audio_wave_load_from_memory(AUDIO_FORMAT_SIGNED_16, static_cast<int64_t>(bytes.size()), bytes.data());
    ASSERT_NE(shorts.samples, nullptr);
    ASSERT_EQ(shorts.size, static_cast<int64_t>(sine.size() * 2));
    const int16_t* whole = static_cast<const int16_t*>(shorts.samples);
    for (size_t i = 0; i < sine.size(); i += 97) ASSERT_NEAR(whole[i] / 32767.0, decoded[i], 2e-4) << i;

    std::vector<uint8_t> truncated(bytes.begin(), bytes.begin() + 40);
    EXPECT_EQ(audio_wave_load_from_memory(AUDIO_FORMAT_FLOAT, 40, truncated.data()).samples, nullptr);
    std::vector<uint8_t> garbage(256, 0x33);
    memcpy(garbage.data(), "OggS", 4);
    EXPECT_EQ(audio_wave_load_from_memory(AUDIO_FORMAT_SIGNED_16, 256, garbage.data()).samples, nullptr);
}

}  // namespace
