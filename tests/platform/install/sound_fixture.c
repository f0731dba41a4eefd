/* Writes a known two-channel 16-bit sound, or checks a WAV against it, through libsndfile alone,
 * so the examples' output is judged without the library under test.
 *
 *   sound_fixture write FILE          .wav, .flac or .ogg by the name's end
 *   sound_fixture same FILE.wav       a 16-bit WAV holding exactly the known samples
 *   sound_fixture shape FILE.wav      a 16-bit WAV of the known length, rate and channels (for lossy input) */
#include <sndfile.h>

#include <stdio.h>
#include <string.h>

#define FRAMES 4410
#define CHANNELS 2
#define RATE 22050

static short known_sample(int frame, int channel) {
    return (short)((frame * 37 + channel * 1000) % 65536 - 32768);
}

static int container_of(const char* path) {
    const char* dot = strrchr(path, '.');
    if (dot && strcmp(dot, ".flac") == 0) return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    if (dot && strcmp(dot, ".ogg") == 0) return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
}

static int write_known(const char* path) {
    SF_INFO info = {0};
    info.channels = CHANNELS;
    info.samplerate = RATE;
    info.format = container_of(path);
    SNDFILE* file = sf_open(path, SFM_WRITE, &info);
    if (!file) {
        fprintf(stderr, "%s: %s\n", path, sf_strerror(NULL));
        return 1;
    }
    static short samples[FRAMES * CHANNELS];
    for (int frame = 0; frame < FRAMES; ++frame) {
        for (int channel = 0; channel < CHANNELS; ++channel) {
            samples[frame * CHANNELS + channel] = known_sample(frame, channel);
        }
    }
    sf_count_t written = sf_writef_short(file, samples, FRAMES);
    sf_close(file);
    return written == FRAMES ? 0 : 1;
}

/* The first difference from the known sound, or NULL when there is none. */
static const char* difference(SNDFILE* file, const SF_INFO* info, int compare_samples) {
    if (info->format != (SF_FORMAT_WAV | SF_FORMAT_PCM_16)) return "not a 16-bit WAV";
    if (info->channels != CHANNELS) return "another channel count";
    if (info->samplerate != RATE) return "another rate";
    if (info->frames != FRAMES) return "another length";
    if (!compare_samples) return NULL;
    static short samples[FRAMES * CHANNELS];
    if (sf_readf_short(file, samples, FRAMES) != FRAMES) return "a short read";
    for (int i = 0; i < FRAMES * CHANNELS; ++i) {
        if (samples[i] != known_sample(i / CHANNELS, i % CHANNELS)) return "another sample";
    }
    return NULL;
}

static int check(const char* path, int compare_samples) {
    SF_INFO info = {0};
    SNDFILE* file = sf_open(path, SFM_READ, &info);
    if (!file) {
        fprintf(stderr, "%s: %s\n", path, sf_strerror(NULL));
        return 1;
    }
    const char* found = difference(file, &info, compare_samples);
    sf_close(file);
    if (found) {
        fprintf(stderr, "%s: %s\n", path, found);
        return 1;
    }
    printf("%s matches\n", path);
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 3 && strcmp(argv[1], "write") == 0) return write_known(argv[2]);
    if (argc == 3 && strcmp(argv[1], "same") == 0) return check(argv[2], 1);
    if (argc == 3 && strcmp(argv[1], "shape") == 0) return check(argv[2], 0);
    fprintf(stderr, "usage: sound_fixture write|same|shape FILE\n");
    return 2;
}
