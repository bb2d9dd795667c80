#include "frontend/front_end.h"
#include "input/timers.h"
#include "test_support.h"
#include "world/hud.h"
#include "world/levels.h"
#include "world/play_state.h"
#include <gtest/gtest.h>

namespace {

// Every numbered picture is a 2 x 2 block of one letter, so the screen says
// which picture was drawn where.
struct HudFixture {
    HeadlessGame game;
    TempDir dir;
    HudFixture() {
        const char *others[] = {"ArrowBox",    "Arrows/Up", "Arrows/Right",
                                "Arrows/Left", "AngerBar",  "Controls"};
        for (int n = 0; n < PICTURE_COUNT; n++) {
            const uint16_t ch = n < 10 ? '0' + n : 'a' + (n - 10);
            const std::string path = n < 10 ? "Numbers/" + std::to_string(n) : others[n - 10];
            dir.writeSurface("data/surfaces/" + path + ".srf", 2, 2, {ch, 0x0F});
        }
        dataRoot = dir.path;
        FrontEnd_Init();
        clearScreen();
    }
    ~HudFixture() { FrontEnd_Shutdown(); }
    char at(int x, int y) { return static_cast<char>(backBuffer->cells[y * 116 + x].ch); }
    std::string timer() {
        drawBonusTimer();
        return {at(88, 2), at(97, 2), at(106, 2)};
    }
    void gauge() {
        clearScreen();
        drawTurnGauge();
    }
};

} // namespace

TEST(Hud, TheBonusTimerCountsWholeSecondsDownOnTheGameClock) {
    HudFixture f;
    levelTime = 120;
    resetBonusTimer();
    EXPECT_EQ(f.timer(), "120");
    // Each digit fills its own two columns, nine apart.
    EXPECT_EQ(std::string({f.at(87, 2), f.at(89, 2), f.at(96, 2), f.at(98, 2), f.at(107, 2)}),
              std::string({' ', '1', ' ', '2', '0'}));
    idleFor(500);
    EXPECT_EQ(f.timer(), "120");
    idleFor(500);
    EXPECT_EQ(f.timer(), "119");
    pausedTotal += 5000; // time in the pause screen does not count
    idleFor(5000);
    EXPECT_EQ(f.timer(), "119");
    // Times outside three digits show their nearest value.
    levelTime = 1500;
    resetBonusTimer();
    EXPECT_EQ(f.timer(), "999");
    levelTime = 5;
    resetBonusTimer();
    idleFor(9000); // one very long frame
    EXPECT_EQ(f.timer(), "000");
}

TEST(Hud, TheGaugeGrowsTowardsTheTurnAndTheArrowShowsTheNextOne) {
    HudFixture f;
    clearRotationSequence();
    rotationSequence.angles[0] = 90;
    rotationSequence.angles[1] = 180;
    rotationSequence.count = 2;
    lastTurnTime = gameClock();
    drawTurnGauge();
    for (int row = 0; row < 88; row++)
        EXPECT_NE(f.at(90, row), 'e') << "no segment just after a turn, row " << row;
    EXPECT_EQ(f.at(96, 25), 'd') << "the left arrow for a turn of 90";
    EXPECT_EQ(f.at(88, 15), 'a');
    EXPECT_EQ(f.at(88, 45), 'f');
    idleFor(1500);
    f.gauge();
    EXPECT_EQ(f.at(90, 40), 'e');
    EXPECT_NE(f.at(90, 38), 'e') << "r between 18 and 19 shows one segment";
    idleFor(17000);
    f.gauge();
    EXPECT_EQ(f.at(90, 20), 'e') << "the bar nearly full just before the turn";
    EXPECT_NE(f.at(90, 18), 'e') << "its top shows only when a turn is held back";
    idleFor(3000);
    f.gauge();
    EXPECT_EQ(f.at(90, 16), 'e') << "a held-back turn grows the bar above its top";
    rotationSequence.index = 1;
    drawTurnGauge();
    EXPECT_EQ(f.at(96, 25), 'b') << "the up arrow for a half turn";
}

TEST(Hud, ScoresAreTenDigitsWithLeadingZeros) {
    HudFixture f;
    score = 750;
    lives = 2;
    credits = 4;
    drawScores();
    std::string shown;
    for (int x = 100; x < 110; x++)
        shown += f.at(x, 70);
    EXPECT_EQ(shown + f.at(95, 84) + f.at(109, 84), "000000075024") << "score, lives, credits";
    EXPECT_EQ(drawText("abc", 114, 0), 2) << "text stops at the right edge";
    EXPECT_EQ(drawText("abc", 0, 88), 0);
    score = 0;
    lives = 3;
    credits = 0;
}

TEST(Hud, AMissingPictureKeepsItsNumber) {
    HeadlessGame game;
    TempDir dir;
    dir.writeSurface("data/surfaces/Numbers/4.srf", 2, 2, {'4', 0x0F});
    dataRoot = dir.path;
    FrontEnd_Init();
    EXPECT_EQ(PictureTable.count, PICTURE_COUNT);
    EXPECT_EQ(pictureAt(3), nullptr);
    ASSERT_NE(pictureAt(4), nullptr);
    EXPECT_EQ(pictureAt(4)->cells[0].ch, '4');
    EXPECT_EQ(getPicture(PICTURE_COUNT), nullptr);
    EXPECT_EQ(getPicture(0)->number, 0);
    FrontEnd_Shutdown();
}
