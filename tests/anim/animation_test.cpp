#include "anim/animation.h"
#include "test_support.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Size = std::pair<int, int>;

// Loads one script written into a temporary data root.
struct ScriptFile {
    TempDir dir;
    List set;
    ScriptFile() {
        listSetUp(&set, 5, 88, destroyAnimation);
        dataRoot = dir.path;
    }
    ~ScriptFile() {
        listDestroyAll(&set);
        dataRoot = wobbleSourceDir;
    }
    int load(const std::string &text) {
        dir.write("data/surfaces/Test.anm", text);
        return loadAnimation(&set, "Test.anm");
    }
    Animation *last() const { return static_cast<Animation *>(set.items[set.count - 1]); }
    Frame *frame(int orientation, int i) const {
        return static_cast<Frame *>(last()->frames[orientation].items[i]);
    }
};

std::vector<int> groups(const FrameInfo *info) {
    std::vector<int> out;
    for (int i = 0; i < info->collidesWith.count; i++)
        out.push_back(*static_cast<uint8_t *>(info->collidesWith.items[i]));
    return out;
}

std::string row(int n, const char *token) {
    std::string s;
    for (int i = 0; i < n; i++)
        s += std::string(i ? " " : "") + token;
    return s + "\n";
}

} // namespace

TEST(AnimationScript, GroupAndCollisionLines) {
    ScriptFile f;
    const std::string pic = row(2, "(65,1,0)") + row(2, "(65,1,0)");
    ASSERT_EQ(f.load("(2,2)[6,9]\n"
                     "3\nx01\n" +
                     pic +                 // lead-in x, then 0 and 1
                     "abc\n01\n" + pic +   // the leading 0 only leads in
                     "  7\nq\n" + pic +    // a letter alone: no groups
                     "   \n:5a5\n" + pic + // blanks alone are group 1; duplicates stay
                     "-2\n:\n" + pic +     //
                     "4\n"),               // ends before its collision line
              1);
    EXPECT_EQ(f.last()->spare, 9);
    ASSERT_EQ(f.last()->frameCount, 6);
    std::vector<std::pair<int, std::vector<int>>> seen;
    for (int i = 0; i < 6; i++)
        seen.push_back({f.frame(0, i)->info->collisionGroup, groups(f.frame(0, i)->info)});
    // A frame whose collision line is missing tests against groups 0 and 1,
    // and its picture is blank.
    EXPECT_EQ(seen, (std::vector<std::pair<int, std::vector<int>>>{
                        {3, {0, 1}}, {1, {1}}, {7, {}}, {1, {5, 5}}, {-2, {}}, {4, {0, 1}}}));
    EXPECT_EQ(f.frame(0, 5)->picture->cells[0].ch, 0x20);
}

TEST(AnimationScript, CellTokens) {
    ScriptFile f;
    ASSERT_EQ(f.load("(3,2)[1,0]\n1\n:0\n"
                     "(65,3) () (66,2,4)\n"
                     "\t() (300,0,0)\r(67,99,-1)\r\n"),
              1);
    // A token without numbers repeats the character in black on black, and the
    // carry runs on across rows; codes out of range are clamped.
    const Cell *c = f.frame(0, 0)->picture->cells;
    EXPECT_EQ(std::vector<Cell>(c, c + 6), (std::vector<Cell>{{'A', colourToAttribute(3, 0)},
                                                              {'A', 0},
                                                              {'B', colourToAttribute(2, 4)},
                                                              {'B', 0},
                                                              {300 & 0xFF, 0},
                                                              {'C', colourToAttribute(15, 15)}}));
}

TEST(AnimationScript, TurnedFramesAreQuarterTurnsWithTheGroupButNoTests) {
    ScriptFile f;
    // 4 x 2: top row ABCD, bottom row EFGH.
    ASSERT_EQ(f.load("(4,2)[3,0]\n"
                     "6\n:012\n(65) (66) (67) (68)\n(69) (70) (71) (72)\n"
                     "6\n:012\n(65) (66) (67) (68)\n(69) (70) (71) (72)\n"
                     "6\n:012\n(65) (66) (67) (68)\n(69) (70) (71) (72)\n"),
              1);
    for (int k = 0; k < ORIENTATIONS; k++)
        EXPECT_EQ(f.last()->frames[k].count, 3);
    Frame *up = f.frame(0, 0);
    Frame *quarter = f.frame(1, 0);
    ASSERT_EQ(Size(quarter->picture->width, quarter->picture->height), std::make_pair(2, 4));
    EXPECT_EQ(Size(quarter->info->width, quarter->info->height), std::make_pair(2, 4));
    // Clockwise: the old bottom-left corner is the new top-left.
    std::string turned;
    for (int i = 0; i < 8; i++)
        turned += static_cast<char>(quarter->picture->cells[i].ch);
    EXPECT_EQ(turned, "EAFBGCHD");
    for (int k = 1; k < ORIENTATIONS; k++) {
        EXPECT_EQ(f.frame(k, 0)->info->collisionGroup, 6);
        EXPECT_TRUE(groups(f.frame(k, 0)->info).empty());
    }
    Frame *full = rotateFrame(f.frame(3, 0));
    ASSERT_EQ(full->picture->width, 4);
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(full->picture->cells[i].ch, up->picture->cells[i].ch);
    destroyFrame(full);
}

TEST(AnimationScript, OddSizesAndCounts) {
    ScriptFile f;
    // W of 1: no picture lines are read, so what follows is the next frame's
    // group and collision lines. Sizes are 0 in every orientation.
    ASSERT_EQ(f.load("(1,3)[2,0]\n5\n:1\n65\n:2\n"), 1);
    ASSERT_EQ(f.last()->frameCount, 2);
    EXPECT_EQ(f.frame(0, 0)->info->width, 0);
    EXPECT_EQ(f.frame(0, 0)->picture->cells, nullptr);
    EXPECT_EQ(f.frame(0, 1)->info->collisionGroup, 65);
    EXPECT_EQ(groups(f.frame(0, 1)->info), (std::vector<int>{2}));
    for (int k = 1; k < ORIENTATIONS; k++)
        EXPECT_EQ(f.frame(k, 0)->info->width + f.frame(k, 0)->info->height, 0);

    ASSERT_EQ(f.load("(2,2)[0,0]\n"), 1);
    EXPECT_EQ(f.last()->frameCount, 0) << "N of 0: an animation without frames";
    ASSERT_EQ(f.load("(2,2)[-4,0]\n1\n:0\n"), 1);
    EXPECT_EQ(f.last()->frameCount, 0);
}

TEST(AnimationScript, LongLinesSpillShortLinesAreBlankAndEarlyEndsKeepWhatWasRead) {
    ScriptFile f;
    // 19 characters on the collision line: the 19th is read as the first
    // picture row, and the real rows move down by one.
    ASSERT_EQ(f.load("(2,2)[1,0]\n1\n:012345678901234567(88,2)\n(65) (65)\n(66) (66)\n"), 1);
    std::vector<int> expected = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(groups(f.frame(0, 0)->info), expected);
    const Cell *c = f.frame(0, 0)->picture->cells;
    EXPECT_EQ(std::string({char(c[0].ch), char(c[1].ch), char(c[2].ch)}), "X A")
        << "a short row ends in blanks";

    // Ends inside the second frame's picture: two frames, the second blank
    // where its rows are missing.
    ASSERT_EQ(f.load("(2,2)[5,0]\n1\n:0\n(65) (65)\n(65) (65)\n2\n:0\n(66) (66)\n"), 1);
    ASSERT_EQ(f.last()->frameCount, 2);
    EXPECT_EQ(f.frame(0, 1)->picture->cells[0].ch, 'B');
    EXPECT_EQ(f.frame(0, 1)->picture->cells[2].ch, 0x20);
    EXPECT_EQ(f.last()->frames[3].count, 2);

    // A picture line far longer than the line buffer is read on as more lines.
    std::string wide = "(4,2)[1,0]\n1\n:0\n" + std::string(3000, ' ') + "(65)\n(66)\n";
    ASSERT_EQ(f.load(wide), 1);
    EXPECT_EQ(f.frame(0, 0)->picture->cells[0].ch, 0x20);
}

TEST(AnimationScript, UnusableHeadersAppendNothing) {
    ScriptFile f;
    const char *broken[] = {
        "",           "garbage\n",      "(0,2)[1,0]\n",     "(2,-3)[1,0]\n", "(2 ,2)[1,0]\n",
        "(2,2)[1]\n", "(101,2)[1,0]\n", "(2,70000)[1,0]\n", "(2,2)[65,0]\n", "(65536,2)[1,0]\n",
    };
    for (const char *header : broken) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(f.load(header), 0) << header;
        EXPECT_NE(testing::internal::GetCapturedStderr(), "") << header;
    }
    EXPECT_EQ(f.set.count, 0);

    testing::internal::CaptureStderr();
    EXPECT_EQ(loadAnimation(&f.set, "Missing.anm"), 0);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(message.rfind("Error opening animation file.\n[File: .\\Animation, Line: ", 0), 0u)
        << message;
    EXPECT_NE(message.find("data/surfaces/Missing.anm: No such file"), std::string::npos)
        << message;
    EXPECT_EQ(f.set.count, 0);
}
