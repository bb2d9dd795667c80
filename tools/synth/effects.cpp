#include "effects.h"
#include <algorithm>
#include <cmath>
#include <deque>

void addEcho(const std::vector<float> &send, int delayFrames, double feedback, double damp,
             std::vector<float> &left, std::vector<float> &right) {
    if (delayFrames < 1)
        return;
    std::vector<double> lineL(delayFrames, 0), lineR(delayFrames, 0);
    double lowL = 0, lowR = 0;
    size_t at = 0;
    for (size_t n = 0; n < send.size(); n++) {
        const double outL = lineL[at], outR = lineR[at];
        lowL += (outL - lowL) * (1 - damp);
        lowR += (outR - lowR) * (1 - damp);
        // Each repeat crosses to the other side.
        lineL[at] = send[n] + feedback * lowR;
        lineR[at] = feedback * lowL;
        left[n] += static_cast<float>(outL);
        right[n] += static_cast<float>(outR);
        at = (at + 1) % delayFrames;
    }
}

namespace {

struct Comb {
    std::vector<double> line;
    size_t at = 0;
    double store = 0;
    double run(double x, double feedback, double damp) {
        const double out = line[at];
        store = out * (1 - damp) + store * damp;
        line[at] = x + store * feedback;
        at = (at + 1) % line.size();
        return out;
    }
};

struct AllPass {
    std::vector<double> line;
    size_t at = 0;
    double run(double x) {
        const double delayed = line[at];
        line[at] = x + delayed * 0.5;
        at = (at + 1) % line.size();
        return delayed - x;
    }
};

} // namespace

void addRoom(const std::vector<float> &send, double size, double damp, int rate,
             std::vector<float> &left, std::vector<float> &right) {
    static const int combLengths[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static const int allPassLengths[] = {556, 441, 341, 225};
    const double scale = rate / 44100.0;
    const double feedback = 0.7 + 0.28 * size;
    const double damping = damp * 0.4;
    Comb combs[2][8];
    AllPass passes[2][4];
    for (int side = 0; side < 2; side++) {
        const int spread = side * 23;
        for (int i = 0; i < 8; i++)
            combs[side][i].line.assign(static_cast<size_t>((combLengths[i] + spread) * scale), 0);
        for (int i = 0; i < 4; i++)
            passes[side][i].line.assign(static_cast<size_t>((allPassLengths[i] + spread) * scale),
                                        0);
    }
    for (size_t n = 0; n < send.size(); n++) {
        const double in = send[n] * 0.015;
        double out[2] = {0, 0};
        for (int side = 0; side < 2; side++) {
            for (Comb &c : combs[side])
                out[side] += c.run(in, feedback, damping);
            for (AllPass &a : passes[side])
                out[side] = a.run(out[side]);
        }
        left[n] += static_cast<float>(out[0] * 3);
        right[n] += static_cast<float>(out[1] * 3);
    }
}

void limit(std::vector<float> &x, int channels, int rate, double ceiling, bool circular) {
    const long frames = static_cast<long>(x.size() / channels);
    if (frames == 0)
        return;
    std::vector<double> wanted(frames);
    for (long i = 0; i < frames; i++) {
        double peak = 0;
        for (int c = 0; c < channels; c++)
            peak = std::max(peak, static_cast<double>(std::fabs(x[i * channels + c])));
        wanted[i] = peak > ceiling ? ceiling / peak : 1.0;
    }
    // The gain is the smallest wanted gain within +-w, then averaged over +-w:
    // every average covers only minima that already include the frame itself,
    // so the gain never rises above what any frame wants.
    const long w = std::min(frames / 2, static_cast<long>(rate * 0.008));
    auto at = [&](long k) {
        if (circular)
            return wanted[((k % frames) + frames) % frames];
        return k < 0 || k >= frames ? 1.0 : wanted[k];
    };
    std::vector<double> lowest(frames);
    std::deque<long> window;
    for (long k = -2 * w; k < frames; k++) {
        const long incoming = k + w;
        while (!window.empty() && at(window.back()) >= at(incoming))
            window.pop_back();
        window.push_back(incoming);
        while (window.front() < k - w)
            window.pop_front();
        if (k >= 0)
            lowest[k] = at(window.front());
    }
    auto lowestAt = [&](long k) {
        if (circular)
            return lowest[((k % frames) + frames) % frames];
        return lowest[std::clamp(k, 0L, frames - 1)];
    };
    double sum = 0;
    for (long k = -w; k <= w; k++)
        sum += lowestAt(k);
    for (long i = 0; i < frames; i++) {
        const double gain = std::min(1.0, sum / (2 * w + 1));
        for (int c = 0; c < channels; c++)
            x[i * channels + c] = static_cast<float>(x[i * channels + c] * gain);
        sum += lowestAt(i + w + 1) - lowestAt(i - w);
    }
}
