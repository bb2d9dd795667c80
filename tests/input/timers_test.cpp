#include "input/keyboard.h"
#include "input/timers.h"
#include "test_support.h"
#include <gtest/gtest.h>

TEST(Stopwatch, FirstCallStartsItAndItNeverRestartsItself) {
    for (int32_t mode : {TIMER_COUNTER, TIMER_CLOCK}) {
        HeadlessGame game;
        timerMode = mode;
        Stopwatch sw{};
        EXPECT_EQ(stopwatchExpired(&sw, 0), 0) << "the first call never reports expiry";
        EXPECT_EQ(stopwatchExpired(&sw, 0), 1);
        Stopwatch longer{};
        stopwatchExpired(&longer, 300);
        idleFor(299);
        EXPECT_EQ(stopwatchExpired(&longer, 300), 0);
        idleFor(1);
        EXPECT_EQ(stopwatchExpired(&longer, 300), 1);
        EXPECT_DOUBLE_EQ(longer.elapsed, 300.0);
        idleFor(5000);
        EXPECT_EQ(stopwatchExpired(&longer, 300), 1);
        longer.started = 0;
        EXPECT_EQ(stopwatchExpired(&longer, 300), 0) << "clearing the flag restarts it";
    }
}

TEST(WaitOrKey, RunsItsTimeOrEndsOnAKeyDown) {
    HeadlessGame game("250 down SPACE\n300 up SPACE\n");
    uint32_t t0 = timeGetTime();
    EXPECT_EQ(waitOrKey(0), 0);
    EXPECT_EQ(timeGetTime(), t0) << "a wait of 0 returns at once";
    EXPECT_EQ(waitOrKey(100), 0);
    EXPECT_EQ(timeGetTime() - t0, 100u);
    EXPECT_EQ(waitOrKey(1000), 1);
    EXPECT_GE(timeGetTime() - t0, 250u);
    EXPECT_LT(timeGetTime() - t0, 255u) << "the key ends the wait within a few milliseconds";
    EXPECT_EQ(waitOrKey(200), 0) << "a key-up does not end a wait";
}

TEST(WaitOrKey, AKeyAlreadyHeldDoesNotEndItButItsRepeatDoes) {
    HeadlessGame game("0 down A\n500 down A\n");
    idleFor(1);
    pumpConsoleInput(); // the first press is consumed before the wait
    EXPECT_EQ(waitOrKey(300), 0);
    EXPECT_EQ(waitOrKey(1000), 1) << "autorepeat delivers a fresh key-down";
}
