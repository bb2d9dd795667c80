// Recording and replaying the whole program: a scripted session through the
// screens this build has (start-up, the game, winning a level, the pause
// screen, leaving it for the menu and coming back, inserting a credit, a
// world turn) replays in the headless host to the same report and the same
// frames, also as a timedemo; a replay whose game draws differently stops at
// the first frame that differs, and one that finds no data says so.
#include "test_support.h"
#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

struct ProgramRun {
    std::string out, err;
    int code = -1;
};

ProgramRun run(const std::string &arguments) {
    ProgramRun r;
    r.out = runProgram(arguments, r.code, &r.err);
    return r;
}

// Plays the script on `dir` (a data root) from the first level, recording
// to s.rec and keeping frames in recorded/; replays may keep theirs in replayed/.
ProgramRun recordSession(const TempDir &dir, const std::string &script,
                         const std::string &more = "") {
    dir.write("session.script", script);
    fs::create_directories(dir.file("recorded"));
    fs::create_directories(dir.file("replayed"));
    return run("-skiptogame --data=" + dir.path + " --script=" + dir.file("session.script") +
               " --record=" + dir.file("s.rec") + " --frames=" + dir.file("recorded") + more);
}

std::vector<std::string> frameFiles(const std::string &dir) {
    std::vector<std::string> names;
    for (const auto &e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Start-up, the first level won (walk, jump, drop a box on the dummy), a
// credit, the pause screen and back, the room turned, the pause screen left
// for the menu (which starts the game again), and the window closed.
const char *SESSION = "1000 down RIGHT\n"
                      "1680 up RIGHT\n"
                      "1800 down UP\n"
                      "1830 up UP\n"
                      "1950 tap SPACE\n"
                      "2500 tap F5\n"
                      "3000 tap P\n"
                      "3600 tap P\n"
                      "5000 down LEFT\n"
                      "5400 up LEFT\n"
                      "5600 tap SPACE\n"
                      "6500 tap S\n"
                      "8000 tap P\n"
                      "8500 tap Q\n"
                      "9500 down RIGHT\n"
                      "9900 up RIGHT\n"
                      "10200 tap X\n"
                      "11000 end\n";

} // namespace

TEST(ReplayProgram, AHeadlessSessionReplaysToTheSameReportAndFrames) {
    TempDir dir;
    makeDataRoot(dir);
    dir.write("data/stats/highScores.txt", "2000");
    const ProgramRun recorded = recordSession(dir, SESSION, " --frame-every=10");
    ASSERT_EQ(recorded.code, 0) << recorded.err;
    const std::string report = lastLine(recorded.out);
    ASSERT_NE(report.find("\"levelIndex\":0"), std::string::npos)
        << "back at the start: " << report;
    ASSERT_NE(report.find("\"virtualMs\":11000"), std::string::npos) << report;

    // The session beat the high score; the replay still starts from the old one.
    const ProgramRun replayed =
        run("--host=headless --data=" + dir.path + " --replay=" + dir.file("s.rec") +
            " --frames=" + dir.file("replayed") + " --frame-every=10");
    EXPECT_EQ(replayed.code, 0) << replayed.err;
    EXPECT_EQ(lastLine(replayed.out), report);
    EXPECT_NE(replayed.err.find("frames as recorded"), std::string::npos) << replayed.err;
    const std::vector<std::string> names = frameFiles(dir.file("recorded"));
    EXPECT_GT(names.size(), 50u);
    EXPECT_EQ(frameFiles(dir.file("replayed")), names);
    for (const std::string &name : names)
        ASSERT_EQ(dir.read("recorded/" + name), dir.read("replayed/" + name)) << name;

    const ProgramRun timedemo =
        run("--data=" + dir.path + " --replay=" + dir.file("s.rec") + " --timedemo");
    EXPECT_EQ(timedemo.code, 0) << timedemo.err;
    EXPECT_EQ(lastLine(timedemo.out), report);
    const std::string frames = report.substr(report.find("\"frames\":") + 9);
    EXPECT_EQ(
        timedemo.out.rfind("timedemo: " + frames.substr(0, frames.find(',')) + " frames in ", 0),
        0u)
        << timedemo.out;
    // The replay changed nothing under the data root.
    EXPECT_EQ(dir.read("data/stats/highScores.txt"), "6000");
}

TEST(ReplayProgram, AGameThatDrawsDifferentlyStopsAtTheFirstDifferentFrame) {
    TempDir dir;
    makeDataRoot(dir);
    const ProgramRun recorded =
        recordSession(dir, "500 down RIGHT\n800 up RIGHT\n1000 tap P\n1500 tap P\n2500 end\n");
    ASSERT_EQ(recorded.code, 0) << recorded.err;

    // The same data, but without the pause screen's picture: the pause then
    // shows the frozen field alone.
    TempDir other;
    makeDataRoot(other);
    ASSERT_TRUE(fs::remove(other.file("data/surfaces/PauseScreen.srf")));

    const ProgramRun replayed =
        run("--host=headless --data=" + other.path + " --replay=" + dir.file("s.rec") +
            " --frames=" + dir.file("replayed"));
    EXPECT_EQ(replayed.code, 3);
    EXPECT_NE(lastLine(replayed.out).find("\"exitCode\":3"), std::string::npos) << replayed.out;
    const std::string marker = "replay drifted at frame ";
    const size_t found = replayed.err.find(marker);
    ASSERT_NE(found, std::string::npos) << replayed.err;
    const int frame = std::stoi(replayed.err.substr(found + marker.size()));
    EXPECT_GT(frame, 50) << "the pause comes a second into the game";
    // Every frame before it is as recorded; it is the first that differs.
    const std::vector<std::string> shown = frameFiles(dir.file("replayed"));
    ASSERT_EQ(static_cast<int>(shown.size()), frame - 1);
    for (const std::string &name : shown)
        EXPECT_EQ(dir.read("recorded/" + name), dir.read("replayed/" + name));
    char name[32];
    snprintf(name, sizeof name, "frame_%06d.srf", frame);
    EXPECT_TRUE(fs::exists(dir.file(std::string("recorded/") + name)));

    // Without the game's data at all the replay says so instead of drifting.
    TempDir empty;
    const ProgramRun lost =
        run("--host=headless --data=" + empty.path + " --replay=" + dir.file("s.rec"));
    EXPECT_EQ(lost.code, 2);
    EXPECT_EQ(lost.err.find("drifted"), std::string::npos) << lost.err;
    EXPECT_NE(lost.err.find(empty.path), std::string::npos) << lost.err;
    EXPECT_NE(lost.err.find("--data"), std::string::npos) << lost.err;
}
