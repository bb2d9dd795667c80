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
    // Whatever ended the game before (a quit in the pause, a lost game) ends no new one.
    returnToMenu = 1;
    gameOverFlag = 1;
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

TEST(PlayLoop, OneTapIsOneStepInPlayAndInThePause) {
    // Taps on either parity of the clock: each changes its count by one.
    for (int t : {500, 501}) {
        SCOPED_TRACE(t);
        auto tap = [t](int second, const char *key) {
            return std::to_string(t + second * 1000) + " tap " + key + "\n";
        };
        GameSnapshot play = runGame({quiet("A"), quiet("B"), quiet("C")},
                                    tap(0, "F5") + tap(1, "X") + tap(2, "F9") + tap(3, "X") +
                                        tap(4, "Z") + "6000 end\n");
        EXPECT_EQ(play.credits, 1);
        EXPECT_EQ(play.levelIndex, 1) << "one level per release of F9";
        EXPECT_NEAR(play.musicVolume, 0.8f, 1e-4) << "0.7, up, up, down";
        // In the pause the volume keys act once each, and F5 is not kept for later.
        GameSnapshot paused = runGame({quiet("A")}, tap(0, "P") + tap(1, "X") + tap(2, "F5") +
                                                        tap(3, "X") + tap(4, "P") + "6000 end\n");
        EXPECT_EQ(paused.credits, 0);
        EXPECT_NEAR(paused.musicVolume, 0.9f, 1e-4);
    }
    // Held for a second, F5 still adds one credit, when it is let go.
    GameSnapshot held = runGame({quiet("A")}, "500 down F5\n1500 up F5\n2000 end\n", 0, 3, 2);
    EXPECT_EQ(held.credits, 3);
    EXPECT_EQ(count(soundPlays(), "Shuffle.ogg"), 1);
    // Credits stop at five; the shuffle still sounds.
    GameSnapshot many = runGame(
        {quiet("Quiet")}, "500 tap F5\n700 tap F5\n900 tap F5\n1100 tap F5\n2500 end\n", 0, 3, 2);
    EXPECT_EQ(many.credits, 5);
    EXPECT_EQ(count(soundPlays(), "Shuffle.ogg"), 4);
}

TEST(PlayLoop, OnlyAGamesFirstFrameIsLongSoALevelReachedInPlayStartsAsItsFileSays) {
    TestLevel second;
    second.name = "Second";
    second.objects = {at(KIND_PLAYER, 8, 78, 1), at(KIND_NINJA, 40, 77, 0), at(KIND_OZZLE, 60, 65)};
    auto xOf = [](const GameSnapshot &s, int32_t kind) {
        for (const auto &[k, x] : s.places)
            if (k == kind)
                return x;
        return -1.0f;
    };
    // Reached from the first level, the Ninja walks left as its file says,
    // and so does the Ozzle.
    GameSnapshot reached = runGame({quiet("First"), second}, "50 tap F9\n250 end\n");
    ASSERT_EQ(reached.levelIndex, 1);
    EXPECT_LT(xOf(reached, KIND_NINJA), 40);
    EXPECT_LT(xOf(reached, KIND_OZZLE), 60);
    // As a game's first level, the long frame moves nothing and turns both round.
    GameSnapshot first = runGame({second}, "180 end\n");
    EXPECT_GT(xOf(first, KIND_NINJA), 40);
    EXPECT_GT(xOf(first, KIND_OZZLE), 60);
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
