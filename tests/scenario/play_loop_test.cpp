// The game screen on levels made by each test: how levels end, lives and
// credits, the turn keys, and the sounds of a game in order.
#include "app/states.h"
#include "game_run.h"
#include "objects/play_field.h"
#include "world/object_records.h"
#include "world/play_loop.h"
#include "world/play_state.h"
#include <gtest/gtest.h>

namespace {

// A player and a dummy that never meet.
TestLevel quiet(const std::string &name) {
    TestLevel level;
    level.name = name;
    level.objects = {at(KIND_PLAYER, 8, 78, 1), at(KIND_DUMMY, 50, 77)};
    return level;
}

int count(const std::vector<std::string> &names, const std::string &name) {
    return static_cast<int>(std::count(names.begin(), names.end(), name));
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

TEST(PlayLoop, TheLastLifeEndsTheGameUnlessACreditRestartsTheLevel) {
    TestLevel deadly;
    deadly.name = "Deadly";
    deadly.objects = {at(KIND_PLAYER, 40, 78, 1), at(KIND_DUMMY, 44, 77)};
    GameSnapshot over = runGame({deadly}, "5000 end\n", 0, 1, 0);
    EXPECT_FALSE(over.closed) << "the game left by itself";
    EXPECT_EQ(over.state, STATE_ATTRACT);
    EXPECT_EQ(over.credits, 0);
    GameSnapshot again = runGame({deadly}, "1600 end\n", 0, 1, 2);
    EXPECT_TRUE(again.closed);
    EXPECT_EQ(again.credits, 1);
    EXPECT_EQ(again.lives, 3);
}

TEST(PlayLoop, EveryAcceptedCreditPressShufflesAndCreditsStopAtFive) {
    // A release stays visible to every pass until the next frame, and the
    // passes on an even game clock each count: one tap may add more than one.
    GameSnapshot one = runGame({quiet("Quiet")}, "500 tap F5\n1000 end\n");
    EXPECT_EQ(one.credits, 5) << "the passes of one frame on an even clock";
    EXPECT_EQ(count(soundPlays(), "Shuffle.ogg"), 6) << "a shuffle for every accepted pass";
    std::string script;
    for (int i = 0; i < 8; i++)
        script += std::to_string(500 + i * 200) + " tap F5\n";
    script += "2500 end\n";
    GameSnapshot many = runGame({quiet("Quiet")}, script, 0, 3, 2);
    EXPECT_EQ(many.credits, 5);
    EXPECT_GE(count(soundPlays(), "Shuffle.ogg"), 8) << "it shuffles on at 5 credits";
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

TEST(PlayLoop, AGameSoundsInTheOrderThingsHappen) {
    // Walk, jump, conjure in mid-air onto the dummy, then the next level's music.
    const std::string script = "1000 down RIGHT\n1680 up RIGHT\n1800 down UP\n1830 up UP\n"
                               "1950 tap SPACE\n4000 end\n";
    GameSnapshot s = runGame({quiet("One"), quiet("Two")}, script);
    ASSERT_EQ(s.levelIndex, 1);
    const std::vector<std::string> expected = {"Menu.ogg", "jump.ogg", "create.ogg", "destroy.ogg",
                                               "Mystery.ogg"};
    std::vector<std::string> seen;
    for (const std::string &name : soundPlays())
        if (std::find(expected.begin(), expected.end(), name) != expected.end())
            seen.push_back(name);
    EXPECT_EQ(seen, expected);

    // Two keyed turns 1.1 s apart: the shake of the first has ended by then.
    runGame({quiet("Turns")}, "1500 tap S\n2700 tap S\n4500 end\n");
    EXPECT_EQ(count(soundPlays(), "Crash.ogg"), 2);
    EXPECT_EQ(count(soundPlays(), "Shake.ogg"), 2);
}

TEST(PlayLoop, ALostLifeCostsFivePerCentOfTheScore) {
    PlayField field;
    PlayerRecord *p = field.add<PlayerRecord>(KIND_PLAYER, 40, 78, 1);
    score = 10000;
    dyingFlag = 1;
    p->deathTimer = 0;
    checkDeath();
    EXPECT_EQ(lives, 2);
    EXPECT_EQ(score, 9500);
}

TEST(PlayLoop, TheEnemyCountNeverLooksAtTheFirstObject) {
    PlayField field;
    clearObjects();
    field.add<DummyRecord>(KIND_DUMMY, 50, 77);
    field.add<PlayerRecord>(KIND_PLAYER, 10, 78, 1);
    EXPECT_FALSE(enemiesLeft()) << "the first object created stays first and is skipped";
    field.add<DummyRecord>(KIND_DUMMY, 30, 77);
    EXPECT_TRUE(enemiesLeft());
}
