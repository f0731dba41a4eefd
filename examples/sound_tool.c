/* Loads a WAV, FLAC or Ogg Vorbis file, prints its format and saves its samples as a 16-bit WAV.
 *
 *   sound_tool INPUT OUTPUT.wav
 *
 * The input's extension chooses the decoder and must be "wav", "flac" or "ogg" in lower case.
 * Build: cc sound_tool.c $(pkg-config --cflags --libs kestrune_system) -o sound_tool */
#include <kestrune_system.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static string text(const char* characters) {
    string result = {characters, (int64_t)strlen(characters)};
    return result;
}

/* The decoders take their working memory from the caller's block, so even reading the
 * header needs one; this size covers an Ogg Vorbis decoder's state. */
#define DECODER_BLOCK_SIZE (4 << 20)

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: sound_tool INPUT OUTPUT.wav\n");
        return 2;
    }
    system_init(SYSTEM_TIMER);

    void* probe_block = malloc(DECODER_BLOCK_SIZE);
    audio_set_buffer(DECODER_BLOCK_SIZE, probe_block);
    int32_t slot = audio_stream_open(AUDIO_FORMAT_SIGNED_16, text(argv[1]), false);
    audio_stream_info info = {0, 0, 0, 0};
    if (slot >= 0) {
        info = audio_stream_read_info(slot);
        audio_stream_close(slot);
    }
    audio_set_buffer(0, NULL);
    free(probe_block);
    if (info.channels == 0 || info.frequency == 0) {
        fprintf(stderr, "%s is not a sound file this tool reads\n", argv[1]);
        system_release();
        return 1;
    }
    int64_t frames = info.size / (int64_t)(info.channels * sizeof(int16_t));
    printf("%s: %u channels, %u Hz, %lld frames, %.3f seconds\n", argv[1], info.channels, info.frequency,
           (long long)frames, (double)frames / info.frequency);

    /* Room for the samples twice over (a decoder may grow its output by copying) and its state. */
    int64_t block_size = 2 * info.size + DECODER_BLOCK_SIZE;
    void* block = malloc((size_t)block_size);
    audio_set_buffer(block_size, block);
    audio_wave wave = audio_wave_load(AUDIO_FORMAT_SIGNED_16, text(argv[1]));
    bool saved = wave.samples && audio_wave_save(wave, text(argv[2]));
    audio_set_buffer(0, NULL);
    free(block);
    system_release();

    if (!saved) {
        fprintf(stderr, "%s could not be converted to %s\n", argv[1], argv[2]);
        return 1;
    }
    printf("saved %s as 16-bit WAV\n", argv[2]);
    return 0;
}
