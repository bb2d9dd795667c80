#include "test_support.h"
#include "world/high_score.h"
#include "world/play_state.h"
#include <filesystem>
#include <gtest/gtest.h>

namespace {
struct HighScoreFixture {
    HeadlessGame game;
    TempDir dir;
    explicit HighScoreFixture(const char *content) {
        if (content)
            dir.write("data/stats/highScores.txt", content);
        dataRoot = dir.path;
        highScore = 0;
        score = 0;
    }
    ~HighScoreFixture() {
        closeHighScoreFile();
        highScore = 0;
        score = 0;
    }
    std::string file() { return dir.read("data/stats/highScores.txt"); }
};
} // namespace

TEST(HighScore, IsAtLeast2000AndReadLikeACNumber) {
    // 010 is octal 8, raised to 2000.
    const std::pair<const char *, int> cases[] = {
        {"150", 2000},
        {"010", 2000},
        {"0x2710", 10000},
        {"not a number", 2000},
        // Beyond 32 bits a value stops at the nearest end instead of wrapping.
        {"99999999999", INT32_MAX},
        {"0x1ffffffff", INT32_MAX},
        {"-99999999999", 2000}};
    for (const auto &[content, expected] : cases) {
        HighScoreFixture f(content);
        loadHighScore();
        EXPECT_EQ(highScore, expected) << content;
    }
    HighScoreFixture f("150");
    loadHighScore();
    EXPECT_EQ(f.file(), "2000") << "the raised score is written at once";
}

TEST(HighScore, APassedScoreIsWrittenOverTheStartAtOnce) {
    HighScoreFixture f("5000\nnotes");
    loadHighScore();
    EXPECT_EQ(highScore, 5000);
    score = 4000;
    raiseHighScore();
    EXPECT_EQ(f.file(), "5000\nnotes") << "a lower score changes nothing";
    score = 123456;
    raiseHighScore();
    EXPECT_EQ(highScore, 123456);
    EXPECT_EQ(f.file(), "123456otes") << "written through before the file is closed";
    // A second game opens the file again and writes through its own stream.
    loadHighScore();
    score = 234567;
    raiseHighScore();
    EXPECT_EQ(f.file(), "234567otes");
}

TEST(HighScore, AScoreThatCannotBeWrittenIsToldOnceAndLastsTheRun) {
    testing::internal::CaptureStderr();
    {
        HighScoreFixture f(nullptr);
        loadHighScore();
        EXPECT_EQ(highScore, 2000);
        EXPECT_EQ(highScoreUnsaved, 1) << "no file to write to";
        EXPECT_NE(std::string(highScoreProblem).find("No such file"), std::string::npos);
        loadHighScore();
        score = 9000;
        raiseHighScore();
        EXPECT_EQ(highScore, 9000);
        EXPECT_FALSE(std::filesystem::exists(f.dir.file("data/stats/highScores.txt")))
            << "a missing file is never created";
    }
    {
        // A full disk: the write fails when it is pushed out.
        HighScoreFixture f("5000");
        loadHighScore();
        EXPECT_EQ(highScoreUnsaved, 0);
        closeHighScoreFile();
        highScoreFile = fopen("/dev/full", "r+");
        ASSERT_NE(highScoreFile, nullptr);
        score = 7000;
        raiseHighScore();
        EXPECT_EQ(highScore, 7000) << "kept in memory";
        EXPECT_EQ(highScoreUnsaved, 1);
        EXPECT_NE(std::string(highScoreProblem).find("No space left"), std::string::npos);
    }
    const std::string said = testing::internal::GetCapturedStderr();
    size_t told = 0;
    for (size_t at = said.find("cannot be saved"); at != std::string::npos;
         at = said.find("cannot be saved", at + 1))
        told++;
    EXPECT_LE(told, 1u) << "once a run: " << said;
    HighScoreFixture f("5000");
    loadHighScore();
    EXPECT_EQ(highScoreUnsaved, 0) << "a file that can be written again";
}
