#include "objects/kinds.h"
#include "play_field.h"
#include "world/chance.h"
#include "world/levels.h"
#include "world/play_state.h"
#include <cmath>
#include <gtest/gtest.h>

TEST(Enemies, AStuckSoldierTurnsAtItsNextEleventhUpdate) {
    PlayField field;
    SoldierRecord *s = field.add<SoldierRecord>(KIND_SOLDIER, 70, 77, 1);
    int turnedAfter = -1;
    for (int i = 0; i < 60 && turnedAfter < 0; i++) {
        field.step();
        if (s->direction == 0)
            turnedAfter = i;
    }
    EXPECT_EQ(turnedAfter, 21) << "a stuck soldier turns at its next 11th update";
    EXPECT_GE(s->x2, 82.9f);
    field.step(20);
    EXPECT_LT(s->x2, 80.0f) << "it walks back the other way";
}

TEST(Enemies, ANinjaStarCutsAPlatformAndBothGo) {
    PlayField field;
    field.add<PlatformRecord>(KIND_PLATFORM, 40, 40);
    field.add<NinjaStarRecord>(KIND_NINJASTAR, 30, 40, 0.5, 0);
    field.step(20);
    EXPECT_EQ(countKind(KIND_PLATFORM), 0);
    EXPECT_EQ(countKind(KIND_NINJASTAR), 0);
}

TEST(Enemies, AKissThatMeetsNothingLasts52Updates) {
    PlayField field;
    field.add<KissRecord>(KIND_KISS, 10, 10, 0.01, 0);
    field.step(51);
    EXPECT_EQ(countKind(KIND_KISS), 1);
    field.step(1);
    EXPECT_EQ(countKind(KIND_KISS), 0);
}

TEST(Enemies, ANinjaThrowsAStarEvery1500MsAtThePlayer) {
    PlayField field;
    field.add<PlayerRecord>(KIND_PLAYER, 10, 78, 1);
    field.add<NinjaRecord>(KIND_NINJA, 60, 77, 0);
    field.step(1);
    ASSERT_EQ(countKind(KIND_NINJASTAR), 1);
    NinjaStarRecord *star = first<NinjaStarRecord>(KIND_NINJASTAR);
    EXPECT_LT(star->vx, 0.0f) << "aimed at the player";
    int thrown = 1;
    for (int i = 0; i < 160; i++) {
        const int before = countKind(KIND_NINJASTAR);
        field.step();
        thrown += countKind(KIND_NINJASTAR) > before;
    }
    EXPECT_EQ(thrown, 3) << "a star whenever more than 1500 ms have passed";
}

TEST(Enemies, AMissileFromThePlayersOwnCornerIsNotThrown) {
    PlayField field;
    field.add<PlayerRecord>(KIND_PLAYER, 40, 78, 1);
    field.add<NinjaRecord>(KIND_NINJA, 40, 78, 0);
    field.step(1);
    EXPECT_EQ(countKind(KIND_NINJASTAR), 0);
    for (ObjectNode *n = objectList; n; n = n->next) {
        const ObjectBox *b = static_cast<ObjectBox *>(n->record);
        EXPECT_TRUE(std::isfinite(b->x) && std::isfinite(b->y));
    }
}

TEST(Enemies, TheBossFallsToTheFifthBoxAndBoxesAtItsSideBecomeMinions) {
    PlayField field;
    score = 1001;
    OzzleRecord *o = field.add<OzzleRecord>(KIND_OZZLE, 40, 73);
    field.step(5);
    for (int hit = 1; hit <= 5; hit++) {
        for (int i = 0; i < 400 && (o->hitFlag || o->charging || !o->landed); i++)
            field.step();
        ASSERT_FALSE(o->hitFlag);
        field.add<BoxRecord>(KIND_BOX, o->x + 3, o->y - 12);
        const int32_t pointsBefore = o->hitPoints;
        for (int i = 0; i < 60 && o->hitPoints == pointsBefore && !levelDoneFlag; i++)
            field.step();
        if (hit < 5) {
            EXPECT_EQ(o->hitPoints, 4 - hit);
            EXPECT_EQ(levelDoneFlag, 0);
        }
    }
    EXPECT_EQ(levelDoneFlag, 1);
    EXPECT_EQ(score, 1501) << "half the score again, rounded down";
}

// Whatever the box becomes, the minion stands where the box stood, one cell
// higher: a ninja that moved while the box was still there would be pushed
// five cells left, here onto the player, who would be pushed into the floor.
TEST(Enemies, ABoxPushedIntoTheBossSideBecomesAMinionWhereItStood) {
    bool madeNinja = false;
    for (unsigned seed = 1; seed <= 12; seed++) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        PlayField field;
        chanceSeedWith(seed);
        OzzleRecord *o = field.add<OzzleRecord>(KIND_OZZLE, 40, 73);
        field.step(3);
        BoxRecord *b = field.add<BoxRecord>(KIND_BOX, o->x - 5.2f, 78);
        PlayerRecord *p = field.add<PlayerRecord>(KIND_PLAYER, b->x - 5, 78);
        float bx = b->x, by = b->y;
        for (int i = 0; i < 10 && countKind(KIND_BOX) == 1; i++) {
            bx = b->x;
            by = b->y;
            field.step();
        }
        ASSERT_EQ(countKind(KIND_BOX), 0);
        madeNinja = madeNinja || countKind(KIND_NINJA) == 1;
        int minions = 0;
        for (ObjectNode *n = objectList; n; n = n->next)
            if (n->kind == KIND_SOLDIER || n->kind == KIND_NINJA || n->kind == KIND_DOLL) {
                minions++;
                EXPECT_NEAR(static_cast<ObjectBox *>(n->record)->x, bx, 1.0f) << n->kind;
                EXPECT_NEAR(static_cast<ObjectBox *>(n->record)->y, by - 1, 1.0f) << n->kind;
            }
        EXPECT_EQ(minions, 1);
        EXPECT_LE(p->y, 78.5f) << "the player sank into the floor";
    }
    EXPECT_TRUE(madeNinja) << "no seed made a ninja";
}

TEST(Enemies, ABoxLandingWhileTheBossChargesJustRests) {
    PlayField field;
    OzzleRecord *o = field.add<OzzleRecord>(KIND_OZZLE, 40, 73);
    field.step(3);
    o->charging = 1;
    o->hitFlag = 1;
    field.add<BoxRecord>(KIND_BOX, o->x + 3, o->y - 12);
    field.step(30);
    EXPECT_EQ(o->hitPoints, 4);
    EXPECT_EQ(countKind(KIND_BOX), 1);
}

TEST(Enemies, TheBossOfThe21stLevelWinsTheGameAndDoublesTheScore) {
    PlayField field;
    levelIndex = FINAL_LEVEL_INDEX;
    score = 4321;
    ObjectNode *boss = createObject(KIND_OZZLE, 40, 73);
    for (int hit = 0; hit < 4; hit++)
        ozzleHit(boss);
    EXPECT_EQ(gameOverFlag, 0);
    ozzleHit(boss);
    EXPECT_EQ(gameOverFlag, 1);
    EXPECT_EQ(gameWon, 1) << "the credits page will tell the end";
    gameWon = 0;
    EXPECT_EQ(levelDoneFlag, 0);
    EXPECT_EQ(score, 8642);
    EXPECT_EQ(countKind(KIND_OZZLE), 1) << "the defeated boss stays where it is";
    const OzzleRecord *o = static_cast<OzzleRecord *>(boss->record);
    EXPECT_EQ(o->countdown, 100u);
    levelIndex = 0;
}
