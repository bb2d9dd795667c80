// What a crash or a kill leaves on disk. A file replaced while its writer is
// killed at a random moment is always the old file or the new one, whole;
// a high score is on disk the moment it is beaten, before anything else.
#include "platform/files.h"
#include "test_support.h"
#include "world/high_score.h"
#include "world/play_state.h"
#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr size_t BIG = 4u << 20;

// Version `n` of the file: every byte n, a size of its own, so any mix of two
// versions or a cut-off file is seen.
std::string version(int n) {
    return std::string(BIG + static_cast<size_t>(n) * 4096, static_cast<char>('A' + n % 26));
}

// Which version the file is, or -1 when it is none of them whole.
int whichVersion(const std::string &content) {
    if (content.size() < BIG || (content.size() - BIG) % 4096 != 0)
        return -1;
    const int n = static_cast<int>((content.size() - BIG) / 4096);
    return content == version(n) ? n : -1;
}

} // namespace

TEST(DataSafety, AFileReplacedWhileItsWriterIsKilledIsOldOrNew) {
    TempDir dir;
    const std::string path = dir.file("level.lvl");
    // How long one version takes to make and write here (sanitizers slow it a lot).
    const auto before = std::chrono::steady_clock::now();
    const std::string first = version(0);
    ASSERT_EQ(replaceFileAtomically(path.c_str(), first.data(), first.size()), 1);
    const auto once = std::chrono::duration_cast<std::chrono::microseconds>(
                          std::chrono::steady_clock::now() - before)
                          .count();
    std::mt19937 rng(7);
    int killedMidWay = 0, newer = 0;
    int last = 0;
    for (int round = 1; round <= 12; round++) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Writes ever newer versions until killed.
            for (int n = last + 1;; n++) {
                const std::string content = version(n);
                if (!replaceFileAtomically(path.c_str(), content.data(), content.size()))
                    _exit(3);
            }
        }
        // Killed at a random moment once it has begun writing.
        for (int wait = 0; wait < 5000 && access((path + ".part").c_str(), F_OK) != 0; wait++)
            usleep(200);
        usleep(static_cast<useconds_t>(rng() % (3 * once + 1000)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;
        const std::string content = dir.read("level.lvl");
        const int found = whichVersion(content);
        ASSERT_GE(found, last) << "round " << round << ": a broken file of " << content.size()
                               << " bytes";
        newer += found > last;
        // A half-written replacement was left behind beside the file.
        killedMidWay += access((path + ".part").c_str(), F_OK) == 0;
        last = found;
    }
    // Most kills land in the middle of writing; the file moved on meanwhile.
    EXPECT_GT(killedMidWay, 0);
    EXPECT_GT(newer, 0);
}

TEST(DataSafety, AFailedReplacementLeavesTheOldFile) {
    TempDir dir;
    EXPECT_EQ(replaceFileAtomically(dir.file("missing/folder/x").c_str(), "abc", 3), 0);
    dir.write("kept", "old");
    // The replacement cannot be made where a folder of its name is in the way.
    std::filesystem::create_directories(dir.file("kept.part/inside"));
    EXPECT_EQ(replaceFileAtomically(dir.file("kept").c_str(), "new", 3), 0);
    EXPECT_EQ(dir.read("kept"), "old");
}

TEST(DataSafety, ABeatenHighScoreSurvivesACrashAtOnce) {
    TempDir dir;
    dir.write("data/stats/highScores.txt", "4000      ");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dataRoot = dir.path;
        loadHighScore();
        score = 7250;
        raiseHighScore();
        // Killed right after: no stream is closed, no buffer written at exit.
        kill(getpid(), SIGKILL);
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(dir.read("data/stats/highScores.txt").substr(0, 5), "7250 ");
}
