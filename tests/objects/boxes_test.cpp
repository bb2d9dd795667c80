#include "objects/kinds.h"
#include "play_field.h"
#include "world/play_state.h"
#include <gtest/gtest.h>

namespace {
// A soldier shut in between two boxes on the floor, so it stays put.
SoldierRecord *penSoldier(PlayField &field) {
    field.add<BoxRecord>(KIND_BOX, 34, 78);
    field.add<BoxRecord>(KIND_BOX, 46, 78);
    SoldierRecord *s = field.add<SoldierRecord>(KIND_SOLDIER, 40, 77, 1);
    field.step(3);
    return s;
}
} // namespace

TEST(Boxes, TwoBoxesLandingOnOneSoldierScoreOnce) {
    PlayField field;
    penSoldier(field);
    field.add<BoxRecord>(KIND_BOX, 37, 55);
    field.add<BoxRecord>(KIND_BOX, 42, 55);
    field.step(40);
    EXPECT_EQ(countKind(KIND_SOLDIER), 0);
    EXPECT_EQ(score, POINTS_SOLDIER);
}

TEST(Boxes, ARestingBoxDoesNotCrushButADroppedOneDoes) {
    PlayField field;
    SoldierRecord *s = penSoldier(field);
    BoxRecord *b = field.add<BoxRecord>(KIND_BOX, s->x, s->y - 5);
    field.step(200);
    EXPECT_EQ(countKind(KIND_SOLDIER), 1);
    EXPECT_EQ(score, 0);
    b->y = 20; // lift the same box and let it go
    b->vy = 0;
    field.step(80);
    EXPECT_EQ(countKind(KIND_SOLDIER), 0);
    EXPECT_EQ(score, POINTS_SOLDIER);
}

TEST(Boxes, SlidingIntoAnEnemySidewaysDoesNothing) {
    PlayField field;
    DummyRecord *d = field.add<DummyRecord>(KIND_DUMMY, 50, 77);
    BoxRecord *b = field.add<BoxRecord>(KIND_BOX, 44, 78);
    field.step(2);
    for (int i = 0; i < 20; i++) {
        b->vx = 0.5f;
        field.step();
    }
    EXPECT_EQ(countKind(KIND_DUMMY), 1);
    EXPECT_LE(b->x2, d->x + 0.01f);
}

TEST(Boxes, EachEnemyKindIsWorthItsPoints) {
    const struct {
        int32_t kind;
        int32_t points;
    } cases[] = {{KIND_DUMMY, POINTS_DUMMY}, {KIND_DOLL, POINTS_DOLL}, {KIND_NINJA, POINTS_NINJA}};
    for (const auto &c : cases) {
        PlayField field;
        ObjectNode *enemy = createObject(c.kind, 40, 77);
        field.step(1);
        // Drop the box right onto the enemy wherever it has wandered.
        ObjectBox *box = static_cast<ObjectBox *>(enemy->record);
        field.add<BoxRecord>(KIND_BOX, box->x, box->y - 7);
        field.step(10);
        EXPECT_EQ(countKind(c.kind), 0) << c.kind;
        EXPECT_EQ(score, c.points) << c.kind;
    }
}

TEST(Boxes, ABoxFallingOnThePlayerHurtsOnlyWhenFast) {
    // A box settling from half a cell is harmless; one dropped from high up kills.
    for (float drop : {5.5f, 48.0f}) {
        PlayField field;
        PlayerRecord *p = field.add<PlayerRecord>(KIND_PLAYER, 40, 78, 1);
        field.step(25); // settled
        field.add<BoxRecord>(KIND_BOX, p->x, p->y - drop);
        field.step(70);
        EXPECT_EQ(dyingFlag, drop > 6) << drop;
        EXPECT_EQ(p->deathTimer > 0, drop > 6) << drop;
    }
}
