#include "checkout_paths.h"
#include "world/high_score.h"
#include "world/hud.h"
#include "world/level_list.h"
#include "world/play_loop.h"
#include "world_fixture.h"
#include <gtest/gtest.h>
#include <limits>

namespace {

struct LevelFiles : CleanWorld {
    TempDir dir;
    LevelFiles() { dataRoot = dir.path; }
    ~LevelFiles() { dataRoot = wobbleSourceDir; }
    void write(const std::string &name, const std::string &lvl, const std::string &rot) {
        dir.write("data/levels/" + name + ".lvl", lvl);
        dir.write("data/levels/" + name + ".rot", rot);
    }
};

std::vector<int32_t> kinds() {
    std::vector<int32_t> out;
    for (ObjectNode *n : walkOrder())
        out.push_back(n->kind);
    return out;
}

std::vector<int32_t> turns() {
    return std::vector<int32_t>(rotationSequence.angles,
                                rotationSequence.angles + rotationSequence.count);
}

} // namespace

TEST(LoadLevel, ObjectsTurnsTimeAndTheFourWalls) {
    LevelFiles f;
    f.write(
        "one",
        levelBytes({at(KIND_PLAYER, 10, 70, 1), at(KIND_SOLDIER, 30, 70, 1), at(KIND_KISS, 5, 5),
                    at(KIND_BORDER, 5, 5), at(KIND_NINJASTAR, 5, 5), at(KIND_BOX, 40, 60),
                    at(KIND_PLAYER, 12, 71, 0), at(99, 1, 1), at(KIND_DUMMY, 50, 70)},
                   3, 120),
        "90 -90\n180 90");
    ASSERT_EQ(loadLevel("one"), 1);
    EXPECT_EQ(levelTime, 120);
    EXPECT_EQ(turns(), (std::vector<int32_t>{90, -90, 180}));
    // Missiles, walls and unknown kinds are never read from a file.
    EXPECT_EQ(kinds(), (std::vector<int32_t>{KIND_PLAYER, 7, 7, 7, 7, KIND_DUMMY, KIND_PLAYER,
                                             KIND_BOX, KIND_SOLDIER}));
    EXPECT_EQ(recordOf<SoldierRecord>(walkOrder().back())->direction, 1);
    EXPECT_EQ(recordOf<PlayerRecord>(objectList)->facing, 1);
    EXPECT_EQ(std::make_pair(startPoint.x, startPoint.y), std::make_pair(12.0f, 71.0f))
        << "the last Player record gives the start point";

    // Created (0,0)/2, (0,0)/3, (83,0)/1, (0,83)/0; the list walks newest first.
    EXPECT_EQ(walls(), (std::vector<Wall>{{0, 83, 0}, {83, 0, 1}, {0, 0, 3}, {0, 0, 2}}));

    // A second level appends its turns to the sequence.
    f.write("two", levelBytes({}, 1, 30), "180\n");
    clearObjects();
    ASSERT_EQ(loadLevel("two"), 1);
    EXPECT_EQ(kinds(), (std::vector<int32_t>{7, 7, 7, 7}));
    EXPECT_EQ(turns(), (std::vector<int32_t>{90, -90, 180, 180}));
}

TEST(LoadLevel, TurnCountsThatDoNotFitTheSequence) {
    LevelFiles f;
    auto turnsOf = [&](int32_t count, const std::string &rot) {
        f.write("t", levelBytes({}, count, 1), rot);
        clearRotationSequence();
        loadLevel("t");
        return turns();
    };
    EXPECT_TRUE(turnsOf(0, "90 90 90\n").empty());
    EXPECT_EQ(currentTurnAngle(), 0);
    EXPECT_EQ(turnsOf(50, "90 -90 180 90 -90 180 90 -90 180 90 180 180\n"),
              (std::vector<int32_t>{90, -90, 180, 90, -90, 180, 90, -90, 180, 90}))
        << "only ten turns are held";
    loadLevel("t");
    EXPECT_EQ(turns().size(), 10u) << "a full sequence takes no more";
    EXPECT_EQ(turnsOf(5, "180 oops 90\n"), (std::vector<int32_t>{180}));
    EXPECT_TRUE(turnsOf(-7, "90\n").empty());
}

TEST(LoadLevel, BrokenFilesNeverCrash) {
    LevelFiles f;
    // Missing .rot, missing .lvl: the level stays empty, not even walls.
    f.dir.write("data/levels/norot.lvl", levelBytes({at(KIND_BOX, 1, 1)}, 0, 5));
    EXPECT_EQ(loadLevel("norot"), 0);
    EXPECT_EQ(loadLevel("nothing"), 0);
    EXPECT_EQ(objectList, nullptr);

    // Truncated: inside the header, inside the editor block, inside a record.
    const std::string full = levelBytes({at(KIND_BOX, 10, 10), at(KIND_BOX, 20, 10)}, 1, 9);
    std::vector<std::pair<int, std::vector<int32_t>>> loaded;
    testing::internal::CaptureStderr();
    for (size_t length : {size_t(7), size_t(30), full.size() - 3}) {
        f.write("cut", full.substr(0, length), "90\n");
        loaded.push_back({loadLevel("cut"), kinds()});
        clearObjects();
    }
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(loaded, (std::vector<std::pair<int, std::vector<int32_t>>>{
                          {0, {}}, {1, {7, 7, 7, 7}}, {1, {KIND_BOX, 7, 7, 7, 7}}}));

    // Places that are no places are skipped.
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    f.write("nan",
            levelBytes({at(KIND_BOX, nan, 10), at(KIND_BOX, 10, inf), at(KIND_PLAYER, -inf, 0),
                        at(KIND_BOX, 1e30f, 0), at(KIND_PLATFORM, 40, 50)},
                       0, 9),
            "");
    startPoint = StartPoint{3, 4};
    loadLevel("nan");
    EXPECT_EQ(kinds(), (std::vector<int32_t>{KIND_PLATFORM, 7, 7, 7, 7}));
    EXPECT_EQ(startPoint.x, 3.0f);

    // Names too long for the level paths are refused with a message.
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadLevel("abcdefghijklmnopqrstuvwx"), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
}

TEST(LoadLevelAt, RestartsTheLevelAtTheIndex) {
    LevelFiles f;
    f.dir.write("data/levels/Levels.txt", "2first\nMystery\nboss\nBoss\n");
    f.write("first", levelBytes({at(KIND_OZZLE, 30, 30), at(KIND_BOX, 10, 10)}, 1, 60), "90\n");
    f.write("boss", levelBytes({at(KIND_BOX, 10, 10), at(KIND_OZZLE, 30, 30)}, 2, 90), "180 -90\n");
    rotationSequence.count = 3;
    rotationSequence.index = 2;
    ozzleLevel = 1;
    createObject(KIND_SOLDIER, 1, 1);

    levelIndex = 0;
    ASSERT_EQ(loadLevelAt(), 1);
    // An Ozzle that is the first object does not make a boss level.
    EXPECT_EQ(ozzleLevel, 0);
    EXPECT_EQ(turns(), (std::vector<int32_t>{90}));
    EXPECT_EQ(rotationSequence.index, 0);
    EXPECT_EQ(kinds(), (std::vector<int32_t>{KIND_OZZLE, 7, 7, 7, 7, KIND_BOX}))
        << "the old objects are gone";

    levelIndex = 1;
    ASSERT_EQ(loadLevelAt(), 1);
    EXPECT_EQ(ozzleLevel, 1);
    EXPECT_EQ(turns(), (std::vector<int32_t>{180, -90}));
    EXPECT_EQ(levelTime, 90);

    // The list shrank since the index was set: start again from the first.
    f.dir.write("data/levels/Levels.txt", "1first\nMystery\n");
    levelIndex = 1;
    ASSERT_EQ(loadLevelAt(), 1);
    EXPECT_EQ(levelIndex, 0);
    EXPECT_EQ(levelTime, 60);
}

TEST(LoadLevelAt, NoLevelListLoadsNothing) {
    LevelFiles f;
    createObject(KIND_BOX, 1, 1);
    rotationSequence.count = 1;
    EXPECT_EQ(loadLevelAt(), 0);
    EXPECT_EQ(objectList, nullptr);
    EXPECT_EQ(rotationSequence.count, 0);
    EXPECT_EQ(levelListProblem, LEVEL_LIST_MISSING);
    f.dir.write("data/levels/Levels.txt", "0\n");
    EXPECT_EQ(loadLevelAt(), 0);
    EXPECT_EQ(levelListProblem, LEVEL_LIST_EMPTY);
}

TEST(LoadLevelAt, LevelsThatDoNotLoadArePassedOverAndNoneLoadingIsSaid) {
    LevelFiles f;
    f.dir.write("data/levels/Levels.txt", "3gone\nMystery\nnoturns\nMystery\nlast\nDrift\n");
    f.dir.write("data/levels/noturns.lvl", levelBytes({at(KIND_BOX, 10, 10)}, 1, 60));
    f.write("last", levelBytes({at(KIND_SOLDIER, 30, 70)}, 1, 45), "90\n");
    testing::internal::CaptureStderr();
    levelIndex = 0;
    ASSERT_EQ(loadLevelAt(), 1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(levelIndex, 2);
    EXPECT_EQ(levelTime, 45);
    EXPECT_NE(said.find("data/levels/gone.lvl: No such file"), std::string::npos) << said;
    EXPECT_NE(said.find("data/levels/noturns.rot: No such file"), std::string::npos) << said;

    // With no level that loads there is nothing to play, and no bonus left
    // over from the level before.
    f.dir.write("data/levels/Levels.txt", "2gone\nMystery\nnoturns\nMystery\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadLevelAt(), 0);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(objectList, nullptr);
    EXPECT_EQ(levelTime, 0);
    EXPECT_EQ(levelListProblem, LEVEL_LIST_NONE_LOADS);
    EXPECT_NE(std::string(levelListMessage()).find("None of the levels"), std::string::npos);
}

TEST(LoadLevel, ABonusTimeBeyondTheEditorsFiveDigitsIsClampedAndSaid) {
    LevelFiles f;
    const int32_t times[] = {99999, 100000, std::numeric_limits<int32_t>::max()};
    for (int32_t time : times) {
        f.write("long", levelBytes({at(KIND_BOX, 10, 10)}, 1, time), "90\n");
        testing::internal::CaptureStderr();
        ASSERT_EQ(loadLevel("long"), 1);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(levelTime, 99999) << time;
        EXPECT_EQ(said.find("data/levels/long.lvl: a bonus time of") != std::string::npos,
                  time > 99999)
            << said;
        clearObjects();
        clearRotationSequence();
    }
}

TEST(AdvanceLevel, TheBonusAndTheScoreStopAtTheTopOfTheirRange) {
    LevelFiles f;
    f.dir.write("data/levels/Levels.txt", "1long\nMystery\n");
    f.write("long", levelBytes({at(KIND_BOX, 10, 10)}, 1, std::numeric_limits<int32_t>::max()),
            "90\n");
    testing::internal::CaptureStderr();
    ASSERT_EQ(loadLevelAt(), 1);
    resetBonusTimer();
    score = 2140000000;
    highScore = MIN_HIGH_SCORE;
    advanceLevel(); // a bonus of 99999 s x 100 would pass 2^31
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(score, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(highScore, score);
    closeHighScoreFile();
    score = 0;
    highScore = 0;
}
