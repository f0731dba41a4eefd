// The output and input devices on SDL's dummy driver: refused formats and running callbacks.
#include "kestrune_system.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>

namespace {

void start_audio() {
    static bool started = false;
    if (started) return;
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    system_init(SYSTEM_TIMER | SYSTEM_AUDIO);
    started = true;
}

void count_callback(void* user_data, uint8_t*, int length) {
    if (length > 0) static_cast<std::atomic<int>*>(user_data)->fetch_add(1);
}

bool wait_for_calls(const std::atomic<int>& calls) {
    for (int waited = 0; waited < 200 && calls.load() == 0; ++waited) system_sleep(10);
    return calls.load() > 0;
}

TEST(AudioDevices, ThePlayerRefusesUnsignedThirtyTwoAndUnknownFormats) {
    start_audio();
    std::atomic<int> calls{0};
    EXPECT_FALSE(audio_open(AUDIO_FORMAT_UNSIGNED_32, 2, 44100, 512, count_callback, &calls));
    EXPECT_FALSE(audio_open(AUDIO_FORMAT_FLOAT + 1, 2, 44100, 512, count_callback, &calls));
}

TEST(AudioDevices, ThePlayerRunsItsCallbackOnlyWhilePlaying) {
    start_audio();
    std::atomic<int> calls{0};
    ASSERT_TRUE(audio_open(AUDIO_FORMAT_SIGNED_16, 2, 44100, 512, count_callback, &calls));
    EXPECT_NE(audio_player_id, 0u);
    system_sleep(100);
    EXPECT_EQ(calls.load(), 0);
    audio_play();
    EXPECT_TRUE(wait_for_calls(calls));
    audio_pause();
    audio_lock();
    int paused_at = calls.load();
    audio_unlock();
    system_sleep(100);
    EXPECT_EQ(calls.load(), paused_at);
    audio_close();
}

TEST(AudioDevices, TheRecorderTakesFormatsThePlayerRefuses) {
    start_audio();
    std::atomic<int> calls{0};
    ASSERT_TRUE(audio_recorder_open(AUDIO_FORMAT_UNSIGNED_32, 1, 22050, 256, count_callback, &calls));
    audio_recorder_close();
    ASSERT_TRUE(audio_recorder_open(12, 1, 22050, 256, count_callback, &calls));
    EXPECT_NE(audio_recorder_id, 0u);
    audio_recorder_record();
    EXPECT_TRUE(wait_for_calls(calls));
    audio_recorder_lock();
    audio_recorder_unlock();
    audio_recorder_pause();
    audio_recorder_close();
}

}  // namespace
