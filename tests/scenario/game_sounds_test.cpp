#include "game_run.h"
#include "platform/headless/headless_host.h"
#include "world/object_records.h"
#include <gtest/gtest.h>

namespace {
// The effects played, by file name, in order.
std::vector<std::string> plays() {
    std::vector<std::string> names;
    for (const HeadlessSoundCall &c : headless.soundCalls)
        if (c.what == "play")
            names.push_back(c.path.substr(c.path.rfind('/') + 1));
    return names;
}

int count(const std::vector<std::string> &names, const std::string &name) {
    return static_cast<int>(std::count(names.begin(), names.end(), name));
}

TestLevel dummyLevel(const std::string &name) {
    TestLevel level;
    level.name = name;
    level.objects = {at(KIND_PLAYER, 8, 78, 1), at(KIND_DUMMY, 50, 77)};
    return level;
}
} // namespace

TEST(GameSounds, EveryAcceptedCreditPressShuffles) {
    // A release stays visible to every pass until the next frame, and the
    // passes on an even game clock each count: one tap may add more than one.
    GameSnapshot one = runGame({dummyLevel("Quiet")}, "500 tap F5\n1000 end\n");
    EXPECT_EQ(one.credits, 5) << "the passes of one frame on an even clock";
    EXPECT_EQ(count(plays(), "Shuffle.ogg"), 6) << "a shuffle for every accepted pass";
    std::string script;
    for (int i = 0; i < 8; i++)
        script += std::to_string(500 + i * 200) + " tap F5\n";
    script += "2500 end\n";
    GameSnapshot many = runGame({dummyLevel("Quiet")}, script, 0, 3, 2);
    EXPECT_EQ(many.credits, 5);
    EXPECT_GE(count(plays(), "Shuffle.ogg"), 8) << "it shuffles on at 5 credits";
}

TEST(GameSounds, AGameSoundsInTheOrderThingsHappen) {
    // Walk, jump, conjure in mid-air onto the dummy, then the next level's music.
    const std::string script = "1000 down RIGHT\n1680 up RIGHT\n1800 down UP\n1830 up UP\n"
                               "1950 tap SPACE\n4000 end\n";
    GameSnapshot s = runGame({dummyLevel("One"), dummyLevel("Two")}, script);
    ASSERT_EQ(s.levelIndex, 1);
    const std::vector<std::string> order = plays();
    const std::vector<std::string> expected = {"Menu.ogg", "jump.ogg", "create.ogg", "destroy.ogg",
                                               "Mystery.ogg"};
    std::vector<std::string> seen;
    for (const std::string &name : order)
        if (std::find(expected.begin(), expected.end(), name) != expected.end())
            seen.push_back(name);
    EXPECT_EQ(seen, expected);
}

TEST(GameSounds, ATurnShakesWithoutOverlapAndCrashesEveryTime) {
    TestLevel level = dummyLevel("Turns");
    level.turns = {180};
    // Two keyed turns 1.1 s apart: the shake of the first has ended by then.
    GameSnapshot s = runGame({level}, "1500 tap S\n2700 tap S\n4500 end\n");
    (void)s;
    const std::vector<std::string> order = plays();
    EXPECT_EQ(count(order, "Crash.ogg"), 2);
    EXPECT_EQ(count(order, "Shake.ogg"), 2);
}
