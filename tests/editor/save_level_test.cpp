#include "app/states.h"
#include "editor/editor.h"
#include "editor_run.h"
#include "world/object_records.h"
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

// Places a Box, a Soldier and a Doll, then saves under `name`; the Save box
// is answered with Enter.
std::string placeThreeAndSave(const std::string &name) {
    return "100 tap 2\n150 click 20 30\n200 tap 3\n250 click 40 30\n300 tap 5\n350 click 60 30\n"
           "400 down CONTROL\n450 tap D\n500 up CONTROL\n600 type " +
           name + "\n900 tap RETURN\n1100 tap RETURN\n1500 end\n";
}

int32_t int32At(const std::string &bytes, size_t offset) {
    int32_t v;
    memcpy(&v, bytes.data() + offset, 4);
    return v;
}

} // namespace

TEST(SaveLevel, WritesTheLevelFileAndAppendsItToTheList) {
    EditorBench bench("2Wake\nMystery\nTumble\nDrift\n");
    namespace fs = std::filesystem;
    // Writable by all: a mode Windows can hold too, and not the one a new file gets.
    const fs::perms shared = fs::perms::owner_read | fs::perms::owner_write |
                             fs::perms::group_read | fs::perms::group_write |
                             fs::perms::others_read | fs::perms::others_write;
    fs::permissions(bench.levels("Levels.txt"), shared);
    EditorSnapshot s = bench.run(placeThreeAndSave("q"));
    EXPECT_EQ(fs::status(bench.levels("Levels.txt")).permissions(), shared)
        << "the rewritten list keeps its mode";
    ASSERT_TRUE(s.closed);

    const std::string lvl = bench.dir.read("data/levels/q.lvl");
    ASSERT_EQ(lvl.size(), 136u);
    EXPECT_EQ(int32At(lvl, 0), 3) << "objects";
    EXPECT_EQ(int32At(lvl, 4), 0) << "recorded turns";
    EXPECT_EQ(int32At(lvl, 8), 0) << "time";
    EXPECT_EQ(int32At(lvl, 52), KIND_BOX) << "the first object placed comes first";
    EXPECT_EQ(bench.dir.read("data/levels/Levels.txt"),
              "3Wake\nMystery\nTumble\nDrift\nq\nMystery\n");

    ASSERT_EQ(s.objects.size(), 3u);
    auto written = [&](int i, const char *offset) {
        return "Writing object with ID: " + std::to_string(s.objects[i].id) + "\toffset: 0x" +
               offset + "\n";
    };
    EXPECT_EQ(s.out, written(0, "34") + written(1, "50") + written(2, "6c"));
    EXPECT_FALSE(std::filesystem::exists(bench.levels("Levels.txt.part")));
}

TEST(SaveLevel, TheSameNameTwiceIsListedTwiceAndTheHeaderCarriesTurnsAndTime) {
    EditorBench bench("1Wake\nMystery\n");
    bench.run(placeThreeAndSave("Twice"));
    // The second visit keeps the turns and time: two records and 75 seconds.
    bench.run("100 tap S\n200 tap S\n300 tap T\n400 type 75\n600 tap RETURN\n"
              "700 tap 8\n750 click 50 50\n800 down CONTROL\n850 tap D\n900 up CONTROL\n"
              "1000 type Twice\n1400 tap RETURN\n1600 tap RETURN\n2000 end\n");
    EXPECT_EQ(bench.dir.read("data/levels/Levels.txt"),
              "3Wake\nMystery\nTwice\nMystery\nTwice\nMystery\n");
    const std::string lvl = bench.dir.read("data/levels/Twice.lvl");
    ASSERT_EQ(lvl.size(), 52u + 28u) << "the second save replaced the first";
    EXPECT_EQ(int32At(lvl, 4), 2);
    EXPECT_EQ(int32At(lvl, 8), 75);
    EXPECT_EQ(int32At(lvl, 12), 360) << "the turn block";
    EXPECT_EQ(int32At(lvl, 52), KIND_DUMMY);
}

TEST(SaveLevel, NothingIsWrittenForAnEmptyLevel) {
    EditorBench bench("1Wake\nMystery\n");
    EditorSnapshot s =
        bench.run("100 down CONTROL\n150 tap D\n200 up CONTROL\n400 tap RETURN\n600 end\n");
    EXPECT_TRUE(anyFrameShows(bench.frames, "Object list is empty! Aborting save."));
    EXPECT_TRUE(anyFrameShows(bench.frames, "Save Error"));
    EXPECT_FALSE(anyFrameShows(bench.frames, "Filename pureezu!"));
    EXPECT_EQ(bench.dir.read("data/levels/Levels.txt"), "1Wake\nMystery\n");
    EXPECT_EQ(s.out, "");
}

TEST(SaveLevel, AListThatCannotTakeTheLevelStopsTheSave) {
    std::string full = "40";
    for (int i = 0; i < 40; i++)
        full += "L" + std::to_string(i) + "\nMystery\n";
    const struct {
        const char *list;      // null: no list at all
        const char *blocker;   // a folder standing where this file must go, or null
        const char *message;   // what the save says
        const char *listAfter; // null: still no list
        bool asked;            // the file name was asked for (and the objects listed)
        bool levelFile;        // the level file is there afterwards
    } cases[] = {
        // Nothing is asked and nothing written.
        {nullptr, nullptr, "could not be read", nullptr, false, false},
        // A list without a count is something else: it is left as it is.
        {"hello\n", nullptr, "could not be read", "hello\n", false, false},
        {full.c_str(), nullptr, "is full", full.c_str(), false, false},
        // A level file that cannot be written stops the save before the list
        // would name it.
        {"1Wake\nMystery\n", "q.lvl.part", "could not be written", "1Wake\nMystery\n", true, false},
        // The list cannot be replaced (its temporary file cannot be made): the
        // level file is there, but nothing names it.
        {"1Wake\nMystery\n", "Levels.txt.part", "could not be rewritten", "1Wake\nMystery\n", true,
         true},
        // A list that says it has no level is extended.
        {"0\n", nullptr, "File saved sucessfully!", "1q\nMystery\n", true, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        EditorBench bench(c.list);
        if (c.blocker)
            std::filesystem::create_directory(bench.levels(c.blocker));
        EditorSnapshot s = bench.run(placeThreeAndSave("q"));
        EXPECT_TRUE(anyFrameShows(bench.frames, c.message));
        EXPECT_EQ(anyFrameShows(bench.frames, "Filename pureezu!"), c.asked);
        if (c.listAfter)
            EXPECT_EQ(bench.dir.read("data/levels/Levels.txt"), c.listAfter);
        else
            EXPECT_FALSE(std::filesystem::exists(bench.levels("Levels.txt")));
        EXPECT_EQ(std::filesystem::exists(bench.levels("q.lvl")), c.levelFile);
        EXPECT_FALSE(std::filesystem::exists(bench.levels("q"))) << "not even under the bare name";
        EXPECT_EQ(anyFrameShows(bench.frames, "File saved sucessfully!"),
                  c.message == std::string("File saved sucessfully!"));
        EXPECT_EQ(s.out.empty(), !c.asked) << s.out;
    }
}
