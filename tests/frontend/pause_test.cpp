// The pause screen inside a play frame: the game clock stands still, story
// boxes keep their own time, and the keys that end the pause.
#include "frontend/dialog.h"
#include "frontend/pause.h"
#include "input/keyboard.h"
#include "test_support.h"
#include "world/play_state.h"
#include <gtest/gtest.h>

namespace {

struct PauseFixture {
    HeadlessGame game;
    TempDir dir; // no pause picture in this root
    explicit PauseFixture(const std::string &script) : game(script) {
        dataRoot = dir.path;
        pausedFlag = 0;
        pauseRedrawTimer.started = 0;
        returnToMenu = 0;
        dyingFlag = 0;
        lives = 3;
        credits = 0;
    }
    ~PauseFixture() {
        Dialog_ClearAll();
        // What the pause's keys set would end the next test's game at once.
        returnToMenu = 0;
        dyingFlag = 0;
        lives = 3;
        credits = 0;
    }
    // One play frame as far as the pause and the story boxes go.
    void frame() {
        idleFor(20);
        pollKeyboard();
        Pause_Check();
        Dialog_Update();
    }
    void framesUntil(uint64_t ms) {
        while (headless.virtualMs < ms)
            frame();
    }
};

} // namespace

TEST(Pause, TheGameClockStandsStillWhileAStoryBoxKeepsItsOwnTime) {
    PauseFixture f("1000 tap P\n11500 tap P\n");
    f.dir.writeSurface("box.srf", 40, 16, {'.', 0x01});
    f.dir.write("a.dlg", "0\nbox.srf\nOne\n3 3\n0\nbox.srf\nTwo\n3 3\n");
    Dialog_LoadScript("a.dlg");
    Dialog_Start();
    // The play field under the pause: a pattern to find again on screen.
    for (int i = 0; i < SCREEN_WIDTH * SCREEN_HEIGHT; i++)
        backBuffer->cells[i] = Cell{static_cast<uint16_t>('a' + i % 26), 0x07};
    const std::vector<Cell> field(backBuffer->cells,
                                  backBuffer->cells + SCREEN_WIDTH * SCREEN_HEIGHT);

    pausedTotal = 500; // an earlier pause: this one adds to it
    f.framesUntil(1000);
    const uint32_t clockBefore = gameClock();
    ASSERT_STREQ(currentDialog->text, "One");
    f.frame(); // P released: the pause runs inside this frame
    EXPECT_GE(headless.virtualMs, 11520u);
    EXPECT_EQ(pausedFlag, 0);
    EXPECT_NEAR(static_cast<double>(pausedTotal), 11000.0, 40.0);
    EXPECT_LT(gameClock() - clockBefore, 60u) << "no jump in the game clock";
    EXPECT_EQ(headless.lastFrame, field) << "without its picture the pause shows the field";
    // The box's ten seconds ran on through the pause: it moves on at once.
    ASSERT_NE(currentDialog, nullptr);
    EXPECT_STREQ(currentDialog->text, "Two");
}

TEST(Pause, EscClosesOnlyOnANewReleaseAndRNeedsACredit) {
    {
        PauseFixture f("100 tap ESCAPE\n400 tap R\n700 tap ESCAPE\n");
        f.framesUntil(100);
        f.frame();
        EXPECT_GE(headless.virtualMs, 720u) << "the release that opened it did not close it";
        EXPECT_EQ(lives, 3) << "R without credits does nothing";
        EXPECT_EQ(dyingFlag, 0);
    }
    {
        PauseFixture f("100 tap P\n400 tap R\n");
        credits = 2;
        f.framesUntil(100);
        f.frame();
        EXPECT_EQ(pausedFlag, 0);
        EXPECT_EQ(lives, 0) << "counted as the last life: the death check spends a credit";
        EXPECT_EQ(dyingFlag, 1);
        EXPECT_LT(headless.virtualMs, 500u);
    }
    {
        PauseFixture f("100 tap P\n400 tap Q\n");
        credits = 4;
        f.framesUntil(100);
        f.frame();
        EXPECT_EQ(returnToMenu, 1);
        EXPECT_EQ(credits, 0);
        EXPECT_EQ(currentDialog, nullptr);
    }
}
