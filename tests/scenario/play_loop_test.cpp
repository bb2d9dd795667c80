#include "app/states.h"
#include "game_run.h"
#include "world/object_records.h"
#include <gtest/gtest.h>

namespace {
TestLevel quiet(const std::string &name) {
    TestLevel level;
    level.name = name;
    level.objects = {at(KIND_PLAYER, 10, 78, 1), at(KIND_DUMMY, 60, 77)};
    return level;
}
} // namespace

TEST(PlayLoop, ALevelWithoutEnemiesEndsOnceThePlayerHasSettled) {
    TestLevel empty;
    empty.name = "Empty";
    empty.objects = {at(KIND_PLAYER, 10, 78, 1)};
    GameSnapshot early = runGame({empty, quiet("Next")}, "180 end\n");
    EXPECT_EQ(early.levelIndex, 0) << "still settling";
    GameSnapshot late = runGame({empty, quiet("Next")}, "300 end\n");
    EXPECT_EQ(late.levelIndex, 1);
    EXPECT_EQ(late.score, 6000) << "the whole bonus time";
}

TEST(PlayLoop, TheLastLifeWithoutCreditsEndsTheGame) {
    TestLevel deadly;
    deadly.name = "Deadly";
    deadly.objects = {at(KIND_PLAYER, 40, 78, 1), at(KIND_DUMMY, 44, 77)};
    GameSnapshot s = runGame({deadly}, "5000 end\n", 0, 1, 0);
    EXPECT_FALSE(s.closed) << "the game left by itself";
    EXPECT_EQ(s.state, STATE_ATTRACT);
    EXPECT_EQ(s.credits, 0);
}

TEST(PlayLoop, ACreditRestartsTheLevelWithThreeLives) {
    TestLevel deadly;
    deadly.name = "Deadly";
    deadly.objects = {at(KIND_PLAYER, 40, 78, 1), at(KIND_DUMMY, 44, 77)};
    GameSnapshot s = runGame({deadly}, "1600 end\n", 0, 1, 2);
    EXPECT_TRUE(s.closed);
    EXPECT_EQ(s.credits, 1);
    EXPECT_EQ(s.lives, 3);
}

TEST(PlayLoop, CreditsStopAtFive) {
    std::string script;
    for (int i = 0; i < 12; i++)
        script += std::to_string(500 + i * 200) + " tap F5\n";
    script += "3500 end\n";
    GameSnapshot s = runGame({quiet("Quiet")}, script, 0, 3, 3);
    EXPECT_EQ(s.credits, 5);
}

TEST(PlayLoop, TheTurnKeysDoNothingOnABossLevel) {
    TestLevel boss;
    boss.name = "Boss";
    boss.turns = {90, 180};
    boss.objects = {at(KIND_PLAYER, 10, 78, 1), at(KIND_OZZLE, 60, 73)};
    const std::string keys = "1500 tap S\n2500 down DOWN\n3000 up DOWN\n4000 end\n";
    GameSnapshot onBoss = runGame({quiet("First"), boss}, keys, 1);
    EXPECT_EQ(onBoss.turnIndex, 0);
    TestLevel plain = quiet("Plain");
    plain.turns = {90, 180, -90};
    GameSnapshot elsewhere = runGame({quiet("First"), plain}, keys, 1);
    EXPECT_EQ(elsewhere.turnIndex, 2) << "S and the held Down arrow each turn once";
}

TEST(PlayLoop, ATurnHeldBackByADeathFollowsAsSoonAsItIsResolved) {
    TestLevel level;
    level.name = "Late";
    level.objects = {at(KIND_PLAYER, 10, 78, 1), at(KIND_DUMMY, 40, 77)};
    // Walk into the dummy at 18.5 s; the death takes a little over a second.
    GameSnapshot s = runGame({level}, "18000 down RIGHT\n18600 up RIGHT\n21000 end\n");
    EXPECT_EQ(s.lives, 2);
    const uint32_t turnedAfter = s.lastTurnTime - s.gameStart;
    EXPECT_GT(turnedAfter, 19100u) << "not while the player was dying";
    EXPECT_LT(turnedAfter, 20000u) << "but at once when the death was resolved";
}
