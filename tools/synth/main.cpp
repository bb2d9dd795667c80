// synth: renders the game's music and effects from their scores.
//
//   synth SCORE -o OUT.wav      render one score to a 16-bit WAV
//   synth --check SCORE...      read scores and report their length, nothing else
//   synth --measure FILE...     length, peak, RMS, loudness and loop join of sound files
//   synth --compare SCORE FILE  whether FILE is what SCORE renders to (up to the codec's noise)
#include "audio_files.h"
#include "render.h"
#include "score.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

static int usage() {
    fprintf(stderr, "usage: synth SCORE -o OUT.wav\n"
                    "       synth --check SCORE...\n"
                    "       synth --measure FILE...\n"
                    "       synth --compare SCORE FILE\n");
    return 2;
}

static int check(int argc, char **argv) {
    int bad = 0;
    for (int i = 2; i < argc; i++) {
        Score score;
        std::string error;
        if (!readScore(argv[i], score, error)) {
            fprintf(stderr, "%s\n", error.c_str());
            bad = 1;
            continue;
        }
        printf("%s: %.2f s, %zu instruments, %zu patterns, %s\n", argv[i],
               songBeats(score) * 60 / score.tempo, score.instruments.size(), score.patterns.size(),
               score.loop ? "loops" : "plays once");
    }
    return bad;
}

static int measureFiles(int argc, char **argv) {
    int bad = 0;
    for (int i = 2; i < argc; i++) {
        Audio audio;
        std::string error;
        if (!readAudio(argv[i], audio, error)) {
            fprintf(stderr, "%s\n", error.c_str());
            bad = 1;
            continue;
        }
        const Measure m = measure(audio);
        printf("%s: %.2f s, %d Hz, %s, peak %.1f dBFS, RMS %.1f dBFS, %.1f LUFS, join %.2f\n",
               argv[i], m.seconds, audio.rate, audio.channels == 1 ? "mono" : "stereo", m.peakDb,
               m.rmsDb, m.loudness, m.joinJump);
    }
    return bad;
}

// The rendered score against an encoded file: same shape, and a difference
// well below the sound itself. The codec keeps the sound, not the wave (noise
// comes back as other noise), so even a faithful file differs by about -20 dB.
static int compare(const char *scorePath, const char *filePath) {
    Score score;
    Audio file;
    std::string error;
    if (!readScore(scorePath, score, error) || !readAudio(filePath, file, error)) {
        fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const Audio fresh = renderScore(score);
    if (fresh.channels != file.channels || fresh.rate != file.rate ||
        fresh.frames() != file.frames()) {
        printf("%s: %zu frames, %d channels at %d Hz; the score gives %zu, %d at %d\n", filePath,
               file.frames(), file.channels, file.rate, fresh.frames(), fresh.channels, fresh.rate);
        return 1;
    }
    double signal = 0, noise = 0;
    for (size_t i = 0; i < fresh.samples.size(); i++) {
        signal += double(fresh.samples[i]) * fresh.samples[i];
        const double d = double(fresh.samples[i]) - file.samples[i];
        noise += d * d;
    }
    const double db = 10 * std::log10(std::max(noise, 1e-20) / std::max(signal, 1e-20));
    printf("%s: differs from its score by %.1f dB\n", filePath, db);
    return db < -12 ? 0 : 1;
}

int main(int argc, char **argv) {
    if (argc == 4 && strcmp(argv[1], "--compare") == 0)
        return compare(argv[2], argv[3]);
    if (argc >= 3 && strcmp(argv[1], "--check") == 0)
        return check(argc, argv);
    if (argc >= 3 && strcmp(argv[1], "--measure") == 0)
        return measureFiles(argc, argv);
    if (argc != 4 || strcmp(argv[2], "-o") != 0)
        return usage();
    Score score;
    std::string error;
    if (!readScore(argv[1], score, error)) {
        fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const Audio audio = renderScore(score);
    if (!writeWav(argv[3], audio, error)) {
        fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
