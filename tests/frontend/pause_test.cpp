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
        reset();
    }
    ~PauseFixture() {
        Dialog_ClearAll();
        reset(); // what the pause's keys set would end the next test's game at once
    }
    static void reset() {
        returnToMenu = dyingFlag = credits = 0;
        lives = 3;
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

TEST(Pause, ShowsItselfAtOnceEscClosesOnlyOnANewReleaseAndRNeedsACredit) {
    const struct {
        const char *script;
        int32_t credits;
        uint64_t atLeast, before; // when the pause has ended
        int32_t lives, dying, toMenu, creditsAfter;
    } cases[] = {
        // The release that opened it does not close it; R without credits does nothing.
        {"100 tap ESCAPE\n400 tap R\n700 tap ESCAPE\n", 0, 720, 800, 3, 0, 0, 0},
        // R counts as the last life: the death check then spends a credit.
        {"100 tap P\n400 tap R\n", 2, 400, 500, 0, 1, 0, 2},
        {"100 tap P\n400 tap Q\n", 4, 400, 500, 3, 0, 1, 0},
        // Shorter than the pause's redraw interval, and still drawn.
        {"100 tap P\n200 tap P\n", 0, 200, 300, 3, 0, 0, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.script);
        PauseFixture f(c.script);
        credits = c.credits;
        f.framesUntil(100);
        const uint64_t framesBefore = headless.framesPresented;
        f.frame();
        EXPECT_EQ(pausedFlag, 0);
        EXPECT_GE(headless.framesPresented, framesBefore + 1) << "the pause shows itself";
        EXPECT_GE(headless.virtualMs, c.atLeast);
        EXPECT_LT(headless.virtualMs, c.before);
        EXPECT_EQ(std::vector<int32_t>({lives, dyingFlag, returnToMenu, credits}),
                  std::vector<int32_t>({c.lives, c.dying, c.toMenu, c.creditsAfter}));
    }
}
