// The whole program through its front end, as a player would go: started
// without switches, through the splash and the menu into a game and back,
// the credits screen and out through the farewell.
#include "test_support.h"
#include <gtest/gtest.h>
#include <string>

TEST(FrontEndPath, SplashMenuGamePauseQuitCreditsMenuFarewell) {
    TempDir dir;
    makeDataRoot(dir);
    // The splash ends at 4.2 s. Enter starts the interlude, a key cuts it
    // short and the game starts; P pauses and Q quits to the menu; C shows
    // the credits, a key goes back; Esc says farewell and a key ends it.
    dir.write("path.txt", "5000 tap RETURN\n5600 tap A\n8000 tap P\n8600 tap Q\n"
                          "9800 tap C\n11000 tap A\n12500 tap ESCAPE\n13000 tap B\n");
    int code = -1;
    const std::string out =
        runProgram("--data=" + dir.path + " --script=" + dir.file("path.txt"), code);
    EXPECT_EQ(code, 0);
    const std::string report = lastLine(out);
    EXPECT_EQ(reportField(report, "state"), 5) << report;
    // It left by itself at the farewell's key, long before the script's end.
    EXPECT_GE(reportField(report, "virtualMs"), 13000) << report;
    EXPECT_LT(reportField(report, "virtualMs"), 13100) << report;
    EXPECT_EQ(reportField(report, "highScore"), 2000) << report;
    EXPECT_EQ(dir.read("data/stats/highScores.txt").substr(0, 4), "2000");
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

// A key pressed on one screen or dialog and let go on the next does nothing
// there: Enter that says yes to leaving the editor, Enter that leaves the
// credits screen, Space held while a story box closes.
TEST(FrontEndPath, NoKeyCarriesOverToTheNextScreen) {
    TempDir dir;
    makeDataRoot(dir);
    auto objects = [&](const std::string &switches, const std::string &script) {
        dir.write("keys.txt", script);
        int code = -1;
        const std::string out = runProgram(
            switches + " -soundoff --data=" + dir.path + " --script=" + dir.file("keys.txt"), code);
        EXPECT_EQ(code, 0) << out;
        const std::string report = lastLine(out);
        return report.substr(report.find("\"objects\""));
    };
    // Editor (Ctrl+E), Esc, Enter held on "Yes" into the menu; then the
    // credits (C), left with Enter held past the menu's guard. No game starts.
    const std::string menus = objects("-skipsplash", "300 down CONTROL\n320 down E\n400 up E\n"
                                                     "420 up CONTROL\n1000 tap ESCAPE\n"
                                                     "1500 down RETURN\n2500 up RETURN\n"
                                                     "3000 tap C\n4000 down RETURN\n"
                                                     "4800 up RETURN\n6000 end\n");
    EXPECT_NE(menus.find("\"Player\":0"), std::string::npos) << menus;
    // Space held as Enter closes the story box makes no box when let go;
    // pressed after it, it does.
    const std::string held =
        objects("-skiptogame", "500 down SPACE\n700 tap RETURN\n900 up SPACE\n1500 end\n");
    EXPECT_NE(held.find("\"Box\":0"), std::string::npos) << held;
    const std::string after =
        objects("-skiptogame", "700 tap RETURN\n800 down SPACE\n900 up SPACE\n1500 end\n");
    EXPECT_NE(after.find("\"Box\":1"), std::string::npos) << after;
}
