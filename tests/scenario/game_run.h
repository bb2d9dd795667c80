// Runs the game screen in-process on levels made by the test, with scripted
// input, and notes the game's counters at the moment the script ends.
#pragma once
#include "test_support.h"
#include <string>
#include <vector>

struct TestLevel {
    std::string name;
    int32_t time = 60;
    std::vector<int32_t> turns = {180};
    std::vector<LevelRecord> objects;
};

struct GameSnapshot {
    int32_t state = -1, levelIndex = -1, score = -1, lives = -1, credits = -1;
    uint32_t lastTurnTime = 0, gameStart = 0;
    int32_t turnIndex = -1;
    float musicVolume = -1;
    std::vector<std::pair<int32_t, float>> places; // kind and x of every object, in list order
    bool closed = false;
};

// Plays the levels in order from `firstLevel` until the script ends (or the
// game leaves for another screen); returns what the game looked like then.
GameSnapshot runGame(const std::vector<TestLevel> &levels, const std::string &script,
                     int32_t firstLevel = 0, int32_t startLives = 3, int32_t startCredits = 0);
// The same on a data root that already holds its levels.
GameSnapshot playGame(const std::string &root, const std::string &script, int32_t firstLevel = 0,
                      int32_t startLives = 3, int32_t startCredits = 0);
