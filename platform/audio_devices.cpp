// The output and input devices over SDL, and the audio arena the decoders allocate from.
#include "audio_internal.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

uint32_t audio_player_id;
uint32_t audio_recorder_id;

CallerBlock audio_memory{nullptr, 0, 0, "audio memory allocation failed", "audio memory reallocation failed"};

static const SDL_AudioFormat device_formats[] = {AUDIO_U8,     AUDIO_U16LSB, AUDIO_S32LSB, AUDIO_S8,
                                                 AUDIO_S16LSB, AUDIO_S32LSB, AUDIO_F32LSB};

static uint32_t open_device(bool recorder, uint8_t format, uint8_t channels, uint32_t frequency,
                            uint16_t buffer_samples, audio_callback callback, void* user_data) {
    SDL_AudioSpec wanted;
    SDL_zero(wanted);
    wanted.freq = static_cast<int>(frequency);
    wanted.format = device_formats[format];
    wanted.channels = channels;
    wanted.samples = buffer_samples;
    wanted.callback = callback;
    wanted.userdata = user_data;
    SDL_AudioSpec obtained;
    return SDL_OpenAudioDevice(nullptr, recorder ? 1 : 0, &wanted, &obtained, 0);
}

bool audio_open(uint8_t format, uint8_t channels, uint32_t frequency, uint16_t buffer_samples,
                audio_callback callback, void* user_data) {
    if (format == AUDIO_FORMAT_UNSIGNED_32 || format > AUDIO_FORMAT_FLOAT) return false;
    audio_player_id = open_device(false, format, channels, frequency, buffer_samples, callback, user_data);
    return audio_player_id != 0;
}

void audio_play() { SDL_PauseAudioDevice(audio_player_id, 0); }
void audio_pause() { SDL_PauseAudioDevice(audio_player_id, 1); }
void audio_close() { SDL_CloseAudioDevice(audio_player_id); }
void audio_lock() { SDL_LockAudioDevice(audio_player_id); }
void audio_unlock() { SDL_UnlockAudioDevice(audio_player_id); }

bool audio_recorder_open(uint8_t format, uint8_t channels, uint32_t frequency, uint16_t buffer_samples,
                         audio_callback callback, void* user_data) {
    if (format > AUDIO_FORMAT_FLOAT) format = AUDIO_FORMAT_SIGNED_16;
    if (format == AUDIO_FORMAT_UNSIGNED_32) format = AUDIO_FORMAT_SIGNED_32;
    audio_recorder_id = open_device(true, format, channels, frequency, buffer_samples, callback, user_data);
    return audio_recorder_id != 0;
}

void audio_recorder_record() { SDL_PauseAudioDevice(audio_recorder_id, 0); }
void audio_recorder_pause() { SDL_PauseAudioDevice(audio_recorder_id, 1); }
void audio_recorder_close() { SDL_CloseAudioDevice(audio_recorder_id); }
void audio_recorder_lock() { SDL_LockAudioDevice(audio_recorder_id); }
void audio_recorder_unlock() { SDL_UnlockAudioDevice(audio_recorder_id); }

void audio_set_buffer(int64_t size, void* memory) { caller_block_set(&audio_memory, size, memory); }
void audio_set_buffer_position(int64_t position) { audio_memory.pos = position; }
int64_t audio_get_buffer_position() { return audio_memory.pos; }

void* audio_memory_allocate(int64_t size) { return caller_block_allocate(&audio_memory, size); }

void* audio_memory_reallocate(void* block, int64_t old_size, int64_t new_size) {
    return caller_block_reallocate(&audio_memory, block, old_size, new_size);
}

int64_t audio_format_bytes(uint8_t format) {
    switch (format) {
    case AUDIO_FORMAT_UNSIGNED_8:
    case AUDIO_FORMAT_SIGNED_8: return 1;
    case AUDIO_FORMAT_UNSIGNED_32:
    case AUDIO_FORMAT_SIGNED_32:
    case AUDIO_FORMAT_FLOAT: return 4;
    default: return 2;
    }
}

string audio_path_extension(string path) {
    for (int64_t i = path.length - 1; i >= 0; --i) {
        if (path.data[i] == '.') return string{path.data + i + 1, path.length - i - 1};
    }
    return string{path.data, 0};
}
