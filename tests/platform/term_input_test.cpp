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

// One step of a decoder's life: at a time, bytes arrive (or, without bytes,
// the time passes); then the events that came out are compared (unless
// nullptr) and the game looks whether a key is held (held > 0) or up (< 0).
struct Step {
    uint32_t at;
    const char *bytes, *events;
    int held;
    Step(uint32_t t, const char *b, const char *e, int h = 0)
        : at(t), bytes(b), events(e), held(h) {}
};

void play(TermInput &in, std::initializer_list<Step> steps) {
    for (const Step &s : steps) {
        if (s.bytes)
            feed(in, s.bytes, s.at);
        else
            termInputTick(in, s.at);
        if (s.events) {
            EXPECT_EQ(take(in), s.events) << "at " << s.at;
        }
        if (s.held) {
            EXPECT_EQ(termInputKeyHeld(in, std::abs(s.held)), s.held > 0) << "at " << s.at;
        }
    }
}

} // namespace

TEST(TermInput, BytesBecomeKeys) {
    // Each group starts a fresh decoder (the last one with kitty reports);
    // within a group the steps follow on.
    struct Read {
        const char *bytes, *events;
    };
    const std::vector<std::vector<Read>> groups = {
        {{"q1 \r\t\x7f", "+51q +311 +20sp +0D^13 +09^9 +08^8"},
         {"Q", "+10 +51Q"},           // Shift goes down before the letter
         {"/?", "-10 +BF/ +10 +BF?"}, // each key says whether Shift is down
         {"\x05", "-10 +11 +45^5"}},  // Ctrl+E: Ctrl held and the letter
        {{"\x1b[A\x1b[B\x1b[C\x1b[D\x1bOP\x1b[15~\x1b[24~\x1b[5~\x1b[6~\x1b[3~",
          "+26 +28 +27 +25 +70 +74 +7B +21 +22 +2E"},
         {"\x1b[1;5C", "+11 +27"},  // Ctrl+Right
         {"\x1bx", "-11 +12 +58x"}, // Esc before a letter is Alt
         {"\x1b[12;40R", ""}},      // a cursor position report is not F3
        // Losing the focus lets every key go.
        {{"\x1b[1;2D", "+10 +25"}, {"\x1b[O", "-25 -10"}, {"\x1b[I", ""}},
        // Shift as a key of its own, the shifted letter, Enter and an arrow's
        // release; text sent with the key wins over the key code.
        {{"\x1b[57441;2u\x1b[97:65;2u\x1b[97:65;2:3u\x1b[57441;1:3u\x1b[13u\x1b[13;1:3u"
          "\x1b[1;1:1A\x1b[1;1:3A\x1b[15;1:1~",
          "+10 +41A -41A -10 +0D^13 -0D^13 +26 -26 +74"},
         {"\x1b[59:58;2;58u", "+BA:"}},
    };
    for (size_t g = 0; g < groups.size(); g++) {
        TermInput in;
        in.kitty = g == groups.size() - 1;
        for (const Read &read : groups[g]) {
            feed(in, read.bytes, 1000);
            EXPECT_EQ(take(in), read.events) << g;
        }
        if (g == 2) {
            EXPECT_EQ(termInputWakeIn(in, 1000), -1) << "nothing left to time out";
        }
    }
}

TEST(TermInput, ALoneEscWaitsForWhatMightFollow) {
    constexpr uint32_t wait = TERM_ESC_WAIT_MS;
    TermInput in;
    // The rest of an arrow key arrives in a later read.
    play(in, {{1000, "\x1b", ""}, {1000 + wait - 1, nullptr, ""}, {1020, "[A", "+26"}});
    in = TermInput{};
    feed(in, "\x1b", 2000);
    EXPECT_EQ(termInputWakeIn(in, 2000), static_cast<int>(wait));
    // Two Escs at once are two Esc keys.
    play(in, {{2000 + wait, nullptr, "+1B^27"},
              {3000, "\x1b\x1b", nullptr},
              {3000 + wait, nullptr, "+1B^27 +1B^27"}});
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
    constexpr uint32_t tap = TERM_TAP_MS, grace = TERM_SEEN_GRACE_MS;
    TermInput in;
    play(in, {{1000, "p", "+50p"},
              {1000 + tap, nullptr, "", 'P'}, // not yet seen by the game
              {1000 + tap + 1, nullptr, "-50p", -'P'},
              // A game that never looks still gets the key back up after the grace.
              {2000, "p", "+50p"},
              {2000 + tap + grace - 1, nullptr, ""},
              {2000 + tap + grace, nullptr, "-50p"},
              // A modifier goes up after its key.
              {3000, "\x05", "+11 +45^5", 0x11},
              {3000, "", "", 'E'},
              {3000 + tap, nullptr, "-45^5 -11"}});
    // Plain bytes carry no releases even when kitty reports were asked for;
    // a quick kitty press and release is held until the game looked once.
    TermInput kitty;
    kitty.kitty = true;
    play(kitty, {{1000, "p\x1bOP", "+50p +70", 'P'},
                 {1000, "", "", 0x70},
                 {1000 + tap, nullptr, "-50p -70"},
                 {2000, "\x1b[32u\x1b[32;1:3u", "+20sp -20sp"},
                 {2001, nullptr, "", ' '},
                 {2002, nullptr, "", -' '}});
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
    play(in, {{1000, "\x1b[97u", nullptr},
              {1500, "\x1b[97;1:2u\x1b[97;1:2u", "+41a +41a +41a"},
              {60000, nullptr, "", 'A'}, // no timeouts: held until released
              {60001, "\x1b[97;1:3u", "-41a", -'A'}});
}

TEST(TermInput, MouseReportsBecomeCellEvents) {
    TermInput in;
    // The pointer came into the window without a motion report: the game
    // places things where the mouse last moved, so the click moves it first.
    // At the place of the last report, a click is just a click; a release
    // somewhere else (a drag the terminal did not report) moves with the
    // button down. The wheel is not a place to move to. Outside the picture
    // a position is held at its edge.
    play(in, {{1000, "\x1b[<0;41;21M\x1b[<0;41;21m", "m1 20,20 b0 m0 20,20 b1 m0 20,20 b0"},
              {1000, "\x1b[<35;61;31M\x1b[<0;61;31M\x1b[<0;81;31m",
               "m1 30,30 b0 m0 30,30 b1 m1 40,30 b1 m0 40,30 b0"},
              {1000, "\x1b[<64;11;11M", "m4 5,10 b7864320"},
              {1000, "\x1b[<35;1;1M\x1b[<35;240;92M", "m1 0,0 b0 m1 115,87 b0"}});
    // Terminal column 21 is the 17th column of the picture: cell 8. Then
    // moving with a button down, and the wheel (which the game leaves alone).
    in.originColumn = 4;
    in.originRow = 2;
    play(in, {{1000, "\x1b[<35;21;11M\x1b[<2;21;11M\x1b[<0;22;11M\x1b[<0;22;11m\x1b[<2;22;11m",
               "m1 8,8 b0 m0 8,8 b2 m0 8,8 b3 m0 8,8 b2 m0 8,8 b0"},
              {1000, "\x1b[<32;30;20M\x1b[<64;30;20M", "m1 12,17 b0 m4 12,17 b7864320"}});
    in.cellColumns = 1;
    in.originColumn = 0;
    in.originRow = 0;
    play(in, {{1000, "\x1b[<35;10;5M", "m1 9,4 b0"}});
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
