// The splash, the menu with its interludes, and the credits and high-score
// screen, run in-process on the headless host with scripted keys.
#include "app/startup.h"
#include "console/console_setup.h"
#include "console/surface_files.h"
#include "frontend/attract.h"
#include "frontend/front_end.h"
#include "frontend/menu.h"
#include "frontend/splash.h"
#include "input/keyboard.h"
#include "sound/sound.h"
#include "test_support.h"
#include "world/high_score.h"
#include "world/play_state.h"
#include <algorithm>
#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace {

using PaletteArray = std::array<uint32_t, 16>;

PaletteArray palette(const uint32_t *p) {
    PaletteArray a;
    std::copy(p, p + 16, a.begin());
    return a;
}

// A data root of the game's own pictures (or, for the attract screen, of
// the test's own) with a high-score file of its own.
struct FrontFixture {
    HeadlessGame game;
    TempDir dir;
    ScreenState state{STATE_MENU, STATE_MENU};
    explicit FrontFixture(const std::string &script = "", bool gamesData = true) : game(script) {
        if (gamesData)
            makeDataRoot(dir);
        dataRoot = dir.path;
        skipMenu = skipSplash = soundOff = 0;
        menuReturnTime = 0;
        showCredits = 1;
        pageFrames = 0;
    }
    ~FrontFixture() {
        freeSurface(creditsPicture);
        creditsPicture = nullptr;
        freeSurface(highScorePicture);
        highScorePicture = nullptr;
        closeHighScoreFile();
    }
    // Virtual milliseconds since the host started.
    uint64_t now() const { return headless.virtualMs; }
    // One visit of the menu state as the state loop makes it.
    void menu() {
        if (Menu_Load(&state)) {
            Menu_Run(&state);
            Menu_Unload();
        }
    }
};

using PaletteChanges = std::vector<std::pair<uint64_t, PaletteArray>>;

} // namespace

TEST(Splash, FadesTheTitleInHoldsItShowsTheLogoAndKeysShortenEachStage) {
    // Black, the fade steps 50 ms apart, the title palette, the default. A key
    // in the fade puts the title palette up at once; the hold still runs. A
    // key in the logo ends it 100 ms later.
    const struct {
        const char *script;
        int steps;
        uint64_t title, logo, end;
    } cases[] = {
        {"", FADE_STEPS, 700, 2200, 4200}, // 700 ms fade, 1500 ms hold, 2000 ms logo
        {"120 tap A\n2500 tap B\n", 3, 120, 1620, 2600},
    };
    for (const auto &c : cases) {
        FrontFixture f(c.script);
        ScreenState state{STATE_SPLASH, STATE_SPLASH};
        Splash_Run(&state);
        EXPECT_EQ(state.current, STATE_MENU);
        EXPECT_EQ(state.previous, STATE_SPLASH);
        PaletteChanges expected = {{0, palette(blackPalette.data())}};
        for (int k = 0; k < c.steps; k++)
            expected.push_back({50u * k, fadePalette[k]});
        expected.push_back({c.title, titlePalette});
        expected.push_back({c.logo, palette(standardPalette)});
        EXPECT_EQ(headless.paletteChanges, expected) << c.script;
        EXPECT_EQ(f.now(), c.end);
        EXPECT_EQ(headless.framesPresented, 2u) << "the title, then the logo";
    }
}

TEST(Menu, BlinksOnceASecondWithTheFirstSwapRepeatingPaletteA) {
    FrontFixture f("3500 tap C\n");
    f.menu();
    EXPECT_EQ(f.state.current, STATE_ATTRACT);
    EXPECT_EQ(showCredits, 1);
    EXPECT_EQ(pageFrames, 0);
    // The first swap puts A up again; the menu's teardown the standard palette.
    const PaletteArray a = palette(menuPaletteA), b = palette(menuPaletteB);
    const PaletteChanges blinks = {
        {0, a}, {1000, a}, {2000, b}, {3000, a}, {3520, palette(standardPalette)}};
    EXPECT_EQ(headless.paletteChanges, blinks);
    // C prepared the credits screen, keeping the high-score file open.
    EXPECT_NE(creditsPicture, nullptr);
    EXPECT_NE(highScoreFile, nullptr);
}

TEST(Menu, KeysActOnReleaseAndCtrlEWhileHeld) {
    const struct {
        const char *script;
        int32_t next;
        uint64_t leftAt;
        int32_t credits; // the page the interlude shows first
    } cases[] = {
        // Held S does nothing until it is released; it shows the high scores first.
        {"200 down S\n1500 up S\n", STATE_ATTRACT, 1500, 0},
        {"200 down CONTROL\n300 down E\n", STATE_EDITOR, 300, 1},
        // Esc and S in the same pass: the last assignment wins.
        {"200 down S\n200 down ESCAPE\n300 up S\n300 up ESCAPE\n400 tap A\n", STATE_EXIT, 402, 0},
        // In the farewell, the ninja walks in near 2.7 s: a first key jumps to
        // its pose, a second ends the farewell.
        {"500 tap ESCAPE\n2800 tap A\n3000 tap B\n", STATE_EXIT, 3000, 1},
        // Any key-down restarts the thirty seconds' wait, also one that means nothing here.
        {"20000 tap Q\n", STATE_ATTRACT, 50000, 1},
    };
    for (const auto &c : cases) {
        FrontFixture f(c.script);
        f.menu();
        EXPECT_EQ(std::make_tuple(f.state.current, f.now(), showCredits),
                  std::make_tuple(c.next, c.leftAt, c.credits))
            << c.script;
    }
    // A tap of a volume key is one step, however the menu's passes fall.
    FrontFixture f("200 tap X\n400 tap X\n600 tap Z\n800 tap C\n");
    const float before = soundGroupVolume(SOUND_GROUP_FX);
    setSoundGroupVolume(SOUND_GROUP_FX, 0.5f);
    f.menu();
    EXPECT_NEAR(soundGroupVolume(SOUND_GROUP_FX), 0.6f, 1e-4);
    setSoundGroupVolume(SOUND_GROUP_FX, before);
}

TEST(Menu, TheGuardIgnoresTheKeyThatLeftTheCreditsScreen) {
    // Enter leaves the credits screen at 1000; its release at 1100 falls
    // inside the guard, a second Enter at 1500 starts the game.
    FrontFixture f("1000 down RETURN\n1100 up RETURN\n1500 tap RETURN\n1700 tap A\n");
    ScreenState &state = f.state;
    state = ScreenState{STATE_ATTRACT, STATE_ATTRACT};
    loadEndPictures();
    while (state.current == STATE_ATTRACT)
        Attract_Run(&state);
    EXPECT_EQ(state.current, STATE_MENU);
    EXPECT_EQ(menuReturnTime, timeGetTime() - pausedTotal);
    EXPECT_EQ(highScoreFile, nullptr);
    EXPECT_EQ(headless.lastFrame[0].ch, ' ') << "a blank screen on the way out";
    f.menu();
    EXPECT_EQ(state.current, STATE_GAME);
    EXPECT_GE(f.now(), 1500u) << "the first Enter was not taken";
    EXPECT_LT(f.now(), 1800u) << "the key at 1700 ended the interlude";
}

TEST(Menu, ThirtySecondsWithoutAKeyShowTheCreditsScreen) {
    FrontFixture f;
    showCredits = 0;
    pageFrames = 321;
    f.menu();
    EXPECT_EQ(f.state.current, STATE_ATTRACT);
    EXPECT_EQ(f.now(), 30000u);
    EXPECT_EQ(showCredits, 0) << "the page that was due";
    EXPECT_EQ(pageFrames, 321);
}

TEST(Menu, EnterPlaysTheStartInterludeToItsEnd) {
    FrontFixture f("500 tap RETURN\n");
    f.menu();
    EXPECT_EQ(f.state.current, STATE_GAME);
    EXPECT_EQ(headless.paletteChanges[headless.paletteChanges.size() - 2].second,
              palette(menuPaletteA));
    // The figure walks 90 columns, two a frame every other step; the ninja
    // walks in, poses for 1.4 s and walks out: about 6.5 s in all.
    EXPECT_GT(f.now(), 6000u);
    EXPECT_LT(f.now(), 8000u);
}

TEST(Menu, EscPlaysTheFarewellFadesTheMusicAndShutsSoundDown) {
    FrontFixture f("500 tap ESCAPE\n");
    initSound();
    f.menu();
    EXPECT_EQ(f.state.current, STATE_EXIT);
    std::vector<float> volumes;
    bool shutDownLast = false;
    for (const HeadlessSoundCall &call : headless.soundCalls) {
        if (call.what == "volume" && call.sound == SOUND_GROUP_BGM)
            volumes.push_back(call.volume);
        shutDownLast = call.what == "shutdown";
    }
    ASSERT_GE(volumes.size(), 4u);
    for (size_t i = 1; i < volumes.size(); i++)
        EXPECT_NEAR(volumes[i - 1] - volumes[i], 0.15f, 1e-4) << "the music fades in steps";
    EXPECT_LE(volumes.back(), 0.0f);
    EXPECT_TRUE(shutDownLast) << "nothing sounds after the farewell";
    // Star 0.5 s, the figure's seven pictures 1.7 s, the ninja 0.5 s, its
    // pose 2.3 s.
    EXPECT_GT(f.now(), 4500u);
    EXPECT_LT(f.now(), 6500u);
}

namespace {

// A data root with digit pictures of one cell-sized mark each ('0' + n)
// and a plain high-score page, so the drawn digits can be read back.
void writeDigitRoot(const TempDir &dir, const std::string &score) {
    for (int n = 0; n < 10; n++)
        dir.writeSurface("data/surfaces/Numbers/" + std::to_string(n) + ".srf", 2, 2,
                         Cell{static_cast<uint16_t>('0' + n), 0x0E});
    dir.writeSurface("data/surfaces/Highscore.srf", SCREEN_WIDTH, SCREEN_HEIGHT, Cell{'.', 0x01});
    dir.write("data/stats/highScores.txt", score);
}

std::string digitsOnScreen() {
    std::string s;
    for (int i = 5; i >= 0; i--)
        s += static_cast<char>(
            headless.lastFrame[DIGIT_ROW * SCREEN_WIDTH + ONES_DIGIT_COLUMN - DIGIT_SPACING * i]
                .ch);
    return s;
}

struct AttractFixture : FrontFixture {
    AttractFixture(const std::string &score, const std::string &script = "")
        : FrontFixture(script, false) {
        writeDigitRoot(dir, score);
        state = ScreenState{STATE_ATTRACT, STATE_ATTRACT};
        FrontEnd_Init();
        showCredits = 0;
        highScore = 0;
        gameWon = 0; // as a new run has it, whichever game was won before
        loadEndPictures();
    }
    ~AttractFixture() { FrontEnd_Shutdown(); }
};

} // namespace

TEST(Attract, DrawsSixDigitsWithLeadingZerosAndACap) {
    // A score under the least high score is raised to it; only the drawing is capped.
    const std::pair<const char *, const char *> cases[] = {
        {"150", "002000"}, {"987654", "987654"}, {"1234567", "999999"}};
    for (const auto &[file, drawn] : cases) {
        AttractFixture f(file);
        Attract_Run(&f.state);
        EXPECT_EQ(digitsOnScreen(), drawn);
        EXPECT_EQ(highScore, std::max(2000, std::stoi(file)));
    }
}

TEST(Attract, TurnsThePageEveryThousandPassesOfAboutFiveMilliseconds) {
    AttractFixture f("4321");
    for (int i = 0; i < 999; i++)
        Attract_Run(&f.state);
    EXPECT_EQ(showCredits, 0);
    EXPECT_EQ(pageFrames, 999);
    Attract_Run(&f.state);
    EXPECT_EQ(showCredits, 1) << "the credits page comes next";
    EXPECT_EQ(pageFrames, 0);
    EXPECT_EQ(headless.virtualMs, 1000u * ATTRACT_PASS_IDLE_MS) << "about five seconds a page";
    Attract_Run(&f.state);
    EXPECT_EQ(headless.lastFrame[0].ch, ' ') << "no credits picture in this root: a blank page";
    EXPECT_EQ(f.state.current, STATE_ATTRACT) << "no key, no way out";
}

TEST(Attract, AHighScoreThatCannotBeSavedIsSaidOnItsPage) {
    AttractFixture f("4321");
    auto said = [] {
        return rowText(headless.lastFrame, UNSAVED_NOTE_ROW) +
               rowText(headless.lastFrame, UNSAVED_NOTE_ROW + 1);
    };
    Attract_Run(&f.state);
    EXPECT_EQ(said().find("cannot be saved"), std::string::npos) << said();
    closeHighScoreFile(); // Windows removes no open file
    std::filesystem::remove(f.dir.file("data/stats/highScores.txt"));
    testing::internal::CaptureStderr();
    loadEndPictures();
    testing::internal::GetCapturedStderr();
    Attract_Run(&f.state);
    EXPECT_NE(said().find("This best score cannot be saved ("), std::string::npos) << said();
    EXPECT_NE(said().find("highScores.txt: No such file"), std::string::npos) << said();
    EXPECT_NE(said().find("It lasts only until the game ends."), std::string::npos);
}

TEST(Attract, TheCreditsPageTellsTheStorysEndOnlyAfterAWonGame) {
    AttractFixture f("4321");
    showCredits = 1;
    auto row = [] { return rowText(headless.lastFrame, EPILOGUE_ROW); };
    Attract_Run(&f.state);
    EXPECT_EQ(row().find("lamps are home"), std::string::npos) << "a lost game";
    gameWon = 1;
    Attract_Run(&f.state);
    EXPECT_NE(row().find("The lamps are home,"), std::string::npos) << row();
    gameWon = 0;
}

TEST(StartUp, InstallsTheHooksAndShutdownPutsTheHostPaletteBack) {
    HeadlessGame game;
    TempDir dir;
    makeDataRoot(dir);
    dataRoot = dir.path;
    const PaletteArray hostPalette = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    headless.palette = hostPalette;
    freeBackBuffer(backBuffer);
    backBuffer = nullptr;
    menuHook = attractHook = exitHook = nullptr;
    ScreenState state{STATE_INIT, STATE_INIT};
    ASSERT_EQ(startUp(&state), 1);
    EXPECT_EQ(state.current, STATE_SPLASH);
    EXPECT_EQ(menuHook, Menu_Run);
    EXPECT_EQ(attractHook, Attract_Run);
    setConsolePalette(menuPaletteB);
    exitHook(&state);
    EXPECT_EQ(backBuffer, nullptr);
    shutDown();
    EXPECT_EQ(headless.palette, hostPalette);
}
