#include "dsp.h"
#include "render.h"
#include <algorithm>

namespace {

constexpr double SILENT = 1e-4; // -80 dB: a note that has fallen this far is over

struct Envelope {
    double attack, decay, sustain, release, gate, atGate;
    double before(double t) const {
        if (t < attack)
            return t / attack;
        return sustain + (1 - sustain) * std::exp(-(t - attack) * 5 / decay);
    }
    double at(double t) const {
        if (t < gate)
            return before(t);
        return atGate * std::exp(-(t - gate) * 6.9 / release);
    }
    bool over(double t) const {
        return (t >= gate || sustain == 0) && t > attack && at(t) < SILENT;
    }
};

// Karplus-Strong string for the pluck wave: a delay line one period long,
// averaged and fed back, read at a fractional position so it stays in tune.
struct String {
    std::vector<double> line;
    size_t write = 0;
    double delay = 0, feedback = 1, previous = 0;
    void start(double hz, int rate, double ringMs, Noise &noise, double brightness) {
        const double period = std::max(2.0, rate / hz);
        delay = period - 0.5; // the averaging adds half a sample
        line.assign(static_cast<size_t>(period) + 4, 0.0);
        double smooth = 0;
        for (double &s : line) {
            smooth += (noise.next() - smooth) * brightness;
            s = smooth;
        }
        // Loses 60 dB over the ring time, a little every period.
        feedback = std::pow(10.0, -3.0 * period / (ringMs / 1000.0 * rate));
    }
    double run() {
        const size_t size = line.size();
        double read = static_cast<double>(write) - delay;
        if (read < 0)
            read += size;
        const size_t i = static_cast<size_t>(read) % size;
        const double frac = read - std::floor(read);
        const double out = line[i] * (1 - frac) + line[(i + 1) % size] * frac;
        line[write] = feedback * 0.5 * (out + previous);
        previous = out;
        write = (write + 1) % size;
        return out;
    }
};

} // namespace

std::vector<float> renderNote(const Instrument &ins, const NoteEvent &note, double held,
                              double glideFrom, int rate) {
    Envelope env;
    env.attack = std::max(ins.attack, 0.5f) / 1000.0;
    env.decay = ins.decay / 1000.0;
    env.sustain = ins.wave == WAVE_PLUCK ? 1.0 : ins.sustain;
    env.release = ins.release / 1000.0;
    env.gate = std::max(held * ins.gate, 0.001);
    env.atGate = env.before(env.gate);

    const size_t voices = note.pitches.size();
    if (voices == 0)
        return {};
    const bool arpeggio = ins.arp > 0 && voices > 1;
    const size_t oscillators = arpeggio ? 1 : voices;
    const int unison = ins.wave == WAVE_PAD ? ins.voices : 1;
    Noise noise(static_cast<uint32_t>(note.serial * 7919 + 17));

    std::vector<double> phases(oscillators * unison), modPhases(oscillators, 0);
    // Every wave starts at a zero crossing (a pad's voices anywhere), so a
    // note's first sample never jumps.
    for (size_t i = 0; i < phases.size(); i++)
        phases[i] = ins.wave == WAVE_PAD   ? 0.5 + 0.5 * noise.next()
                    : ins.wave == WAVE_SAW ? 0.5
                                           : 0;
    std::vector<String> strings(ins.wave == WAVE_PLUCK ? oscillators : 0);
    for (size_t v = 0; v < strings.size(); v++) {
        const double hz = midiToHz(note.pitches[v]);
        const double bright = ins.cutoff > 0 ? std::min(1.0, ins.cutoff / hz / 8) : 1.0;
        strings[v].start(hz, rate, ins.decay, noise, bright);
    }

    Svf filter;
    const bool filtered = ins.cutoff > 0 || ins.keytrack > 0;
    const double baseCutoff = ins.keytrack > 0 ? midiToHz(note.pitches[0]) * ins.keytrack
                                               : static_cast<double>(ins.cutoff);
    HighPass highPass;
    if (ins.highpass > 0)
        highPass.set(ins.highpass, rate);
    const double driveNorm = ins.drive > 0 ? std::tanh(static_cast<double>(ins.drive)) : 1;
    const double level = ins.gain * note.velocity / (oscillators > 1 ? std::sqrt(oscillators) : 1);

    const double dt = 1.0 / rate;
    const size_t maxFrames = static_cast<size_t>((env.gate + env.release * 1.5 + 0.05) * rate);
    std::vector<float> out;
    out.reserve(std::min<size_t>(maxFrames, rate * 4));
    double held_sample = 0;
    for (size_t n = 0; n < maxFrames; n++) {
        const double t = n * dt;
        if (env.over(t))
            break;
        // Pitch movement shared by every voice: sweep, vibrato, glide.
        double bend = ins.sweep * std::min(t * 1000 / ins.sweeptime, 1.0);
        if (ins.vibrato > 0) {
            const double fade = std::clamp((t * 1000 - ins.vdelay) / 200.0, 0.0, 1.0);
            bend += ins.vibrato * fade * std::sin(2 * PI * ins.vrate * t);
        }
        if (glideFrom >= 0 && ins.glide > 0)
            bend += (glideFrom - note.pitches[0]) * std::exp(-t * 3000 / ins.glide);

        double x = 0;
        for (size_t v = 0; v < oscillators; v++) {
            const size_t pitchIndex =
                arpeggio ? static_cast<size_t>(t * 1000 / ins.arp) % voices : v;
            const double hz = midiToHz(note.pitches[pitchIndex] + bend);
            const double step = hz * dt;
            for (int u = 0; u < unison; u++) {
                double detune = 0;
                if (unison > 1)
                    detune = ins.detune * (2.0 * u / (unison - 1) - 1.0);
                else
                    detune = ins.detune;
                const double inc = detune != 0 ? step * std::pow(2.0, detune / 1200) : step;
                double &phase = phases[v * unison + u];
                switch (ins.wave) {
                case WAVE_PULSE: {
                    double s = phase < ins.duty ? 1.0 : -1.0;
                    s += polyBlep(phase, inc);
                    double shifted = phase - ins.duty;
                    if (shifted < 0)
                        shifted += 1;
                    s -= polyBlep(shifted, inc);
                    x += s;
                    break;
                }
                case WAVE_SAW:
                case WAVE_PAD:
                    x += 2 * phase - 1 - polyBlep(phase, inc);
                    break;
                case WAVE_TRIANGLE: {
                    double shifted = phase + 0.75;
                    shifted -= std::floor(shifted);
                    x += 4 * std::fabs(shifted - 0.5) - 1;
                    break;
                }
                case WAVE_SINE:
                    x += std::sin(2 * PI * phase);
                    break;
                case WAVE_FM: {
                    double index = ins.index;
                    if (ins.idecay > 0)
                        index *= std::exp(-t * 5000 / ins.idecay);
                    x += std::sin(2 * PI * phase + index * std::sin(2 * PI * modPhases[v]));
                    modPhases[v] += inc * ins.ratio;
                    modPhases[v] -= std::floor(modPhases[v]);
                    break;
                }
                case WAVE_NOISE:
                    x += noise.next();
                    break;
                case WAVE_PLUCK:
                    x += strings[v].run();
                    break;
                case WAVE_KIT:
                    break;
                }
                phase += inc;
                phase -= std::floor(phase);
            }
        }
        if (unison > 1)
            x /= std::sqrt(static_cast<double>(unison));

        if (filtered) {
            if (n % 16 == 0) {
                double cutoff = baseCutoff;
                if (ins.fenv != 0)
                    cutoff *= std::pow(2.0, ins.fenv * std::exp(-t * 5000 / ins.fdecay));
                filter.set(cutoff, ins.q, rate);
            }
            filter.run(x);
            x = filter.low;
        }
        if (ins.highpass > 0)
            x = highPass.run(x);
        if (ins.drive > 0)
            x = std::tanh(ins.drive * x) / driveNorm;
        if (ins.crush > 1) {
            if (n % ins.crush == 0)
                held_sample = x;
            x = held_sample;
        }
        double amp = env.at(t) * level;
        if (ins.trem > 0)
            amp *= 1 - ins.trem * (0.5 + 0.5 * std::sin(2 * PI * ins.trate * t));
        out.push_back(static_cast<float>(x * amp));
    }
    return out;
}
