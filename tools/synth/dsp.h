// Small signal-processing pieces shared by the voices, the drums and the mix.
#pragma once
#include <cmath>
#include <cstdint>

constexpr double PI = 3.14159265358979323846;

// A repeatable noise source; every note seeds its own.
struct Noise {
    uint32_t state;
    explicit Noise(uint32_t seed) : state(seed * 2654435761u + 0x9E3779B9u) {
        if (state == 0)
            state = 1;
    }
    float next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<float>(state) * (2.0f / 4294967296.0f) - 1.0f;
    }
};

// State-variable filter (trapezoidal): low, band and high pass at once.
struct Svf {
    double g = 0, k = 1.4, a1 = 0, a2 = 0, a3 = 0;
    double ic1 = 0, ic2 = 0;
    double low = 0, band = 0, high = 0;
    void set(double cutoff, double q, double rate) {
        cutoff = std::fmin(std::fmax(cutoff, 10.0), rate * 0.45);
        g = std::tan(PI * cutoff / rate);
        k = 1.0 / q;
        a1 = 1.0 / (1.0 + g * (g + k));
        a2 = g * a1;
        a3 = g * a2;
    }
    void run(double x) {
        const double v3 = x - ic2;
        const double v1 = a1 * ic1 + a2 * v3;
        const double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2 * v1 - ic1;
        ic2 = 2 * v2 - ic2;
        low = v2;
        band = v1;
        high = x - k * v1 - v2;
    }
};

// One-pole high pass.
struct HighPass {
    double a = 0, x1 = 0, y1 = 0;
    void set(double cutoff, double rate) { a = 1.0 / (1.0 + 2 * PI * cutoff / rate); }
    double run(double x) {
        y1 = a * (y1 + x - x1);
        x1 = x;
        return y1;
    }
};

// Band-limited step correction for pulse and saw waves.
inline double polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

inline double midiToHz(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}
inline double dbToGain(double db) {
    return std::pow(10.0, db / 20.0);
}
