// Every shipped level is won by its input script, from the level's start, in
// the headless host; the score each proof reaches is recorded here so that a
// change in the game's rules shows up.
#include "test_support.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>

namespace {

struct Proof {
    std::string script;
    int level = -1, next = -1, score = -1;
};

std::vector<Proof> proofs() {
    std::vector<Proof> found;
    const std::filesystem::path dir = std::filesystem::path(WOBBLE_SOURCE_DIR) / "tests/levels";
    for (const auto &entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".script")
            continue;
        Proof p;
        p.script = entry.path().string();
        std::ifstream in(p.script);
        std::string line;
        std::smatch m;
        const std::regex expect("# expect level=(\\d+) next=(\\d+) score=(\\d+)");
        while (std::getline(in, line))
            if (std::regex_search(line, m, expect)) {
                p.level = std::stoi(m[1]);
                p.next = std::stoi(m[2]);
                p.score = std::stoi(m[3]);
            }
        found.push_back(p);
    }
    std::sort(found.begin(), found.end(),
              [](const Proof &a, const Proof &b) { return a.script < b.script; });
    return found;
}

int field(const std::string &json, const std::string &name) {
    std::smatch m;
    if (!std::regex_search(json, m, std::regex("\"" + name + "\":(-?\\d+)")))
        return -999;
    return std::stoi(m[1]);
}

} // namespace

TEST(LevelProofs, EveryLevelIsWonByItsScript) {
    const std::vector<Proof> all = proofs();
    ASSERT_GE(all.size(), 3u);
    for (const Proof &p : all) {
        SCOPED_TRACE(p.script);
        ASSERT_GE(p.level, 0) << "the script needs an '# expect' line";
        TempDir dir;
        makeDataRoot(dir);
        int code = -1;
        const std::string out =
            runProgram("-skiptogame -soundoff --data=" + dir.path + " --script=" + p.script +
                           " --start-level=" + std::to_string(p.level),
                       code);
        EXPECT_EQ(code, 0);
        EXPECT_EQ(field(out, "levelIndex"), p.next) << out;
        EXPECT_EQ(field(out, "lives"), 3) << "won without losing a life";
        EXPECT_EQ(field(out, "score"), p.score) << out;
    }
}

TEST(LevelProofs, EveryListedLevelHasAProof) {
    std::ifstream list(std::string(WOBBLE_SOURCE_DIR) + "/data/levels/Levels.txt");
    int count = 0;
    list >> count;
    EXPECT_EQ(static_cast<int>(proofs().size()), count);
}
