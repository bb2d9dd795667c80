#include "game_run.h"
#include "app/states.h"
#include "input/timers.h"
#include "platform/host.h"
#include "sound/sound.h"
#include "world/high_score.h"
#include "world/levels.h"
#include "world/object_access.h"
#include "world/object_list.h"
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
    snapshot.musicVolume = soundGroupVolume(SOUND_GROUP_BGM);
    snapshot.places.clear();
    for (ObjectNode *n = objectList; n; n = n->next)
        snapshot.places.push_back({n->kind, objectBox(n)->x});
}

static void scriptEnded() {
    takeSnapshot();
    snapshot.closed = true;
    screenState.current = STATE_EXIT;
}

GameSnapshot runGame(const std::vector<TestLevel> &levels, const std::string &script,
                     int32_t firstLevel, int32_t startLives, int32_t startCredits) {
    TempDir dir;
    makeDataRoot(dir);
    // The test's own levels replace the shipped ones.
    const std::string levelDir = dir.file("data/levels");
    std::filesystem::remove_all(levelDir);
    std::filesystem::create_directories(levelDir);
    std::string list = std::to_string(levels.size());
    for (const TestLevel &level : levels) {
        std::string rot;
        for (int32_t t : level.turns)
            rot += std::to_string(t) + " ";
        writeLevel(dir, level.name, level.objects, rot.c_str(), level.time,
                   static_cast<int32_t>(level.turns.size()));
        list += level.name + "\nMystery\n";
    }
    dir.write("data/levels/Levels.txt", list);
    return playGame(dir.path, script, firstLevel, startLives, startCredits);
}

GameSnapshot playGame(const std::string &root, const std::string &script, int32_t firstLevel,
                      int32_t startLives, int32_t startCredits) {
    HeadlessGame game(script);
    dataRoot = root;
    hostCloseRequested = scriptEnded;
    soundOff = 0;
    initSound();
    snapshot = GameSnapshot{};
    snapshot.gameStart = gameClock();
    // A new game's flags, whatever a test before this one left half done.
    dyingFlag = gameOverFlag = levelDoneFlag = 0;
    score = 0;
    lives = startLives;
    credits = startCredits;
    firstLevelIndex = firstLevel;
    screenState = ScreenState{STATE_GAME, STATE_GAME};
    playLoop(&screenState);
    if (!snapshot.closed)
        takeSnapshot();
    // The game keeps its high-score file open; Windows removes no folder
    // that holds an open file.
    closeHighScoreFile();
    firstLevelIndex = 0;
    hostCloseRequested = nullptr;
    return snapshot;
}
