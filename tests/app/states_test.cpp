#include "app/states.h"
#include "test_support.h"
#include <gtest/gtest.h>

namespace {
void parse(std::vector<const char *> args) {
    args.push_back(nullptr);
    clearSwitches();
    parseSwitches(const_cast<char **>(args.data()));
}
} // namespace

TEST(Switches, SetTheirFlagsExactlyAndCaseSensitively) {
    parse({"wobblewick", "-skiptogame"});
    EXPECT_EQ(skipMenu, 1);
    EXPECT_EQ(skipSplash, 1);
    EXPECT_EQ(soundOff, 0);
    parse({"wobblewick", "-nosound", "extra", "-soundoff"});
    EXPECT_EQ(soundOff, 1);
    EXPECT_EQ(skipMenu, 0);
    parse({"wobblewick", "-SKIPMENU", "-skipmenu-", "--skipmenu"});
    EXPECT_EQ(skipMenu, 0);
    parse({"-nosound"});
    EXPECT_EQ(soundOff, 1) << "the program's own name is compared too";
    parse({"wobblewick", "-skipsplash", "-skipsplash"});
    EXPECT_EQ(skipSplash, 1);
}

TEST(Program, RefusesABadScriptOrOptionWithoutStarting) {
    TempDir dir;
    dir.write("bad.txt", "10 tap A\n20 hop B\n");
    const std::pair<std::string, std::string> cases[] = {
        {"--script=" + dir.file("bad.txt"), "bad.txt: line 2: "},
        {"--host=banana", ""},
        {"--host=headless --seed=-3", ""},
        {"--host=headless --frame-every=0", ""},
        // Options that cannot go together.
        {"--timedemo", ""},
        {"--record=/tmp/x.rec --replay=/tmp/y.rec", ""},
        {"--replay=/tmp/no-such-replay.rec --host=headless", ""},
        {"--replay=/tmp/y.rec --script=/tmp/z.script", ""},
    };
    for (const auto &[arguments, message] : cases) {
        int code = 0;
        std::string err;
        const std::string out = runProgram(arguments, code, &err);
        EXPECT_EQ(code, 2) << arguments;
        EXPECT_EQ(out.find("exitCode"), std::string::npos) << "the run does not start";
        EXPECT_EQ(err.rfind("wobblewick: ", 0), 0u) << arguments << ": " << err;
        EXPECT_NE(err.find(message), std::string::npos) << err;
    }
}

TEST(Program, EndsWithAReportLine) {
    TempDir dir;
    dir.write("end.txt", "100 end\n");
    int code = -1;
    // The top of a number's range is taken.
    const std::string last = lastLine(
        runProgram("--script=" + dir.file("end.txt") + " -unknown-switch --seed=4294967295", code));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(last.substr(0, 1), "{") << "the report is the last line";
    EXPECT_EQ(reportField(last, "exitCode"), 0);
}
