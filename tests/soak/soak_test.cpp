// The soak: random play (seeded) through every shipped level, frame after
// frame, with the world checked after each one (every position finite and
// inside the room). A run that ends early (the game lost) is followed by
// another with a new seed until the level has had its frames. No run may
// crash, break the world check or leave a report that makes no sense; the
// sanitizer build runs the same test and adds leaks and undefined behaviour.
//
// Briefly by default; the full soak (a million frames per level) is
//   WOBBLE_SOAK_FRAMES=1000000 ./build/wobble_tests --gtest_filter='Soak.*'
#include "test_support.h"
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

// A frame every 11 ms or so of virtual time (a frame runs once more than
// 10 ms have passed, and the loop waits a millisecond at a time).
constexpr double MS_PER_FRAME = 11.6;

// Held keys, taps, jumps, boxes, turns, pauses (and back), credits and the
// volume keys, in random order and rhythm. Leaving for the menu is left out:
// it would start the game again from the first level.
std::string randomScript(std::mt19937 &rng, uint32_t lengthMs) {
    static const char *const held[] = {"LEFT", "RIGHT", "UP", "DOWN"};
    static const char *const tapped[] = {"SPACE", "SPACE", "SPACE",  "S",      "UP", "F5",
                                         "Z",     "X",     "RETURN", "ESCAPE", "P",  "R"};
    std::string script;
    uint32_t t = 200;
    auto line = [&script](uint32_t at, const char *what, const char *key) {
        script += std::to_string(at) + " " + what + " " + key + "\n";
    };
    while (t < lengthMs) {
        const int choice = static_cast<int>(rng() % 10);
        if (choice < 5) {
            const char *key = held[rng() % 4];
            const uint32_t hold = 30 + rng() % 900;
            line(t, "down", key);
            line(t + hold, "up", key);
            // Sometimes a tap while walking.
            if (rng() % 3 == 0)
                line(t + hold / 2, "tap", tapped[rng() % 3]);
        } else {
            const char *key = tapped[rng() % (sizeof tapped / sizeof *tapped)];
            line(t, "tap", key);
            // A pause is left again soon (the pause screen waits for a key).
            if (!strcmp(key, "P") || !strcmp(key, "ESCAPE"))
                line(t + 100 + rng() % 400, "tap", "P");
        }
        t += 40 + rng() % 700;
    }
    script += std::to_string(lengthMs) + " end\n";
    return script;
}

// Runs the program with these arguments; its standard output comes back, and
// its exit code (-1 for a signal) and its own peak memory in KiB (0 on
// Windows, where only the run itself is checked).
#ifdef _WIN32
std::string runMeasured(const std::vector<std::string> &arguments, int &code, long &peakKiB) {
    std::string line;
    for (const std::string &a : arguments)
        line += a + " ";
    peakKiB = 0;
    return runProgram(line, code);
}

long ownResidentKiB() {
    return 0;
}
#else
std::string runMeasured(const std::vector<std::string> &arguments, int &code, long &peakKiB) {
    int out[2];
    if (pipe(out) != 0)
        return "";
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        close(out[0]);
        std::vector<char *> argv{const_cast<char *>(WOBBLE_BINARY)};
        for (const std::string &a : arguments)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        execv(WOBBLE_BINARY, argv.data());
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char chunk[4096];
    ssize_t n;
    while ((n = read(out[0], chunk, sizeof chunk)) > 0)
        text.append(chunk, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    peakKiB = usage.ru_maxrss;
    return text;
}

long ownResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}
#endif

long long soakFrames() {
    const char *wanted = getenv("WOBBLE_SOAK_FRAMES");
    return wanted && *wanted ? std::stoll(wanted) : 6000;
}

} // namespace

TEST(Soak, RandomPlayThroughEveryLevelKeepsTheWorldSound) {
    const long long perLevel = soakFrames();
    const int levels = shippedLevelCount();
    ASSERT_GE(levels, 1);
    std::mt19937 rng(20261206);
    long long total = 0;
    int runs = 0;
    int failures = 0; // the soak goes on past a failure, to see the rest
    long peakKiB = 0;
    for (int level = 0; level < levels; level++) {
        long long frames = 0;
        while (frames < perLevel) {
            // Runs of at most about 200,000 frames, so a loss starts afresh often enough.
            const long long left = std::min<long long>(perLevel - frames, 200000);
            const uint32_t lengthMs = static_cast<uint32_t>(left * MS_PER_FRAME) + 100;
            TempDir dir;
            makeDataRoot(dir);
            dir.write("soak.script", randomScript(rng, lengthMs));
            const unsigned seed = rng();
            int code = -1;
            long peak = 0;
            const std::string out = runMeasured(
                {"-skiptogame", "-soundoff", "--check-world", "--data=" + dir.path,
                 "--script=" + dir.file("soak.script"), "--start-level=" + std::to_string(level),
                 "--seed=" + std::to_string(seed)},
                code, peak);
            peakKiB = std::max(peakKiB, peak);
            runs++;
            SCOPED_TRACE("level " + std::to_string(level) + ", seed " + std::to_string(seed));
            if (code != 0) {
                // Kept for a rerun: the same command with this script plays the same game.
                const std::string kept = "/tmp/wobble-soak-" + std::to_string(seed) + ".script";
                std::filesystem::copy_file(dir.file("soak.script"), kept,
                                           std::filesystem::copy_options::overwrite_existing);
                ADD_FAILURE() << "crashed or failed the world check (script kept as " << kept
                              << "; run with --start-level=" << level << " --seed=" << seed
                              << " -skiptogame -soundoff --check-world):\n"
                              << out;
                failures++;
                if (failures >= 5)
                    return;
                frames += std::max(1LL, reportField(out, "frames"));
                continue;
            }
            const long long played = reportField(out, "frames");
            ASSERT_GT(played, 0) << out;
            EXPECT_GE(reportField(out, "lives"), 0);
            EXPECT_LE(reportField(out, "lives"), 3);
            EXPECT_GE(reportField(out, "credits"), 0);
            EXPECT_LE(reportField(out, "credits"), 5);
            EXPECT_GE(reportField(out, "score"), 0);
            EXPECT_LE(reportField(out, "Player"), 1);
            frames += played;
        }
        total += frames;
    }
    // However long the soak, memory stays that of one game. A forked child
    // starts with this process's pages counted in its peak, so the bound is
    // above what this process holds (tens of MB alone, more after other tests).
    if (peakKiB > 0) {
        EXPECT_LT(peakKiB, ownResidentKiB() + 150 * 1024) << "KiB at the peak of one run";
    }
    RecordProperty("frames", std::to_string(total));
    RecordProperty("runs", std::to_string(runs));
    printf("soak: %lld frames in %d runs over %d levels, peak %ld KiB\n", total, runs, levels,
           peakKiB);
}
