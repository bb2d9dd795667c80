// Which real file a game path names, and what the game refuses to open:
// paths out of the data, links out of it, and anything but a regular file.
#include "platform/files.h"
#include "test_support.h"
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Roots {
    TempDir shipped, player, outside;
    Roots() {
        dataRoot = shipped.path;
        shipped.write("data/levels/Levels.txt", "shipped list");
        shipped.write("data/levels/a.lvl", "shipped a");
        outside.write("secret", "not the game's");
    }
    ~Roots() {
        dataRoot = wobbleSourceDir;
        userDataRoot.clear();
        userDataReadOnly = false;
    }
};

// What the game reads through `path`, or "(none)" when it opens nothing.
std::string readGameFile(const char *path, const char *mode = "rb") {
    FILE *f = openDataFile(path, mode);
    if (!f)
        return "(none)";
    std::string text;
    char chunk[256];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0)
        text.append(chunk, n);
    fclose(f);
    return text;
}

} // namespace

TEST(Files, PathsAndLinksOutOfTheDataAreRefusedWithOneLine) {
    Roots roots;
    // A link within the data is fine; one out of it is not, even through a folder.
    fs::create_symlink(roots.shipped.file("data/levels/a.lvl"),
                       roots.shipped.file("data/levels/b.lvl"));
    fs::create_symlink(roots.outside.file("secret"), roots.shipped.file("data/levels/c.lvl"));
    fs::create_symlink(roots.outside.path, roots.shipped.file("data/pack"));
    const std::string outsideAbsolute = roots.outside.file("secret");
    const struct {
        std::string path;
        std::string want;
    } cases[] = {
        {"data\\levels\\a.lvl", "shipped a"},
        {"data/levels/../levels/./a.lvl", "shipped a"},
        {roots.shipped.file("data/levels/a.lvl"), "shipped a"},
        {"data/levels/b.lvl", "shipped a"},
        // Level names fit 13 characters, enough to climb out.
        {"data/levels/../../../secret", "(none)"},
        {"..\\..\\etc\\pw", "(none)"},
        {"../x", "(none)"},
        {outsideAbsolute, "(none)"},
        {"/etc/passwd", "(none)"},
        {"data/levels/c.lvl", "(none)"},
        {"data/pack/secret", "(none)"},
    };
    for (const auto &c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(readGameFile(c.path.c_str()), c.want) << c.path;
        const std::string err = testing::internal::GetCapturedStderr();
        if (c.want == "(none)") {
            EXPECT_NE(err.find(c.path), std::string::npos) << err;
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
            EXPECT_EQ(dataPath(c.path.c_str()), "") << c.path;
        } else {
            EXPECT_EQ(err, "");
        }
    }
    // Nothing is written out of the data either.
    EXPECT_EQ(replaceDataFile("../written", "x", 1), 0);
    EXPECT_EQ(replaceDataFile("data/pack/secret", "x", 1), 0);
    EXPECT_FALSE(fs::exists(roots.shipped.path + "/../written"));
    EXPECT_EQ(roots.outside.read("secret"), "not the game's");
}

TEST(Files, OnlyRegularFilesOfASaneSizeAreReadAndNothingBlocks) {
    Roots roots;
    fs::create_directories(roots.shipped.file("data/levels/folder.lvl"));
    ASSERT_EQ(mkfifo(roots.shipped.file("data/levels/pipe.lvl").c_str(), 0600), 0);
    {
        FILE *big = fopen(roots.shipped.file("data/levels/big.lvl").c_str(), "wb");
        ASSERT_TRUE(big);
        ASSERT_EQ(ftruncate(fileno(big), MAX_DATA_FILE_BYTES + 1), 0);
        fclose(big);
    }
    for (const char *path :
         {"data/levels/folder.lvl", "data/levels/pipe.lvl", "data/levels/big.lvl"}) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(readGameFile(path), "(none)") << path;
        EXPECT_EQ(readGameFile(path, "r+"), "(none)") << path;
        EXPECT_EQ(dataPath(path), "") << path;
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(path), std::string::npos) << err;
    }
}

TEST(Files, ThePlayersFilesHideTheShippedOnesAndTakeEveryWrite) {
    Roots roots;
    userDataRoot = roots.player.path;
    EXPECT_EQ(readGameFile("data/levels/Levels.txt"), "shipped list");
    EXPECT_EQ(readGameFile("data/levels/Levels.txt", "r+"), "(none)")
        << "an update never touches a shipped file";
    // The player's folder gets the subfolders it lacks.
    ASSERT_EQ(replaceDataFile("data\\levels\\Levels.txt", "own list", 8), 1);
    EXPECT_EQ(readGameFile("data/levels/Levels.txt"), "own list");
    EXPECT_EQ(readGameFile("data/levels/Levels.txt", "r+"), "own list");
    EXPECT_EQ(readGameFile("data/levels/a.lvl"), "shipped a");
    EXPECT_EQ(roots.shipped.read("data/levels/Levels.txt"), "shipped list");
    // A link out of the player's folder is refused like one out of the data.
    fs::create_symlink(roots.outside.path, roots.player.file("data/stats"));
    testing::internal::CaptureStderr();
    EXPECT_EQ(replaceDataFile("data/stats/secret", "x", 1), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("data/stats/secret"), std::string::npos);
    EXPECT_EQ(roots.outside.read("secret"), "not the game's");
    // Without a usable folder nothing is written, silently (start-up said so once).
    userDataReadOnly = true;
    testing::internal::CaptureStderr();
    EXPECT_EQ(replaceDataFile("data/levels/new.lvl", "x", 1), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(readGameFile("data/levels/Levels.txt"), "own list");
}
