#include "input/keyboard.h"
#include "input/timers.h"
#include "test_support.h"
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

TEST(Keyboard, ReleaseIsSeenOnceAtTheFirstSnapshotAfterTheKeyGoesUp) {
    HeadlessGame game("10 down SPACE\n100 up SPACE\n205 down A\n208 up A\n230 down B\n250 up B\n");
    for (int t = 0; t < 200; t += 10) {
        pollKeyboard();
        EXPECT_EQ(keyReleased(VK_SPACE), t == 100) << t;
        idleFor(10);
    }
    idleFor(20); // t = 220
    pollKeyboard();
    EXPECT_EQ(keyReleased('A'), 0) << "a press and release between two snapshots is never seen";
    idleFor(20); // t = 240, B held
    pollKeyboard();
    idleFor(20); // t = 260, B up
    pollKeyboard();
    pollKeyboard();
    EXPECT_EQ(keyReleased('B'), 0) << "two polls in one frame make the snapshots equal";
    EXPECT_EQ(keyReleased(300), 0);
}

namespace {
std::vector<KeyEventRecord> keys;
std::vector<MouseEventRecord> clicks, moves;
void recordKey(KeyEventRecord r) {
    keys.push_back(r);
}
void recordClick(MouseEventRecord r) {
    clicks.push_back(r);
}
void recordMove(MouseEventRecord r) {
    EXPECT_EQ(lastMousePos.x, r.x) << "the position is stored before the handler runs";
    moves.push_back(r);
}
} // namespace

TEST(Keyboard, HandlersGetKeysLeftClicksAndMoves) {
    HeadlessGame game("10 type t1\n200 click 20 30\n");
    keys.clear();
    clicks.clear();
    moves.clear();
    onKey = recordKey;
    onLeftButton = recordClick;
    onMouseMove = recordMove;
    idleFor(300);
    pumpConsoleInput();
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0].asciiChar, 't');
    EXPECT_EQ(keys[0].virtualKeyCode, 'T');
    EXPECT_EQ(keys[0].keyDown, 1);
    EXPECT_EQ(keys[1].keyDown, 0);
    EXPECT_EQ(keys[2].asciiChar, '1');
    ASSERT_EQ(clicks.size(), 1u) << "the button release calls nothing";
    EXPECT_EQ(clicks[0].x, 20);
    EXPECT_EQ(clicks[0].y, 30);
    ASSERT_EQ(moves.size(), 1u);
    // The right button alone calls nothing, the left with the right held
    // does, a double click does not.
    for (const auto &[buttons, flags, calls] :
         {std::tuple{2u, 0u, 1u}, {3u, 0u, 2u}, {1u, 2u, 2u}}) {
        dispatchMouseEvent(MouseEventRecord{3, 4, buttons, 0, flags});
        EXPECT_EQ(clicks.size(), calls);
    }
    onKey = nullptr;
    onLeftButton = nullptr;
    onMouseMove = nullptr;
}

TEST(Stopwatch, FirstCallStartsItAndAClockBehindItStartsItAgain) {
    for (int32_t mode : {TIMER_COUNTER, TIMER_CLOCK}) {
        SCOPED_TRACE(mode);
        Stopwatch sw{}, ahead{};
        {
            HeadlessGame earlier;
            timerMode = mode;
            idleFor(60000);
            stopwatchExpired(&ahead, 300);
        }
        HeadlessGame game;
        timerMode = mode;
        EXPECT_EQ(stopwatchExpired(&sw, 300), 0) << "the first call never reports expiry";
        // A minute on, the clock begins anew under `ahead`: it starts again,
        // and expires 300 ms later, not a minute later.
        EXPECT_EQ(stopwatchExpired(&ahead, 300), 0);
        idleFor(299);
        EXPECT_EQ(stopwatchExpired(&sw, 300), 0);
        idleFor(1);
        EXPECT_EQ(stopwatchExpired(&sw, 300), 1);
        EXPECT_EQ(stopwatchExpired(&ahead, 300), 1);
        EXPECT_DOUBLE_EQ(sw.elapsed, 300.0);
        sw.started = 0;
        EXPECT_EQ(stopwatchExpired(&sw, 300), 0) << "clearing the flag restarts it";
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
