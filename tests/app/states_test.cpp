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

TEST(Program, RejectsABadScriptWithItsLineAndDoesNotStart) {
    TempDir dir;
    dir.write("bad.txt", "10 tap A\n20 hop B\n");
    int code = 0;
    std::string out = runProgram("--script=" + dir.file("bad.txt"), code);
    EXPECT_EQ(code, 2);
    EXPECT_EQ(out.find("exitCode"), std::string::npos) << "the run does not start";
}

TEST(Program, RejectsMalformedOptions) {
    int code = 0;
    runProgram("--host=banana", code);
    EXPECT_EQ(code, 2);
    runProgram("--host=headless --seed=-3", code);
    EXPECT_EQ(code, 2);
    runProgram("--host=headless --frame-every=0", code);
    EXPECT_EQ(code, 2);
}

TEST(Program, EndsWithAReportLine) {
    TempDir dir;
    dir.write("end.txt", "100 end\n");
    int code = -1;
    std::string out = runProgram("--script=" + dir.file("end.txt") + " -unknown-switch", code);
    EXPECT_EQ(code, 0);
    ASSERT_FALSE(out.empty());
    std::string last = out.substr(out.rfind('\n', out.size() - 2) + 1);
    EXPECT_EQ(last.front(), '{') << "the report is the last line";
    EXPECT_NE(last.find("\"exitCode\":0"), std::string::npos) << last;
    EXPECT_NE(last.find("\"state\":"), std::string::npos) << last;
    EXPECT_NE(last.find("\"frames\":"), std::string::npos) << last;
    EXPECT_NE(last.find("\"virtualMs\":"), std::string::npos) << last;
}
