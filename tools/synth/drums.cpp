#include "dsp.h"
#include "render.h"

namespace {

// The six detuned square waves that give cymbals and hats their metal.
double metal(double t, double pitch) {
    static const double partials[] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    double s = 0;
    for (double hz : partials)
        s += std::fmod(t * hz * pitch * 2.0, 1.0) < 0.5 ? 1 : -1;
    return s / 6;
}

} // namespace

std::vector<float> renderDrum(char drum, float velocity, float pitch, uint32_t seed, int rate) {
    Noise noise(seed);
    Svf band;
    HighPass high;
    double length = 0.3;
    switch (drum) {
    case 'k':
        length = 0.5;
        break;
    case 's':
    case 'p':
        length = 0.45;
        band.set(drum == 's' ? 3000 : 1200 * pitch, drum == 's' ? 0.6 : 1.6, rate);
        break;
    case 'h':
    case 'z':
        length = 0.15;
        high.set(7000, rate);
        band.set(drum == 'z' ? 6500 : 9000, 0.8, rate);
        break;
    case 'o':
        length = 0.7;
        high.set(6000, rate);
        band.set(9000, 0.7, rate);
        break;
    case 'x':
        length = 2.8;
        high.set(3500, rate);
        band.set(7000, 0.5, rate);
        break;
    case 'r':
        length = 0.12;
        band.set(1800, 2, rate);
        break;
    default: // toms
        length = 0.6;
        band.set(600, 0.7, rate);
        break;
    }
    const size_t frames = static_cast<size_t>(length * rate);
    std::vector<float> out(frames);
    double phase = 0;
    const double dt = 1.0 / rate;
    for (size_t n = 0; n < frames; n++) {
        const double t = n * dt;
        const double white = noise.next();
        double x = 0;
        switch (drum) {
        case 'k': {
            const double hz = pitch * (48 + 120 * std::exp(-t / 0.028));
            phase += hz * dt;
            x = std::sin(2 * PI * phase) * std::exp(-t / 0.2);
            x += white * 0.35 * std::exp(-t / 0.0025);
            x = std::tanh(1.6 * x) / std::tanh(1.6);
            break;
        }
        case 's': {
            const double hz = pitch * (175 + 60 * std::exp(-t / 0.01));
            phase += hz * dt;
            band.run(white);
            x = 0.55 * std::sin(2 * PI * phase) * std::exp(-t / 0.045) +
                0.75 * (band.high + band.band) * std::exp(-t / 0.085);
            break;
        }
        case 'p': {
            band.run(white);
            double e = std::exp(-t / 0.11) * 0.6;
            for (double burst : {0.0, 0.011, 0.022})
                if (t >= burst)
                    e += std::exp(-(t - burst) / 0.004);
            x = band.band * 1.6 * e;
            break;
        }
        case 'h':
        case 'z':
        case 'o':
        case 'x': {
            const double source = drum == 'z' ? white : 0.55 * white + 0.6 * metal(t, pitch);
            band.run(high.run(source));
            const double decay = drum == 'h'   ? 0.022
                                 : drum == 'z' ? 0.03
                                 : drum == 'o' ? 0.17
                                               : 0.75;
            double e = std::exp(-t / decay);
            if (drum == 'z')
                e *= std::min(1.0, t / 0.012);
            x = (band.band + 0.5 * band.high) * e * (drum == 'x' ? 1.1 : 0.9);
            break;
        }
        case 'r': {
            phase += 1700 * pitch * dt;
            band.run(white);
            x = (0.6 * std::sin(2 * PI * phase) + band.band) * std::exp(-t / 0.012);
            break;
        }
        default: {
            const double base = drum == 't' ? 92 : drum == 'm' ? 128 : 176;
            const double hz = pitch * base * (0.78 + 0.45 * std::exp(-t / 0.06));
            phase += hz * dt;
            band.run(white);
            x = std::sin(2 * PI * phase) * std::exp(-t / 0.2) +
                0.25 * band.band * std::exp(-t / 0.04);
            break;
        }
        }
        // Half a millisecond of rise and a few of fall: no hit starts or ends in a click.
        if (t < 0.0005)
            x *= t / 0.0005;
        const double left = length - t;
        if (left < 0.005)
            x *= left / 0.005;
        out[n] = static_cast<float>(x * velocity);
    }
    return out;
}
