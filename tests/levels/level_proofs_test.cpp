// Every shipped level is won by its input script, from the level's start, in
// the headless host; the score each proof reaches is recorded here so that a
// change in the game's rules shows up. The whole game is also played in one
// run, level after level, to the win; and no level is won by waiting.
//
// Proofs are played with seed 0: every level starts its chances from the
// run's seed and its own number. Only a game's first frame is the long one
// in which nothing moves, so every level after the first is proven as the
// game reaches it: the level before it is left at once with F9.
#include "app/states.h"
#include "frontend/front_end.h"
#include "platform/headless/input_script.h"
#include "test_support.h"
#include "world/high_score.h"
#include "world/play_loop.h"
#include "world/play_state.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>

namespace {

constexpr int FINAL_LEVEL = 20;
// The score of the whole game played through by the proofs, doubled by the win.
constexpr int WHOLE_GAME_SCORE = 373300;

struct Proof {
    std::string script;
    int level = -1, next = -1, score = -1;
};

std::vector<Proof> proofs() {
    std::vector<Proof> found;
    const std::filesystem::path dir = std::filesystem::path(wobbleSourceDir) / "tests/levels";
    for (const auto &entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".script")
            continue;
        Proof p;
        p.script = entry.path().string();
        std::ifstream in(p.script);
        std::string line;
        std::smatch m;
        const std::regex expect("# expect level=(\\d+) next=(\\d+) score=(\\d+)");
        while (std::getline(in, line))
            if (std::regex_search(line, m, expect)) {
                p.level = std::stoi(m[1]);
                p.next = std::stoi(m[2]);
                p.score = std::stoi(m[3]);
            }
        found.push_back(p);
    }
    std::sort(found.begin(), found.end(),
              [](const Proof &a, const Proof &b) { return a.level < b.level; });
    return found;
}

// The game in this process, watched frame by frame: each level, once it has
// started, gets its own script laid on the clock from its first frame.
struct Watch {
    std::vector<std::vector<ScriptEvent>> scripts; // by level, times from the level's start
    int32_t level = -1;
    int32_t lowestLives = 3;
    int32_t lastScore = 0;
    uint64_t stopAt = 0;
    int32_t only = -1; // the one level proven, -1 for the whole game
    std::vector<int32_t> levelsPlayed;
};
Watch watch;
Host watched;
void (*realPresent)(const Cell *, int, int);

void watchedPresent(const Cell *cells, int width, int height) {
    realPresent(cells, width, height);
    if (levelIndex != watch.level) {
        if (watch.only >= 0 && watch.level == watch.only)
            screenState.current = STATE_EXIT; // the proven level is over
        watch.level = levelIndex;
        if (levelIndex == watch.only)
            score = 0; // a proof's score is what its level alone earns
        watch.levelsPlayed.push_back(levelIndex);
        if (levelIndex >= 0 && levelIndex < static_cast<int32_t>(watch.scripts.size()))
            for (ScriptEvent event : watch.scripts[levelIndex])
                if (event.kind != ScriptEvent::END) {
                    event.time += static_cast<uint32_t>(headless.virtualMs);
                    headlessQueueEvent(event);
                }
    }
    watch.lowestLives = std::min(watch.lowestLives, lives);
    watch.lastScore = score;
    if (headless.virtualMs > watch.stopAt)
        screenState.current = STATE_EXIT;
}

// Plays from the first level with the proofs' scripts until the game leaves
// the play screen or `limitMs` of play have passed; returns the screen it left
// for. With `only`, plays that level alone, reached from the one before it.
int32_t play(uint64_t limitMs, int32_t only = -1) {
    watch = Watch{};
    watch.only = only;
    for (const Proof &p : proofs()) {
        std::vector<ScriptEvent> events;
        std::string error;
        EXPECT_TRUE(loadInputScript(p.script.c_str(), events, error)) << p.script << error;
        if (p.level >= static_cast<int>(watch.scripts.size()))
            watch.scripts.resize(p.level + 1);
        if (only < 0 || p.level == only)
            watch.scripts[p.level] = events;
    }
    watch.stopAt = limitMs;
    TempDir dir;
    makeDataRoot(dir);
    HeadlessGame game(only > 0 ? "0 tap F9\n" : "");
    dataRoot = dir.path;
    FrontEnd_Init();
    watched = *host;
    realPresent = watched.present;
    watched.present = watchedPresent;
    host = &watched;
    hostCloseRequested = [] { screenState.current = STATE_EXIT; };
    chanceSeed = 0;
    // A new game's counts and flags, whatever a test before this one left.
    lives = STARTING_LIVES;
    score = 0;
    dyingFlag = gameOverFlag = levelDoneFlag = 0;
    firstLevelIndex = only > 0 ? only - 1 : 0;
    screenState = ScreenState{STATE_GAME, STATE_GAME};
    playLoop(&screenState);
    firstLevelIndex = 0;
    hostCloseRequested = nullptr;
    closeHighScoreFile();
    FrontEnd_Shutdown();
    return screenState.current;
}

} // namespace

TEST(LevelProofs, EveryLevelIsWonByItsScript) {
    const std::vector<Proof> all = proofs();
    ASSERT_EQ(static_cast<int>(all.size()), shippedLevelCount())
        << "one proof for every listed level";
    for (const Proof &p : all) {
        SCOPED_TRACE(p.script);
        ASSERT_GE(p.level, 0) << "the script needs an '# expect' line";
        if (p.level == FINAL_LEVEL)
            continue; // the won game clears its score: played in the whole game below
        play(10 * 60000, p.level);
        EXPECT_EQ(watch.level, p.next);
        EXPECT_EQ(watch.lowestLives, 3) << "won without losing a life";
        EXPECT_EQ(watch.lastScore, p.score);
    }
}

TEST(LevelProofs, TheWholeGameIsPlayedThroughInOneRun) {
    EXPECT_EQ(play(20 * 60000), STATE_ATTRACT) << "the game is won";
    std::vector<int32_t> order;
    for (int32_t i = 0; i <= FINAL_LEVEL; i++)
        order.push_back(i);
    EXPECT_EQ(watch.levelsPlayed, order) << "every level once, in order";
    EXPECT_EQ(watch.lowestLives, 3) << "without losing a life";
    EXPECT_EQ(watch.lastScore, WHOLE_GAME_SCORE);
}

// A quarter turn one way and then one the other does not bring an object
// that is not square back where it was (the turn places it by its width and
// height), so a level that mixes 90 and -90 walks its platforms out of the
// room in a few minutes.
TEST(LevelProofs, EveryLevelTurnsOneWayOnly) {
    const std::filesystem::path dir = std::filesystem::path(wobbleSourceDir) / "data/levels";
    int levels = 0;
    for (const auto &entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".rot")
            continue;
        levels++;
        std::ifstream in(entry.path());
        bool left = false, right = false;
        for (int angle; in >> angle;) {
            left = left || angle == 90;
            right = right || angle == -90;
        }
        EXPECT_FALSE(left && right) << entry.path().filename();
    }
    EXPECT_EQ(levels, shippedLevelCount());
}

TEST(LevelProofs, NoLevelIsWonByStandingStill) {
    TempDir scripts;
    scripts.write("still.script", "60000 end\n");
    for (int level = 0; level < shippedLevelCount(); level++) {
        SCOPED_TRACE("level " + std::to_string(level));
        TempDir dir;
        makeDataRoot(dir);
        int code = -1;
        const std::string out = runProgram("-skiptogame -soundoff --seed=0 --data=" + dir.path +
                                               " --script=" + scripts.file("still.script") +
                                               " --start-level=" + std::to_string(level),
                                           code);
        // Still there, or out of lives (a lost game starts over at 0): not won.
        const int reached = reportField(out, "levelIndex");
        EXPECT_TRUE(reached == level || reached == 0) << out;
        EXPECT_NE(reached, level + 1) << out;
    }
}
