#include "test_support.h"
#include "world/level_list.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct ListFile {
    TempDir dir;
    LevelList list{};
    ListFile() { dataRoot = dir.path; }
    ~ListFile() {
        freeLevelList(&list);
        dataRoot = wobbleSourceDir;
    }
    void read(const std::string &text) {
        freeLevelList(&list);
        dir.write("data/levels/Levels.txt", text);
        list = readLevelList();
    }
    std::vector<std::string> fields() const {
        std::vector<std::string> out;
        for (int i = 0; i < list.count; i++) {
            out.push_back(list.names[i]);
            out.push_back(list.music[i]);
        }
        return out;
    }
};

} // namespace

TEST(LevelList, ReadsTheFileAsTheEditorWritesItQuirksIncluded) {
    ListFile f;
    f.read("2First\nMystery\nSecond\nBoss\n");
    EXPECT_EQ(levelCount, 2);
    EXPECT_EQ(levelListProblem, LEVEL_LIST_OK);
    EXPECT_EQ(levelListMessage(), nullptr);
    EXPECT_EQ(f.fields(), (std::vector<std::string>{"First", "Mystery", "Second", "Boss"}));
    // 13 characters and the line end fit in the name's read.
    f.read("2abcdefghijklm\nMusic\nnext\nTune\n");
    EXPECT_EQ(f.fields(), (std::vector<std::string>{"abcdefghijklm", "Music", "next", "Tune"}));
    // 14 characters: the name loses its last character, the music gets only
    // the line end, and everything after moves down a line.
    f.read("2abcdefghijklmn\nMusic\nnext\nTune\n");
    EXPECT_EQ(f.fields(), (std::vector<std::string>{"abcdefghijklm", "", "Music", "next"}));
    // 18 characters of music fit; 19 spill.
    f.read("1a\n123456789012345678\n");
    EXPECT_EQ(f.fields(), (std::vector<std::string>{"a", "123456789012345678"}));
    f.read("2a\n1234567890123456789\nb\nc\n");
    EXPECT_EQ(f.fields(), (std::vector<std::string>{"a", "123456789012345678", "", "b"}));
    // A count alone on its line leaves the first name empty and shifts the rest.
    f.read("2\nFirst\nMystery\nSecond\nBoss\n");
    EXPECT_EQ(f.fields(), (std::vector<std::string>{"", "First", "Mystery", "Second"}));
    // Without a final line end the last field loses its last character.
    f.read("1Only\nMystery");
    EXPECT_EQ(f.fields(), (std::vector<std::string>{"Only", "Myster"}));
    // A first name that starts with digits is read as part of the count.
    f.read("1 2up\nTune\n");
    EXPECT_EQ(f.list.count, 1);
    EXPECT_EQ(f.fields()[0], " 2up");
    f.read("12up\nTune\n");
    EXPECT_EQ(f.list.count, 12);
    EXPECT_EQ(f.fields()[0], "up");
    // Fields past the end of the file are empty, never undefined.
    EXPECT_EQ(f.fields()[5], "");
    EXPECT_EQ(f.fields()[23], "");
}

TEST(LevelList, NoLevelIsAProblemWithAMessage) {
    ListFile f;
    f.list = readLevelList();
    EXPECT_EQ(f.list.count, 0);
    EXPECT_EQ(levelListProblem, LEVEL_LIST_MISSING);
    ASSERT_NE(levelListMessage(), nullptr);
    EXPECT_NE(std::string(levelListMessage()).find("could not be opened"), std::string::npos);
    for (const char *text : {"", "\n\n", "0First\nTune\n", "-3a\nb\n", "Levels\n"}) {
        f.read(text);
        EXPECT_EQ(f.list.count, 0) << text;
        EXPECT_EQ(levelCount, 0) << text;
        EXPECT_EQ(levelListProblem, LEVEL_LIST_EMPTY) << text;
        EXPECT_NE(std::string(levelListMessage()).find("lists no level"), std::string::npos);
    }
}

TEST(LevelList, AtMostFortyLevels) {
    ListFile f;
    std::string text = "45";
    for (int i = 0; i < 45; i++)
        text += "L" + std::to_string(i) + "\nM" + std::to_string(i) + "\n";
    f.read(text);
    EXPECT_EQ(f.list.count, 40);
    EXPECT_EQ(levelCount, 40);
    EXPECT_STREQ(f.list.names[39], "L39");
    EXPECT_STREQ(f.list.music[39], "M39");
    f.read("99999999999999999999x\ny\n");
    EXPECT_EQ(f.list.count, 40);
}
