#include "platform/term/term_input.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The events as short text: "+41a" is A down typing 'a', "-10" is Shift up,
// "+20sp" Space down typing a blank,
// "m1 8,8 b1" a mouse event with flags 1 at cell 8,8 with buttons 1.
std::string take(TermInput &in) {
    std::string s;
    for (const HostEvent &e : in.events) {
        char text[48];
        if (e.type == HOST_EVENT_KEY) {
            const char c = e.key.asciiChar;
            snprintf(text, sizeof text, "%c%02X%s", e.key.keyDown ? '+' : '-', e.key.virtualKeyCode,
                     c == ' '               ? "sp"
                     : c > 0x20 && c < 0x7F ? std::string(1, c).c_str()
                     : c                    ? ("^" + std::to_string(c)).c_str()
                                            : "");
        } else {
            snprintf(text, sizeof text, "m%u %d,%d b%u", e.mouse.eventFlags, e.mouse.x, e.mouse.y,
                     e.mouse.buttonState);
        }
        if (!s.empty())
            s += ' ';
        s += text;
    }
    in.events.clear();
    return s;
}

void feed(TermInput &in, const std::string &bytes, uint32_t now) {
    termInputFeed(in, bytes.data(), bytes.size(), now);
}

} // namespace

TEST(TermInput, PlainKeysAndTheirCharacters) {
    TermInput in;
    feed(in, "q1 \r\t\x7f", 1000);
    EXPECT_EQ(take(in), "+51q +311 +20sp +0D^13 +09^9 +08^8");
    feed(in, "Q", 1000);
    EXPECT_EQ(take(in), "+10 +51Q") << "Shift goes down before the letter";
    feed(in, "/?", 1000);
    EXPECT_EQ(take(in), "-10 +BF/ +10 +BF?") << "each key says whether Shift is down";
    feed(in, "\x05", 1000);
    EXPECT_EQ(take(in), "-10 +11 +45^5") << "Ctrl+E: Ctrl held and the letter";
    EXPECT_EQ(in.events.size(), 0u);
}

TEST(TermInput, EscapeSequencesForSpecialKeys) {
    TermInput in;
    feed(in, "\x1b[A\x1b[B\x1b[C\x1b[D\x1bOP\x1b[15~\x1b[24~\x1b[5~\x1b[6~\x1b[3~", 1000);
    EXPECT_EQ(take(in), "+26 +28 +27 +25 +70 +74 +7B +21 +22 +2E");
    feed(in, "\x1b[1;5C", 1000);
    EXPECT_EQ(take(in), "+11 +27") << "Ctrl+Right";
    feed(in, "\x1bx", 1000);
    EXPECT_EQ(take(in), "-11 +12 +58x") << "Esc before a letter is Alt";
    // A cursor position report is not F3.
    feed(in, "\x1b[12;40R", 1000);
    EXPECT_EQ(take(in), "");
}

TEST(TermInput, ALoneEscWaitsForWhatMightFollow) {
    TermInput in;
    feed(in, "\x1b", 1000);
    termInputTick(in, 1000 + TERM_ESC_WAIT_MS - 1);
    EXPECT_EQ(take(in), "");
    // The rest of an arrow key arrives in a later read.
    feed(in, "[A", 1020);
    EXPECT_EQ(take(in), "+26");
    in = TermInput{};
    feed(in, "\x1b", 2000);
    EXPECT_EQ(termInputWakeIn(in, 2000), static_cast<int>(TERM_ESC_WAIT_MS));
    termInputTick(in, 2000 + TERM_ESC_WAIT_MS);
    EXPECT_EQ(take(in), "+1B^27");
    // Two Escs at once are two Esc keys.
    feed(in, "\x1b\x1b", 3000);
    termInputTick(in, 3000 + TERM_ESC_WAIT_MS);
    EXPECT_EQ(take(in), "+1B^27 +1B^27");
}

TEST(TermInput, CtrlCClosesAndCtrlZSuspendsWithoutReachingTheGame) {
    TermInput in;
    feed(in, "\x03", 1000);
    EXPECT_TRUE(in.closeRequested);
    feed(in, "\x1a", 1000);
    EXPECT_TRUE(in.suspendRequested);
    EXPECT_EQ(take(in), "");
    TermInput kitty;
    kitty.kitty = true;
    feed(kitty, "\x1b[57442;5u\x1b[99;5u", 1000);
    EXPECT_TRUE(kitty.closeRequested);
    EXPECT_EQ(take(kitty), "+11") << "only Ctrl itself reached the game";
}

TEST(TermInput, AKeyWithoutAReleaseGoesUpOnceTheGameHasSeenIt) {
    TermInput in;
    feed(in, "p", 1000);
    EXPECT_EQ(take(in), "+50p");
    termInputTick(in, 1000 + TERM_TAP_MS);
    EXPECT_EQ(take(in), "") << "not yet seen by the game";
    EXPECT_TRUE(termInputKeyHeld(in, 'P'));
    termInputTick(in, 1000 + TERM_TAP_MS + 1);
    EXPECT_EQ(take(in), "-50p");
    EXPECT_FALSE(termInputKeyHeld(in, 'P'));
    // A game that never looks still gets the key back up after the grace.
    feed(in, "p", 2000);
    termInputTick(in, 2000 + TERM_TAP_MS + TERM_SEEN_GRACE_MS - 1);
    EXPECT_EQ(take(in), "+50p");
    termInputTick(in, 2000 + TERM_TAP_MS + TERM_SEEN_GRACE_MS);
    EXPECT_EQ(take(in), "-50p");
    // A modifier goes up after its key.
    feed(in, "\x05", 3000);
    EXPECT_TRUE(termInputKeyHeld(in, 0x11));
    EXPECT_TRUE(termInputKeyHeld(in, 'E'));
    termInputTick(in, 3000 + TERM_TAP_MS);
    EXPECT_EQ(take(in), "+11 +45^5 -45^5 -11") << "the letter first, then Ctrl";

    // Plain bytes carry no releases even when kitty reports were asked for.
    TermInput kitty;
    kitty.kitty = true;
    feed(kitty, "p\x1bOP", 1000);
    EXPECT_TRUE(termInputKeyHeld(kitty, 'P'));
    EXPECT_TRUE(termInputKeyHeld(kitty, 0x70));
    termInputTick(kitty, 1000 + TERM_TAP_MS);
    EXPECT_EQ(take(kitty), "+50p +70 -50p -70");
    // A quick kitty press and release is held until the game looked once.
    feed(kitty, "\x1b[32u\x1b[32;1:3u", 2000);
    EXPECT_EQ(take(kitty), "+20sp -20sp");
    termInputTick(kitty, 2001);
    EXPECT_TRUE(termInputKeyHeld(kitty, ' '));
    termInputTick(kitty, 2002);
    EXPECT_FALSE(termInputKeyHeld(kitty, ' '));
}

TEST(TermInput, ALonePressIsATapAndAutorepeatHoldsTheKeyUntilItStops) {
    TermInput in;
    // Right arrow held: first repeat after the keyboard's delay, then every 33 ms.
    uint32_t t = 1000;
    feed(in, "\x1b[C", t);
    EXPECT_TRUE(termInputKeyHeld(in, 0x27));
    termInputTick(in, t + TERM_TAP_MS);
    EXPECT_FALSE(termInputKeyHeld(in, 0x27)) << "a press alone is a short tap";
    t += 520;
    for (int i = 0; i < 30; i++, t += 33) {
        feed(in, "\x1b[C", t);
        termInputTick(in, t + 32);
        ASSERT_TRUE(termInputKeyHeld(in, 0x27)) << i;
    }
    const std::string events = take(in);
    EXPECT_EQ(events.find('-'), events.rfind('-')) << "held without a break once it repeats";
    EXPECT_EQ(events.substr(0, 8), "+27 -27 ") << "the press's tap";
    // Let go: it goes up within 60 ms of the last repeat.
    const uint32_t last = t - 33;
    termInputTick(in, last + 33 + TERM_REPEAT_SLACK_MS - 1);
    EXPECT_EQ(take(in), "");
    termInputTick(in, last + 33 + TERM_REPEAT_SLACK_MS);
    EXPECT_EQ(take(in), "-27");
    // Two presses a person makes are two taps, not a hold.
    for (uint32_t at : {5000u, 5200u}) {
        feed(in, "d", at);
        EXPECT_TRUE(termInputKeyHeld(in, 'D'));
        termInputTick(in, at + TERM_TAP_MS);
    }
    EXPECT_EQ(take(in), "+44d -44d +44d -44d");
}

TEST(TermInput, KittyReportsPressesRepeatsAndReleases) {
    TermInput in;
    in.kitty = true;
    feed(in, "\x1b[97u", 1000);
    feed(in, "\x1b[97;1:2u\x1b[97;1:2u", 1500);
    EXPECT_EQ(take(in), "+41a +41a +41a");
    termInputTick(in, 60000);
    EXPECT_TRUE(termInputKeyHeld(in, 'A')) << "no timeouts: held until released";
    feed(in, "\x1b[97;1:3u", 60001);
    EXPECT_EQ(take(in), "-41a");
    EXPECT_FALSE(termInputKeyHeld(in, 'A'));

    // Shift as a key of its own, the shifted letter, Enter and an arrow's release.
    feed(in, "\x1b[57441;2u\x1b[97:65;2u\x1b[97:65;2:3u\x1b[57441;1:3u", 2000);
    feed(in, "\x1b[13u\x1b[13;1:3u\x1b[1;1:1A\x1b[1;1:3A\x1b[15;1:1~", 2000);
    EXPECT_EQ(take(in), "+10 +41A -41A -10 +0D^13 -0D^13 +26 -26 +74");
    // Text sent with the key wins over the key code.
    feed(in, "\x1b[59:58;2;58u", 3000);
    EXPECT_EQ(take(in), "+BA:");
}

TEST(TermInput, LosingTheFocusReleasesEveryKey) {
    TermInput in;
    feed(in, "\x1b[1;2D", 1000); // Shift+Left
    EXPECT_EQ(take(in), "+10 +25");
    feed(in, "\x1b[O", 1010);
    EXPECT_EQ(take(in), "-25 -10");
    EXPECT_FALSE(termInputKeyHeld(in, 0x25));
    EXPECT_FALSE(termInputKeyHeld(in, 0x10));
    feed(in, "\x1b[I", 1020);
    EXPECT_EQ(take(in), "");
    EXPECT_EQ(termInputWakeIn(in, 1020), -1) << "nothing left to time out";
}

TEST(TermInput, MouseReportsBecomeCellEvents) {
    TermInput in;
    in.originColumn = 4;
    in.originRow = 2;
    // Terminal column 21 is the 17th column of the picture: cell 8.
    feed(in, "\x1b[<35;21;11M", 1000);
    feed(in, "\x1b[<2;21;11M\x1b[<0;22;11M\x1b[<0;22;11m\x1b[<2;22;11m", 1000);
    EXPECT_EQ(take(in), "m1 8,8 b0 m0 8,8 b2 m0 8,8 b3 m0 8,8 b2 m0 8,8 b0");
    // Moving with a button down, and the wheel (which the game leaves alone).
    feed(in, "\x1b[<32;30;20M\x1b[<64;30;20M", 1000);
    EXPECT_EQ(take(in), "m1 12,17 b0 m4 12,17 b7864320");
    // Outside the picture a position is held at its edge.
    feed(in, "\x1b[<35;1;1M\x1b[<35;240;92M", 1000);
    const std::string events = take(in);
    EXPECT_EQ(events.substr(events.size() - 22), "m1 0,0 b0 m1 115,87 b0");
    in.cellColumns = 1;
    in.originColumn = 0;
    in.originRow = 0;
    feed(in, "\x1b[<35;10;5M", 1000);
    EXPECT_EQ(take(in), "m1 9,4 b0");
}

TEST(TermInput, AClickWithoutAMoveBeforeItMovesThereFirst) {
    TermInput in;
    // The pointer came into the window without a motion report: the game
    // places things where the mouse last moved, so the click moves it first.
    feed(in, "\x1b[<0;41;21M\x1b[<0;41;21m", 1000);
    EXPECT_EQ(take(in), "m1 20,20 b0 m0 20,20 b1 m0 20,20 b0");
    // At the place of the last report, a click is just a click; a release
    // somewhere else (a drag the terminal did not report) moves with the button down.
    feed(in, "\x1b[<35;61;31M\x1b[<0;61;31M\x1b[<0;81;31m", 1000);
    EXPECT_EQ(take(in), "m1 30,30 b0 m0 30,30 b1 m1 40,30 b1 m0 40,30 b0");
    // The wheel is not a place to move to.
    feed(in, "\x1b[<64;11;11M", 1000);
    EXPECT_EQ(take(in), "m4 5,10 b7864320");
}

TEST(TermInput, TheTerminalsAnswersAreNotKeys) {
    TermInput in;
    const std::string answers = "\x1b[?15u\x1b]4;1;rgb:8080/0000/0000\x1b\\\x1b[?62;22c";
    // However the answers are cut into reads.
    for (size_t cut = 1; cut < answers.size(); cut++) {
        in = TermInput{};
        feed(in, answers.substr(0, cut), 1000);
        feed(in, answers.substr(cut), 1001);
        EXPECT_TRUE(in.kittyAnswered && in.paletteAnswered && in.deviceAnswered) << cut;
        EXPECT_EQ(take(in), "") << cut;
    }
}
