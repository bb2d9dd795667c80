// Reading and writing sound files, and measuring them.
#pragma once
#include "render.h"
#include <string>

// 16-bit PCM WAV.
bool writeWav(const std::string &path, const Audio &audio, std::string &error);
// 16-bit PCM or 32-bit float WAV, and Ogg Vorbis where the build has the decoder.
bool readAudio(const std::string &path, Audio &audio, std::string &error);

struct Measure {
    double seconds = 0;
    double peakDb = -200;   // highest sample, dBFS
    double rmsDb = -200;    // whole file, dBFS
    double loudness = -200; // integrated, LUFS (K-weighted, gated)
    double joinJump = 0;    // |first - last| as a share of the typical step between samples
};
Measure measure(const Audio &audio);
