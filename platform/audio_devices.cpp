// The output and input devices over SDL, and the audio arena the decoders allocate from.
#include "audio_internal.h"

#include <SDL.h>

#include <cstdint>
#include <cstring>

uint32_t audio_player_id;
uint32_t audio_recorder_id;

CallerBlock audio_memory{nullptr, 0, 0, "audio memory allocation failed", "audio memory reallocation failed", false};

static const SDL_AudioFormat device_formats[] = {AUDIO_U8,     AUDIO_U16LSB, AUDIO_S32LSB, AUDIO_S8,
                                                 AUDIO_S16LSB, AUDIO_S32LSB, AUDIO_F32LSB};

// What each open device really plays or records; zero while it is closed.
static audio_device_format player_format;
static audio_device_format recorder_format;

static uint8_t format_code(SDL_AudioFormat format) {
    for (uint8_t code = 0; code <= AUDIO_FORMAT_FLOAT; ++code) {
        if (code != AUDIO_FORMAT_UNSIGNED_32 && device_formats[code] == format) return code;
    }
    return AUDIO_FORMAT_SIGNED_16;
}

static uint32_t open_device(bool recorder, uint8_t format, uint8_t channels, uint32_t frequency,
                            uint16_t buffer_samples, audio_callback callback, void* user_data) {
    audio_device_format* obtained_format = recorder ? &recorder_format : &player_format;
    *obtained_format = audio_device_format{};
    if (channels == 0 || frequency == 0 || frequency > INT32_MAX || buffer_samples == 0) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "audio devices need channels, a frequency and buffer samples, not %d, %u, %d",
                  channels, frequency, buffer_samples);
        return 0;
    }
    SDL_AudioSpec wanted;
    SDL_zero(wanted);
    wanted.freq = static_cast<int>(frequency);
    wanted.format = device_formats[format];
    wanted.channels = channels;
    wanted.samples = buffer_samples;
    wanted.callback = callback;
    wanted.userdata = user_data;
    SDL_AudioSpec obtained;
    uint32_t device = SDL_OpenAudioDevice(nullptr, recorder ? 1 : 0, &wanted, &obtained, 0);
    if (device == 0) {
        set_error(SYSTEM_ERROR_OPERATING_SYSTEM, "cannot open the audio device: %s", SDL_GetError());
        return 0;
    }
    *obtained_format = audio_device_format{format_code(obtained.format), obtained.channels,
                                           static_cast<uint32_t>(obtained.freq), obtained.samples, obtained.size};
    return device;
}

bool audio_open(uint8_t format, uint8_t channels, uint32_t frequency, uint16_t buffer_samples,
                audio_callback callback, void* user_data) {
    if (format == AUDIO_FORMAT_UNSIGNED_32 || format > AUDIO_FORMAT_FLOAT) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "audio format %d cannot be played", format);
        return false;
    }
    audio_player_id = open_device(false, format, channels, frequency, buffer_samples, callback, user_data);
    return audio_player_id != 0;
}

void audio_play() { SDL_PauseAudioDevice(audio_player_id, 0); }
void audio_pause() { SDL_PauseAudioDevice(audio_player_id, 1); }
void audio_close() {
    SDL_CloseAudioDevice(audio_player_id);
    player_format = audio_device_format{};
}
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
void audio_recorder_close() {
    SDL_CloseAudioDevice(audio_recorder_id);
    recorder_format = audio_device_format{};
}

audio_device_format audio_get_format() { return player_format; }
audio_device_format audio_recorder_get_format() { return recorder_format; }
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
