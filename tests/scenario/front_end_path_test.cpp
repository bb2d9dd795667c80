// The whole program through its front end, as a player would go: started
// without switches, through the splash and the menu into a game and back,
// the credits screen and out through the farewell.
#include "console/surface_files.h"
#include "test_support.h"
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

bool sameCells(const Surface *a, const Surface *b) {
    if (!a || !b || a->width != b->width || a->height != b->height)
        return false;
    for (int i = 0; i < a->width * a->height; i++)
        if (!(a->cells[i] == b->cells[i]))
            return false;
    return true;
}

} // namespace

TEST(FrontEndPath, SplashMenuGamePauseQuitCreditsMenuFarewell) {
    TempDir dir;
    makeDataRoot(dir);
    const std::string frames = dir.file("frames");
    std::filesystem::create_directories(frames);
    // The splash ends at 4.2 s. Enter starts the interlude, a key cuts it
    // short and the game starts; P pauses and Q quits to the menu; C shows
    // the credits, a key goes back; Esc says farewell and a key ends it.
    dir.write("path.txt", "5000 tap RETURN\n5600 tap A\n8000 tap P\n8600 tap Q\n"
                          "9800 tap C\n11000 tap A\n12500 tap ESCAPE\n13000 tap B\n");
    int code = -1;
    const std::string out = runProgram(
        "--data=" + dir.path + " --script=" + dir.file("path.txt") + " --frames=" + frames, code);
    EXPECT_EQ(code, 0);
    const std::string report = lastLine(out);
    EXPECT_EQ(reportField(report, "exitCode"), 0) << report;
    EXPECT_EQ(reportField(report, "state"), 5) << report;
    // It left by itself at the farewell's key, long before the script's end.
    EXPECT_GE(reportField(report, "virtualMs"), 13000) << report;
    EXPECT_LT(reportField(report, "virtualMs"), 13100) << report;
    EXPECT_EQ(reportField(report, "highScore"), 2000) << report;
    EXPECT_EQ(dir.read("data/stats/highScores.txt").substr(0, 4), "2000");

    // The credits page was on screen.
    dataRoot = dir.path;
    Surface *credits = loadSurfaceFile("data/surfaces/Credits.srf");
    ASSERT_NE(credits, nullptr);
    bool creditsShown = false;
    int count = 0;
    for (const auto &entry : std::filesystem::directory_iterator(frames)) {
        count++;
        Surface *frame = loadSurfaceFile(entry.path().c_str());
        creditsShown = creditsShown || sameCells(frame, credits);
        freeSurface(frame);
    }
    freeSurface(credits);
    EXPECT_TRUE(creditsShown) << count << " frames";
}

TEST(FrontEndPath, WithoutTheMenuPictureTheProgramSaysSoAndFails) {
    TempDir dir;
    dir.write("data/stats/highScores.txt", "2000");
    dir.write("end.txt", "60000 end\n");
    int code = -1;
    const std::string out = runProgram(
        "--data=" + dir.path + " --script=" + dir.file("end.txt") + " -skipsplash", code);
    EXPECT_EQ(code, 1) << "never a loop on the missing picture";
    EXPECT_EQ(reportField(out, "exitCode"), 1);
    EXPECT_EQ(reportField(out, "virtualMs"), 0) << "at once";
}
