#include "game_run.h"
#include "app/states.h"
#include "input/timers.h"
#include "platform/files.h"
#include "sound/sound.h"
#include "world/levels.h"
#include "world/play_loop.h"
#include "world/play_state.h"
#include <filesystem>

static GameSnapshot snapshot;

static void takeSnapshot() {
    snapshot.state = screenState.current;
    snapshot.levelIndex = levelIndex;
    snapshot.score = score;
    snapshot.lives = lives;
    snapshot.credits = credits;
    snapshot.lastTurnTime = lastTurnTime;
    snapshot.turnIndex = rotationSequence.index;
}

static void scriptEnded() {
    takeSnapshot();
    snapshot.closed = true;
    screenState.current = STATE_EXIT;
}

LevelRecord at(int32_t kind, float x, float y, int32_t param) {
    return LevelRecord{kind, x, y, 0, 0, param};
}

GameSnapshot runGame(const std::vector<TestLevel> &levels, const std::string &script,
                     int32_t firstLevel, int32_t startLives, int32_t startCredits) {
    TempDir dir;
    makeDataRoot(dir);
    // The test's own levels replace the shipped ones.
    const std::string levelDir = dir.file("data/levels");
    std::filesystem::remove(levelDir);
    std::filesystem::create_directories(levelDir);
    std::string list = std::to_string(levels.size());
    for (const TestLevel &level : levels) {
        const int32_t block[10] = {};
        std::vector<uint8_t> lvl =
            encodeLevel(static_cast<int32_t>(level.turns.size()), level.time, block, level.objects);
        dir.write("data/levels/" + level.name + ".lvl", std::string(lvl.begin(), lvl.end()));
        std::string rot;
        for (int32_t t : level.turns)
            rot += std::to_string(t) + " ";
        dir.write("data/levels/" + level.name + ".rot", rot);
        list += level.name + "\nMystery\n";
    }
    dir.write("data/levels/Levels.txt", list);

    HeadlessGame game(script);
    dataRoot = dir.path;
    hostCloseRequested = scriptEnded;
    soundOff = 0;
    initSound();
    snapshot = GameSnapshot{};
    snapshot.gameStart = gameClock();
    lives = startLives;
    credits = startCredits;
    firstLevelIndex = firstLevel;
    screenState = ScreenState{STATE_GAME, STATE_GAME};
    playLoop(&screenState);
    if (!snapshot.closed)
        takeSnapshot();
    firstLevelIndex = 0;
    hostCloseRequested = nullptr;
    return snapshot;
}
