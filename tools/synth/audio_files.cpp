#include "audio_files.h"
#include "dsp.h"
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#ifdef SYNTH_HAVE_VORBISFILE
#include <vorbis/vorbisfile.h>
#endif

namespace {

void put32(std::string &s, uint32_t v) {
    s.append(reinterpret_cast<const char *>(&v), 4);
}
void put16(std::string &s, uint16_t v) {
    s.append(reinterpret_cast<const char *>(&v), 2);
}
uint32_t get32(const unsigned char *p) {
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}
uint16_t get16(const unsigned char *p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

bool readWav(const std::string &path, Audio &audio, std::string &error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": " + strerror(errno);
        return false;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto *b = reinterpret_cast<const unsigned char *>(bytes.data());
    if (bytes.size() < 12 || memcmp(b, "RIFF", 4) != 0 || memcmp(b + 8, "WAVE", 4) != 0) {
        error = path + ": not a WAV file";
        return false;
    }
    int format = 0, channels = 0, bits = 0, rate = 0;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const size_t size = get32(b + at + 4);
        const size_t body = at + 8;
        if (size > bytes.size() - body) {
            error = path + ": chunk runs past the end of the file";
            return false;
        }
        if (memcmp(b + at, "fmt ", 4) == 0 && size >= 16) {
            format = get16(b + body);
            channels = get16(b + body + 2);
            rate = static_cast<int>(get32(b + body + 4));
            bits = get16(b + body + 14);
        } else if (memcmp(b + at, "data", 4) == 0) {
            if (channels < 1 || channels > 2 || rate <= 0 ||
                !((format == 1 && bits == 16) || (format == 3 && bits == 32))) {
                error = path + ": only 16-bit PCM or 32-bit float WAV, mono or stereo";
                return false;
            }
            audio.channels = channels;
            audio.rate = rate;
            const size_t count = size / (bits / 8);
            audio.samples.resize(count);
            for (size_t i = 0; i < count; i++) {
                if (format == 1)
                    audio.samples[i] = static_cast<int16_t>(get16(b + body + 2 * i)) / 32768.0f;
                else
                    memcpy(&audio.samples[i], b + body + 4 * i, 4);
            }
            audio.samples.resize(count / channels * channels);
            return true;
        }
        at = body + size + (size & 1);
    }
    error = path + ": no sound data";
    return false;
}

#ifdef SYNTH_HAVE_VORBISFILE
bool readOgg(const std::string &path, Audio &audio, std::string &error) {
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) {
        error = path + ": not an Ogg Vorbis file";
        return false;
    }
    const vorbis_info *info = ov_info(&vf, -1);
    audio.channels = info->channels;
    audio.rate = static_cast<int>(info->rate);
    audio.samples.clear();
    for (;;) {
        float **pcm = nullptr;
        int section = 0;
        const long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n < 0) {
            ov_clear(&vf);
            error = path + ": damaged Ogg Vorbis data";
            return false;
        }
        if (n == 0)
            break;
        for (long i = 0; i < n; i++)
            for (int c = 0; c < audio.channels; c++)
                audio.samples.push_back(pcm[c][i]);
    }
    ov_clear(&vf);
    return true;
}
#endif

// K-weighting as two biquads, for any sample rate.
struct Biquad {
    double b0, b1, b2, a1, a2, z1 = 0, z2 = 0;
    double run(double x) {
        const double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

std::vector<Biquad> kWeighting(int rate) {
    double k = std::tan(PI * 1681.974450955533 / rate);
    const double vh = std::pow(10.0, 3.999843853973347 / 20), vb = std::pow(vh, 0.4996667741545416);
    double q = 0.7071752369554196;
    double a0 = 1 + k / q + k * k;
    Biquad shelf{(vh + vb * k / q + k * k) / a0, 2 * (k * k - vh) / a0,
                 (vh - vb * k / q + k * k) / a0, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0};
    k = std::tan(PI * 38.13547087602444 / rate);
    q = 0.5003270373238773;
    a0 = 1 + k / q + k * k;
    Biquad high{1, -2, 1, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0};
    return {shelf, high};
}

double integratedLoudness(const Audio &audio) {
    const size_t frames = audio.frames();
    std::vector<double> power(frames, 0);
    for (int c = 0; c < audio.channels; c++) {
        std::vector<Biquad> filters = kWeighting(audio.rate);
        for (size_t n = 0; n < frames; n++) {
            double x = audio.samples[n * audio.channels + c];
            for (Biquad &f : filters)
                x = f.run(x);
            power[n] += x * x;
        }
    }
    // A sound shorter than one 400 ms block is measured as one block.
    const size_t block = std::min<size_t>(frames, audio.rate * 4 / 10), hop = audio.rate / 10;
    std::vector<double> blocks;
    for (size_t start = 0; start + block <= frames; start += hop) {
        double sum = 0;
        for (size_t n = start; n < start + block; n++)
            sum += power[n];
        blocks.push_back(sum / block);
    }
    auto lufs = [](double p) { return -0.691 + 10 * std::log10(std::max(p, 1e-20)); };
    auto gatedMean = [&](double gate) {
        double sum = 0;
        size_t count = 0;
        for (double p : blocks)
            if (lufs(p) > gate) {
                sum += p;
                count++;
            }
        return count ? sum / count : 0.0;
    };
    const double absolute = gatedMean(-70);
    if (absolute <= 0)
        return -200;
    return lufs(gatedMean(lufs(absolute) - 10));
}

} // namespace

bool writeWav(const std::string &path, const Audio &audio, std::string &error) {
    std::string out = "RIFF";
    const uint32_t bytes = static_cast<uint32_t>(audio.samples.size() * 2);
    put32(out, 36 + bytes);
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1);
    put16(out, static_cast<uint16_t>(audio.channels));
    put32(out, audio.rate);
    put32(out, audio.rate * audio.channels * 2);
    put16(out, static_cast<uint16_t>(audio.channels * 2));
    put16(out, 16);
    out += "data";
    put32(out, bytes);
    for (float s : audio.samples) {
        const long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        put16(out, static_cast<uint16_t>(static_cast<int16_t>(v)));
    }
    std::ofstream f(path, std::ios::binary);
    if (!f.write(out.data(), static_cast<std::streamsize>(out.size()))) {
        error = path + ": " + strerror(errno);
        return false;
    }
    return true;
}

bool readAudio(const std::string &path, Audio &audio, std::string &error) {
    if (path.size() > 4 && path.compare(path.size() - 4, 4, ".ogg") == 0) {
#ifdef SYNTH_HAVE_VORBISFILE
        return readOgg(path, audio, error);
#else
        error = path + ": this build of synth cannot read Ogg Vorbis";
        return false;
#endif
    }
    return readWav(path, audio, error);
}

Measure measure(const Audio &audio) {
    Measure m;
    const size_t frames = audio.frames();
    if (frames == 0)
        return m;
    m.seconds = static_cast<double>(frames) / audio.rate;
    double peak = 0, sum = 0;
    for (float s : audio.samples) {
        peak = std::max(peak, static_cast<double>(std::fabs(s)));
        sum += static_cast<double>(s) * s;
    }
    m.peakDb = 20 * std::log10(std::max(peak, 1e-10));
    m.rmsDb = 10 * std::log10(std::max(sum / audio.samples.size(), 1e-20));
    m.loudness = integratedLoudness(audio);
    // The step from the last sample to the first, against the usual step.
    double steps = 0, jump = 0;
    const int ch = audio.channels;
    for (size_t n = 1; n < frames; n++)
        for (int c = 0; c < ch; c++)
            steps += std::fabs(audio.samples[n * ch + c] - audio.samples[(n - 1) * ch + c]);
    steps /= static_cast<double>((frames - 1) * ch);
    for (int c = 0; c < ch; c++)
        jump = std::max(jump, static_cast<double>(std::fabs(audio.samples[c] -
                                                            audio.samples[(frames - 1) * ch + c])));
    m.joinJump = steps > 0 ? jump / steps : 0;
    return m;
}
