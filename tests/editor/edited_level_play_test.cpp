#include "editor/editor.h"
#include "editor_run.h"
#include "objects/kinds.h"
#include "scenario/game_run.h"
#include "world/play_state.h"
#include <gtest/gtest.h>

TEST(EditedLevel, ALevelSavedInTheEditorPlaysOnceItHasTurns) {
    // A quiet first level, so that the list has somewhere to go on to.
    EditorBench bench("1Start\nMystery\n");
    writeLevel(bench.dir, "Start", {at(KIND_PLAYER, 10, 78, 1), at(KIND_DUMMY, 60, 77)}, "180 ");

    // The author places the player, a Dummy on the floor and a Box high above
    // it, gives the level 42 seconds and saves it as "Mine".
    bench.run("100 tap 1\n150 click 12 80\n200 tap 8\n250 click 61 78\n300 tap 2\n"
              "350 click 61 21\n400 tap T\n500 type 42\n700 tap RETURN\n"
              "800 down CONTROL\n850 tap D\n900 up CONTROL\n1000 type Mine\n1300 tap RETURN\n"
              "1500 tap RETURN\n1800 end\n");
    ASSERT_EQ(bench.dir.read("data/levels/Levels.txt"), "2Start\nMystery\nMine\nMystery\n");
    // The turns are written by hand: without them the game would not load it.
    bench.dir.write("data/levels/Mine.rot", "90 ");

    // Played from its place in the list, the Box falls on the Dummy and the
    // level is won within a second or two: the crush and the rest of the 42
    // seconds are scored, and the game goes on (round to the first level).
    const GameSnapshot played = playGame(bench.dir.path, "3000 end\n", 1);
    EXPECT_TRUE(played.closed);
    EXPECT_EQ(played.levelIndex, 0);
    EXPECT_EQ(played.lives, 3);
    EXPECT_GE(played.score, POINTS_DUMMY + 40 * 100);
    EXPECT_LE(played.score, POINTS_DUMMY + 42 * 100);
}
