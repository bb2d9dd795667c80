// The soak: seeded random play through every shipped level with the world
// check on (every position finite and inside the room after every frame).
// A run that ends early (the game lost) is followed by another with a new
// seed until the level has had its frames; every run must end cleanly with a
// sensible report. Briefly by default; the full soak is
//   WOBBLE_SOAK_FRAMES=1000000 ./build/wobble_tests --gtest_filter='Soak.*'
#include "test_support.h"
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>

namespace {

// Held arrows and taps in random order and rhythm; a pause is left again
// soon. Leaving for the menu is left out: the game would start over.
std::string randomScript(std::mt19937 &rng, uint32_t lengthMs) {
    static const char *const held[] = {"LEFT", "RIGHT", "UP", "DOWN"};
    static const std::string tapped[] = {"SPACE", "SPACE", "SPACE",  "S",      "UP", "F5",
                                         "Z",     "X",     "RETURN", "ESCAPE", "P",  "R"};
    std::string script;
    for (uint32_t t = 200; t < lengthMs; t += 40 + rng() % 700) {
        if (rng() % 2) {
            const char *key = held[rng() % 4];
            script += std::to_string(t) + " down " + key + "\n" +
                      std::to_string(t + 30 + rng() % 900) + " up " + key + "\n";
            continue;
        }
        const std::string &key = tapped[rng() % 12];
        script += std::to_string(t) + " tap " + key + "\n";
        if (key == "P" || key == "ESCAPE")
            script += std::to_string(t + 100 + rng() % 400) + " tap P\n";
    }
    return script + std::to_string(lengthMs) + " end\n";
}

} // namespace

TEST(Soak, RandomPlayThroughEveryLevelKeepsTheWorldSound) {
    const char *wanted = getenv("WOBBLE_SOAK_FRAMES");
    const long long perLevel = wanted && *wanted ? std::stoll(wanted) : 3000;
    std::mt19937 rng(20261206);
    for (int level = 0; level < shippedLevelCount(); level++)
        for (long long frames = 0; frames < perLevel;) {
            // At most 200,000 frames of about 11.6 ms a run, so a lost game
            // starts afresh often enough.
            const long long left = std::min<long long>(perLevel - frames, 200000);
            TempDir dir;
            makeDataRoot(dir);
            dir.write("soak.script", randomScript(rng, static_cast<uint32_t>(left * 11.6) + 100));
            const std::string args =
                "-skiptogame -soundoff --check-world --seed=" + std::to_string(rng()) +
                " --start-level=" + std::to_string(level);
            int code = -1;
            const std::string out = runProgram(
                args + " --data=" + dir.path + " --script=" + dir.file("soak.script"), code);
            const long long played = reportField(out, "frames");
            if (code != 0 || played <= 0) {
                // Kept, so that the same command plays the same game again.
                const std::string kept = "/tmp/wobble-soak-" + std::to_string(rng()) + ".script";
                std::filesystem::copy_file(dir.file("soak.script"), kept);
                FAIL() << "crashed or broke the world check; again: wobblewick " << args
                       << " --script=" << kept << "\n"
                       << out;
            }
            const long long lives = reportField(out, "lives"),
                            credits = reportField(out, "credits");
            EXPECT_TRUE(lives >= 0 && lives <= 3 && credits >= 0 && credits <= 5) << out;
            EXPECT_GE(reportField(out, "score"), 0) << out;
            EXPECT_LE(reportField(out, "Player"), 1) << out;
            frames += played;
        }
}
