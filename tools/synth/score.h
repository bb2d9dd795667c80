// A piece of music or an effect as written in a .score file: instruments,
// patterns of notes on lanes, and the order the patterns are played in.
#pragma once
#include <string>
#include <vector>

enum Wave {
    WAVE_PULSE,
    WAVE_TRIANGLE,
    WAVE_SAW,
    WAVE_SINE,
    WAVE_NOISE,
    WAVE_FM,
    WAVE_PAD,
    WAVE_PLUCK,
    WAVE_KIT
};

struct Instrument {
    std::string name;
    Wave wave = WAVE_PULSE;
    float duty = 0.5f;
    // Envelope: attack, decay and release in ms, sustain as a level.
    float attack = 2, decay = 100, sustain = 0.7f, release = 80;
    float gain = 0.5f, pan = 0;
    float gate = 1;                 // share of the held length before the release
    float echo = 0, reverb = 0.15f; // sends to the shared echo and room
    float cutoff = 0, q = 0.7f;     // low-pass in Hz, 0 = open
    float fenv = 0, fdecay = 200;   // cutoff raised by fenv octaves at the start
    float highpass = 0;             // Hz, 0 = none
    float keytrack = 0;             // noise: cutoff = note frequency x keytrack
    float vibrato = 0, vrate = 5.5f, vdelay = 150;
    float sweep = 0, sweeptime = 100; // semitones over ms from the start of a note
    float detune = 0;                 // cents; the spread of a pad's voices
    int voices = 3;
    float ratio = 2, index = 0, idecay = 0; // FM: modulator ratio, index and its decay
    float arp = 0;                          // ms per chord note, 0 = all at once
    float trem = 0, trate = 6;
    float drive = 0;
    int crush = 1;
    int octave = 0;
    float pitch = 1; // kit: tuning
    float glide = 0; // ms from the lane's previous note
};

// One note (or drum hit) in time, in beats from the start of the song.
struct NoteEvent {
    double beat = 0;
    double length = 0;          // beats held
    std::vector<float> pitches; // MIDI note numbers; kit: drum letters as codes
    float velocity = 1;
    int instrument = 0;
    int serial = 0; // numbered in song order, so noise is the same on every loop
};

struct Token {
    enum Kind { NOTE, HOLD, REST } kind = REST;
    std::vector<float> pitches; // semitones (MIDI numbers) or drum letters
    float velocity = 1;
};

struct Lane {
    int instrument = 0;
    double perBeat = 4; // tokens per beat
    std::vector<Token> tokens;
    int line = 0;
};

struct Pattern {
    std::string name;
    int bars = 1;
    std::vector<Lane> lanes;
};

// Patterns played together (all of the same length), shifted by semitones.
struct SongItem {
    std::vector<int> patterns;
    int transpose = 0;
};

struct Score {
    std::string file;
    double tempo = 120;
    int steps = 4;
    int beats = 4;
    double swing = 0;
    bool loop = true;
    double tail = 1;
    int channels = 2;
    int rate = 44100;
    double echoBeats = 0.75, echoFeedback = 0.35, echoDamp = 0.4;
    double roomSize = 0.7, roomDamp = 0.5;
    bool levelGiven = false;
    double level = -18; // RMS target in dBFS (music)
    double peak = -1.5; // limiter ceiling, or the normalised peak of an effect
    std::vector<Instrument> instruments;
    std::vector<Pattern> patterns;
    std::vector<SongItem> song;
};

// Reads a score; false with "file:line: reason" when it is not a valid one.
bool readScore(const std::string &path, Score &score, std::string &error);
bool parseScore(const std::string &text, const std::string &name, Score &score, std::string &error);
// Every note of the song, ordered by time.
std::vector<NoteEvent> scheduleSong(const Score &score);
double songBeats(const Score &score);
// Drum letters of a kit lane.
constexpr const char *KIT_LETTERS = "kshoxrptmiz";
