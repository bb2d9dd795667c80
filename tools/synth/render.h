// Turning a score into samples.
#pragma once
#include "score.h"
#include <vector>

// Interleaved samples in -1..1.
struct Audio {
    int rate = 44100;
    int channels = 2;
    std::vector<float> samples;
    size_t frames() const { return channels ? samples.size() / channels : 0; }
};

// One note of an instrument, mono, from its start to the end of its release.
std::vector<float> renderNote(const Instrument &ins, const NoteEvent &note, double secondsHeld,
                              double glideFrom, int rate);
// One drum hit of a kit.
std::vector<float> renderDrum(char drum, float velocity, float pitch, uint32_t seed, int rate);
// The whole piece, mixed, levelled and (for music) joined end to start.
Audio renderScore(const Score &score);
