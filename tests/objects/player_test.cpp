#include "objects/kinds.h"
#include "play_field.h"
#include "world/play_state.h"
#include <gtest/gtest.h>

TEST(Player, WalksFiftyCellsASecondAndStopsAtOnce) {
    PlayField field("500 down RIGHT\n1500 up RIGHT\n");
    PlayerRecord *p = field.add<PlayerRecord>(KIND_PLAYER, 10, 78, 1);
    field.step(24); // t = 480: not yet walking
    const float start = p->x;
    field.step(5); // the key went down at 500
    EXPECT_NEAR(p->x - start, 5.0f, 0.01f) << "1 cell per 20 ms update";
    EXPECT_EQ(p->vx, 0.0f) << "speed never carries over";
    field.step(60);
    const float stopped = p->x;
    field.step(5);
    EXPECT_EQ(p->x, stopped);
}

TEST(Player, ConjuresInFrontOrPicksUpTheBoxAlreadyThere) {
    PlayField field("500 tap SPACE\n1000 tap SPACE\n");
    PlayerRecord *p = field.add<PlayerRecord>(KIND_PLAYER, 40, 78, 1);
    field.step(30);
    ASSERT_EQ(countKind(KIND_BOX), 1);
    BoxRecord *box = first<BoxRecord>(KIND_BOX);
    EXPECT_FLOAT_EQ(box->x, p->x + 5);
    EXPECT_EQ(p->carrying, 0);
    field.step(30);
    EXPECT_EQ(countKind(KIND_BOX), 1) << "the second tap picks the box up instead";
    EXPECT_EQ(p->carrying, 1);
}

TEST(Player, HoldingSpaceDoesNothingUntilItIsLetGo) {
    PlayField field("500 down SPACE\n2000 up SPACE\n");
    field.add<PlayerRecord>(KIND_PLAYER, 20, 78, 0);
    field.step(90);
    EXPECT_EQ(countKind(KIND_BOX), 0);
    field.step(10);
    EXPECT_EQ(countKind(KIND_BOX), 1);
    EXPECT_FLOAT_EQ(first<BoxRecord>(KIND_BOX)->x, 15.0f) << "facing left: x - 5";
}

TEST(Player, FacingAWallConjuresNothing) {
    PlayField field("500 tap SPACE\n");
    field.add<PlayerRecord>(KIND_PLAYER, 78, 78, 1);
    field.step(40);
    EXPECT_EQ(countKind(KIND_BOX), 0);
}

TEST(Player, ABoxCarriedCannotBePutDownForAHundredUpdatesButAJumpDropsIt) {
    PlayField field("300 tap SPACE\n700 tap SPACE\n2200 tap SPACE\n3500 tap SPACE\n"
                    "4200 tap SPACE\n4800 down UP\n4900 up UP\n");
    PlayerRecord *p = field.add<PlayerRecord>(KIND_PLAYER, 40, 78, 1);
    field.step(40); // conjured, then picked up at 700
    ASSERT_EQ(p->carrying, 1);
    field.step(80); // 2200: 75 updates carrying, too early to put down
    EXPECT_EQ(p->carrying, 1);
    field.step(70); // 3500: more than 100 updates carrying
    EXPECT_EQ(p->carrying, 0);
    EXPECT_EQ(p->carryCount, 0u);
    field.step(40); // 4200: picked up again
    ASSERT_EQ(p->carrying, 1);
    field.step(40); // jumped at 4800
    EXPECT_EQ(p->carrying, 0);
}

TEST(Player, TouchingAnEnemyKillsOnceAndTheDeathRunsItsCourse) {
    PlayField field;
    PlayerRecord *p = field.add<PlayerRecord>(KIND_PLAYER, 40, 78, 1);
    field.add<DummyRecord>(KIND_DUMMY, 44.5f, 77);
    field.step(1);
    EXPECT_EQ(dyingFlag, 1);
    EXPECT_EQ(p->deathTimer, 100);
    killPlayer();
    EXPECT_EQ(p->deathTimer, 100) << "a second kill does not restart the sequence";
    field.step(10);
    EXPECT_EQ(p->anim.frame, PLAYER_DYING);
    EXPECT_EQ(p->vy, 0.0f) << "the body hangs first";
    field.step(30);
    EXPECT_FLOAT_EQ(p->vy, -1.1f) << "then rises";
}

TEST(Player, AKissStunsForAHundredUpdatesAndVanishes) {
    PlayField field;
    PlayerRecord *p = field.add<PlayerRecord>(KIND_PLAYER, 40, 78, 1);
    field.step(25);
    field.add<KissRecord>(KIND_KISS, 30, 79, 0.5, 0);
    int stunned = 0;
    for (int i = 0; i < 130; i++) {
        field.step();
        stunned += p->stunTimer > 0;
    }
    EXPECT_EQ(countKind(KIND_KISS), 0);
    EXPECT_EQ(stunned, 100) << "from the hit until the stun wears off";
    EXPECT_EQ(dyingFlag, 0);
}

TEST(Player, ASettlingPlayerKeepsTheLevelGoingFor20Updates) {
    PlayField field;
    field.add<PlayerRecord>(KIND_PLAYER, 40, 78, 1);
    int settling = 0;
    for (int i = 0; i < 40; i++) {
        field.step();
        settling += playerSettling();
    }
    EXPECT_EQ(settling, 19);
}

TEST(Player, ACarriedBoxMoreThanEightCellsAwayIsDropped) {
    PlayField field("300 tap SPACE\n700 tap SPACE\n");
    PlayerRecord *p = field.add<PlayerRecord>(KIND_PLAYER, 40, 78, 1);
    field.step(40);
    ASSERT_EQ(p->carrying, 1);
    BoxRecord *box = first<BoxRecord>(KIND_BOX);
    // Moved away as if something had shoved it; the carry's own pull is cancelled.
    for (float away : {7.5f, 10.0f}) {
        box->x = p->x + away;
        box->x2 = box->x + 4;
        box->vx = 0;
        field.step(1);
        EXPECT_EQ(p->carrying, away < 8) << away << " cells away";
    }
}

TEST(Player, WalkingIntoABoxGivesItHalfACellOfSpeed) {
    PlayField field("500 down RIGHT\n1500 up RIGHT\n");
    field.add<PlayerRecord>(KIND_PLAYER, 10, 78, 1);
    BoxRecord *box = field.add<BoxRecord>(KIND_BOX, 20, 78);
    // The push lasts the box's next update; it shows between two updates.
    float push = 0;
    for (int i = 0; i < 80 && push == 0; i++) {
        field.step();
        push = box->vx;
    }
    EXPECT_EQ(push, 0.5f);
    field.step(50);
    EXPECT_NEAR(box->x, 42.5f, 0.6f) << "pushed along at the player's walk";
}
