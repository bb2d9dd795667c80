// The committed music and effects: each decodes, has a fitting length, stays
// below full scale, and every piece of music joins its end to its start.
#ifdef WOBBLE_HAVE_VORBISFILE
#include "checkout_paths.h"
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <vorbis/vorbisfile.h>

namespace {

struct Decoded {
    int channels = 0;
    long rate = 0;
    std::vector<std::vector<float>> tracks; // one per channel
    double seconds() const { return tracks.empty() ? 0 : double(tracks[0].size()) / rate; }
};

std::string dataFile(const std::string &name) {
    return std::string(wobbleSourceDir) + "/" + name;
}

bool decode(const std::string &path, Decoded &out, std::string &why) {
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) {
        why = path + " is missing or not Ogg Vorbis";
        return false;
    }
    const vorbis_info *info = ov_info(&vf, -1);
    out.channels = info->channels;
    out.rate = info->rate;
    out.tracks.assign(out.channels, {});
    bool ok = true;
    for (;;) {
        float **pcm = nullptr;
        int section = 0;
        const long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n == 0)
            break;
        if (n < 0 || section != 0) {
            why = path + " has damaged or chained data";
            ok = false;
            break;
        }
        for (int c = 0; c < out.channels; c++)
            out.tracks[c].insert(out.tracks[c].end(), pcm[c], pcm[c] + n);
    }
    ov_clear(&vf);
    return ok;
}

float peakOf(const Decoded &d) {
    float peak = 0;
    for (const auto &t : d.tracks)
        for (float s : t)
            peak = std::max(peak, std::fabs(s));
    return peak;
}

double rms(const std::vector<double> &v) {
    double sum = 0;
    for (double x : v)
        sum += x * x;
    return v.empty() ? 0 : std::sqrt(sum / v.size());
}

// How the step from the last sample to the first compares with the steps
// around it: the size of the step, and how far it leaves the line the last
// samples were on, each against the typical value (RMS) within 1000 samples
// on either side. A seamless loop scores about 1; a cut in the middle of a
// sound scores far higher.
std::pair<double, double> joinScore(const std::vector<float> &x) {
    const size_t n = x.size();
    const size_t span = std::min<size_t>(1000, n / 4);
    std::vector<float> around(x.end() - span, x.end());
    around.insert(around.end(), x.begin(), x.begin() + span);
    std::vector<double> steps, bends;
    for (size_t i = 1; i < around.size(); i++)
        if (i != span)
            steps.push_back(around[i] - around[i - 1]);
    for (size_t i = 2; i < around.size(); i++)
        if (i != span && i != span + 1)
            bends.push_back(around[i] - 2.0 * around[i - 1] + around[i - 2]);
    const double jump = std::fabs(x[0] - x[n - 1]);
    const double bend = std::fabs(x[0] - (2.0 * x[n - 1] - x[n - 2]));
    const double typicalStep = std::max(rms(steps), 1e-6);
    const double typicalBend = std::max(rms(bends), 1e-6);
    return {jump / typicalStep, bend / typicalBend};
}

// Points inside the pieces, where the music simply goes on, score up to about 4
// on either measure (the codec's own noise included).
constexpr double JUMP_LIMIT = 4.0;
constexpr double BEND_LIMIT = 5.0;

} // namespace

TEST(AudioFiles, TheJoinCheckTellsASeamFromACut) {
    std::vector<float> whole, cut;
    for (int i = 0; i < 44100; i++)
        whole.push_back(0.5f * std::sin(2 * M_PI * 441 * i / 44100.0)); // 441 whole cycles
    for (int i = 0; i < 44025; i++) // stops a quarter of a cycle short, at a crest
        cut.push_back(whole[i]);
    EXPECT_LT(joinScore(whole).first, 1.5);
    EXPECT_LT(joinScore(whole).second, 1.5);
    EXPECT_GT(std::max(joinScore(cut).first, joinScore(cut).second), 10.0);
}

TEST(AudioFiles, EffectsAreShortQuietAtBothEndsAndBelowFullScale) {
    const char *names[] = {"jump", "create", "destroy", "Shake", "Crash",
                           "Vup",  "Vdown",  "Shuffle", "Lose"};
    for (const char *name : names) {
        SCOPED_TRACE(name);
        Decoded d;
        std::string why;
        ASSERT_TRUE(decode(dataFile(std::string("data/sfx/") + name + ".ogg"), d, why)) << why;
        EXPECT_GE(d.seconds(), 0.05);
        EXPECT_LE(d.seconds(), 2.5);
        const float peak = peakOf(d);
        EXPECT_LT(peak, 0.97f) << "peak " << peak;
        EXPECT_GT(peak, 0.05f) << "too quiet to hear";
        for (const auto &t : d.tracks) {
            // The codec smears a sharp attack a little; a click would be far louder.
            EXPECT_LT(std::fabs(t.front()), 0.05f) << "starts with a click";
            EXPECT_LT(std::fabs(t.back()), 0.02f) << "ends with a click";
        }
        // Shake is asked again and again while it plays: it must last about a second.
        EXPECT_GT(d.seconds(), std::string(name) == "Shake" ? 0.7 : 0.0);
    }
}

TEST(AudioFiles, MusicLastsAMinuteAndLoopsWithoutAJump) {
    std::vector<std::string> pieces;
    for (const auto &entry : std::filesystem::directory_iterator(dataFile("data/music")))
        if (entry.path().extension() == ".ogg")
            pieces.push_back(entry.path().stem().string());
    std::sort(pieces.begin(), pieces.end());
    EXPECT_NE(std::find(pieces.begin(), pieces.end(), "Menu"), pieces.end());
    EXPECT_NE(std::find(pieces.begin(), pieces.end(), "Mystery"), pieces.end());
    EXPECT_GE(pieces.size(), 5u) << "the menu, the start of a game and three for the levels";
    for (const std::string &name : pieces) {
        SCOPED_TRACE(name);
        EXPECT_LE(name.size(), 18u) << "a level list holds music names of up to 18 characters";
        Decoded d;
        std::string why;
        ASSERT_TRUE(decode(dataFile("data/music/" + name + ".ogg"), d, why)) << why;
        EXPECT_GE(d.seconds(), 60.0);
        EXPECT_LE(d.seconds(), 240.0);
        const float peak = peakOf(d);
        EXPECT_LT(peak, 0.97f) << "peak " << peak;
        EXPECT_GT(peak, 0.1f);
        for (int c = 0; c < d.channels; c++) {
            const auto [jump, bend] = joinScore(d.tracks[c]);
            EXPECT_LT(jump, JUMP_LIMIT) << "channel " << c;
            EXPECT_LT(bend, BEND_LIMIT) << "channel " << c;
        }
    }
}
#endif
