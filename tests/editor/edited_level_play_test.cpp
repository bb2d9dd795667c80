#include "app/states.h"
#include "editor/editor.h"
#include "editor_run.h"
#include "input/timers.h"
#include "objects/kinds.h"
#include "world/level_writer.h"
#include "world/levels.h"
#include "world/object_access.h"
#include "world/object_list.h"
#include "world/play_loop.h"
#include "world/play_state.h"
#include <gtest/gtest.h>

namespace {

struct PlayedGame {
    bool closed = false;
    int32_t levelIndex = -1, score = -1, lives = -1;
};
PlayedGame played;

void gameScriptEnded() {
    played.closed = true;
    played.levelIndex = levelIndex;
    played.score = score;
    played.lives = lives;
    screenState.current = STATE_EXIT;
}

} // namespace

TEST(EditedLevel, ALevelSavedInTheEditorLoadsAndPlaysOnceItHasTurns) {
    // A quiet first level, so that the list has somewhere to go on to.
    EditorBench bench("1Start\nMystery\n");
    const int32_t block[10] = {};
    const std::vector<uint8_t> start = encodeLevel(
        1, 60, block, {LevelRecord{KIND_PLAYER, 10, 78, 0, 0, 1}, {KIND_DUMMY, 60, 77, 0, 0, 0}});
    bench.dir.write("data/levels/Start.lvl", std::string(start.begin(), start.end()));
    bench.dir.write("data/levels/Start.rot", "180 ");

    // The author places the player, a Dummy on the floor and a Box high above
    // it, gives the level 42 seconds and saves it as "Mine".
    bench.run("100 tap 1\n150 click 12 80\n200 tap 8\n250 click 61 78\n300 tap 2\n"
              "350 click 61 21\n400 tap T\n500 type 42\n700 tap RETURN\n"
              "800 down CONTROL\n850 tap D\n900 up CONTROL\n1000 type Mine\n1300 tap RETURN\n"
              "1500 tap RETURN\n1800 end\n");
    ASSERT_EQ(bench.dir.read("data/levels/Levels.txt"), "2Start\nMystery\nMine\nMystery\n");
    EXPECT_FALSE(loadLevel("Mine")) << "no .rot yet: the game does not load it";
    EXPECT_EQ(objectList, nullptr);

    // The turns are written by hand.
    bench.dir.write("data/levels/Mine.rot", "90 ");
    ASSERT_TRUE(loadLevel("Mine"));
    EXPECT_EQ(levelTime, 42);
    EXPECT_EQ(rotationSequence.count, 0) << "the editor recorded no turn, so none is read";
    std::vector<int32_t> kinds;
    for (ObjectNode *n = objectList; n; n = n->next)
        kinds.push_back(n->kind);
    EXPECT_EQ(kinds, (std::vector<int32_t>{KIND_PLAYER, KIND_BORDER, KIND_BORDER, KIND_BORDER,
                                           KIND_BORDER, KIND_DUMMY, KIND_BOX}));
    EXPECT_FLOAT_EQ(objectBox(objectList)->x, 11);
    EXPECT_FLOAT_EQ(objectBox(objectList)->y, 79);
    clearObjects();
    clearRotationSequence();

    // Played from its place in the list, the Box falls on the Dummy and the
    // level is won within a second or two: the crush and the rest of the 42
    // seconds are scored, and the game goes on (round to the first level).
    HeadlessGame game("3000 end\n");
    dataRoot = bench.dir.path;
    hostCloseRequested = gameScriptEnded;
    played = PlayedGame{};
    score = 0;
    lives = 3;
    credits = 0;
    firstLevelIndex = 1;
    screenState = ScreenState{STATE_GAME, STATE_GAME};
    playLoop(&screenState);
    firstLevelIndex = 0;
    hostCloseRequested = nullptr;
    EXPECT_TRUE(played.closed);
    EXPECT_EQ(played.levelIndex, 0);
    EXPECT_EQ(played.lives, 3);
    EXPECT_GE(played.score, POINTS_DUMMY + 40 * 100);
    EXPECT_LE(played.score, POINTS_DUMMY + 42 * 100);
}
