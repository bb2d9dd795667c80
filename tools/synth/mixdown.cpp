#include "dsp.h"
#include "effects.h"
#include "render.h"
#include <algorithm>
#include <map>

namespace {

// Music is rendered with this much room after its last bar; what rings on
// past the end is laid back over the beginning, which is exactly what is
// heard when the piece loops.
constexpr double LOOP_TAIL_SECONDS = 12;

// Where each drum of a kit stands, left (-1) to right (1).
double drumPan(char drum) {
    switch (drum) {
    case 'h':
    case 'o':
    case 'z':
        return 0.3;
    case 'x':
        return -0.25;
    case 't':
        return -0.35;
    case 'i':
        return 0.35;
    default:
        return 0;
    }
}

struct Bus {
    std::vector<float> left, right, echo, room;
    explicit Bus(size_t frames) : left(frames), right(frames), echo(frames), room(frames) {}
    void add(const std::vector<float> &sound, size_t start, double pan, double echoSend,
             double roomSend, bool mono) {
        // Equal power, with the centre at full level on both sides.
        const double angle = (std::clamp(pan, -1.0, 1.0) + 1) * PI / 4;
        const double l = mono ? 1 : std::cos(angle) * std::sqrt(2.0);
        const double r = mono ? 1 : std::sin(angle) * std::sqrt(2.0);
        const size_t end = std::min(left.size(), start + sound.size());
        for (size_t n = start; n < end; n++) {
            const float s = sound[n - start];
            left[n] += static_cast<float>(s * l);
            right[n] += static_cast<float>(s * r);
            echo[n] += static_cast<float>(s * echoSend);
            room[n] += static_cast<float>(s * roomSend);
        }
    }
};

double rmsOf(const std::vector<float> &x) {
    double sum = 0;
    for (float s : x)
        sum += static_cast<double>(s) * s;
    return x.empty() ? 0 : std::sqrt(sum / x.size());
}

} // namespace

Audio renderScore(const Score &score) {
    const int rate = score.rate;
    const bool mono = score.channels == 1;
    const double secondsPerBeat = 60.0 / score.tempo;
    const size_t songFrames =
        static_cast<size_t>(std::llround(songBeats(score) * secondsPerBeat * rate));
    const double tail = score.loop ? LOOP_TAIL_SECONDS : score.tail;
    const size_t frames = songFrames + static_cast<size_t>(tail * rate);
    Bus bus(frames);

    std::map<int, double> lastPitch; // by instrument, for glides
    for (const NoteEvent &e : scheduleSong(score)) {
        const Instrument &ins = score.instruments[e.instrument];
        const size_t start = static_cast<size_t>(std::llround(e.beat * secondsPerBeat * rate));
        if (ins.wave == WAVE_KIT) {
            for (float drum : e.pitches) {
                const char letter = static_cast<char>(drum);
                std::vector<float> hit =
                    renderDrum(letter, e.velocity * ins.gain, ins.pitch,
                               static_cast<uint32_t>(e.serial * 131 + letter), rate);
                bus.add(hit, start, ins.pan + drumPan(letter), ins.echo, ins.reverb, mono);
            }
            continue;
        }
        auto last = lastPitch.find(e.instrument);
        const double from = last == lastPitch.end() ? -1 : last->second;
        std::vector<float> note = renderNote(ins, e, e.length * secondsPerBeat, from, rate);
        lastPitch[e.instrument] = e.pitches[0];
        bus.add(note, start, ins.pan, ins.echo, ins.reverb, mono);
    }

    const int echoFrames = static_cast<int>(std::llround(score.echoBeats * secondsPerBeat * rate));
    addEcho(bus.echo, echoFrames, score.echoFeedback, score.echoDamp, bus.left, bus.right);
    addRoom(bus.room, score.roomSize, score.roomDamp, rate, bus.left, bus.right);

    Audio audio;
    audio.rate = rate;
    audio.channels = score.channels;
    std::vector<std::vector<float> *> sides = {&bus.left, &bus.right};
    if (mono)
        for (size_t n = 0; n < frames; n++)
            bus.left[n] = 0.5f * (bus.left[n] + bus.right[n]);
    // No slow drift away from zero.
    for (int c = 0; c < score.channels; c++) {
        HighPass dc;
        dc.set(12, rate);
        for (float &s : *sides[c])
            s = static_cast<float>(dc.run(s));
    }
    size_t outFrames = frames;
    if (score.loop) {
        for (int c = 0; c < score.channels; c++) {
            std::vector<float> &x = *sides[c];
            for (size_t n = songFrames; n < frames; n++)
                x[n % songFrames] += x[n];
        }
        outFrames = songFrames;
    }
    audio.samples.resize(outFrames * score.channels);
    for (size_t n = 0; n < outFrames; n++)
        for (int c = 0; c < score.channels; c++)
            audio.samples[n * score.channels + c] = (*sides[c])[n];

    const double ceiling = dbToGain(score.peak);
    if (score.levelGiven || score.loop) {
        const double rms = rmsOf(audio.samples);
        const double gain = rms > 0 ? dbToGain(score.level) / rms : 1;
        for (float &s : audio.samples)
            s = static_cast<float>(s * gain);
        limit(audio.samples, score.channels, rate, ceiling, score.loop);
    } else {
        float peak = 0;
        for (float s : audio.samples)
            peak = std::max(peak, std::fabs(s));
        const double gain = peak > 0 ? ceiling / peak : 1;
        for (float &s : audio.samples)
            s = static_cast<float>(s * gain);
    }
    if (!score.loop) {
        // An effect ends 10 ms after it falls below -60 dBFS, in a fade, never a click.
        size_t last = 0;
        for (size_t i = 0; i < audio.samples.size(); i++)
            if (std::fabs(audio.samples[i]) > 0.001f)
                last = i / score.channels;
        outFrames = std::min(outFrames, last + rate / 100 + 1);
        audio.samples.resize(outFrames * score.channels);
        const size_t fade = std::min<size_t>(outFrames, rate / 100);
        for (size_t i = 0; i < fade; i++)
            for (int c = 0; c < score.channels; c++)
                audio.samples[(outFrames - 1 - i) * score.channels + c] *=
                    static_cast<float>(i) / fade;
    }
    return audio;
}
