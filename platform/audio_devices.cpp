// The output and input devices over SDL, and the audio arena the decoders allocate from.
#include "audio_internal.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

uint32_t audio_player_id;
uint32_t audio_recorder_id;

uint8_t* audio_memory;
int64_t audio_memory_size;
int64_t audio_memory_pos;

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

void audio_set_buffer(int64_t size, void* memory) {
    audio_memory = static_cast<uint8_t*>(memory);
    audio_memory_size = size;
    audio_memory_pos = 0;
}

void audio_set_buffer_position(int64_t position) { audio_memory_pos = position; }
int64_t audio_get_buffer_position() { return audio_memory_pos; }

void* audio_memory_allocate(int64_t size) {
    audio_memory_pos = (audio_memory_pos + 7) & ~int64_t{7};
    if (size < 0 || audio_memory_pos + size > audio_memory_size) {
        printf("audio memory allocation failed\n");
        return nullptr;
    }
    void* block = audio_memory + audio_memory_pos;
    audio_memory_pos += size;
    return block;
}

void* audio_memory_reallocate(void* block, int64_t old_size, int64_t new_size) {
    uint8_t* bytes = static_cast<uint8_t*>(block);
    if (bytes && bytes + old_size == audio_memory + audio_memory_pos) {
        audio_memory_pos += new_size - old_size;
        if (audio_memory_pos >= audio_memory_size) {
            printf("audio memory reallocation failed\n");
            return nullptr;
        }
        return block;
    }
    void* moved = audio_memory_allocate(new_size);
    if (!moved) return nullptr;
    if (bytes && old_size > 0) memcpy(moved, bytes, static_cast<size_t>(old_size < new_size ? old_size : new_size));
    return moved;
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
