#include "world_fixture.h"
#include <gtest/gtest.h>

TEST(ObjectList, NewObjectsFollowTheFirstNewestFirst) {
    CleanWorld world;
    ObjectNode *a = createObject(KIND_BOX, 1, 1);
    ObjectNode *b = createObject(KIND_BOX, 2, 2);
    ObjectNode *c = createObject(KIND_BOX, 3, 3);
    EXPECT_EQ(walkOrder(), (std::vector<ObjectNode *>{a, c, b}));
    ObjectNode *d = createObject(KIND_BOX, 4, 4);
    EXPECT_EQ(walkOrder(), (std::vector<ObjectNode *>{a, d, c, b}));
    // The back links agree with the forward ones.
    EXPECT_EQ(a->prev, nullptr);
    EXPECT_EQ(d->prev, a);
    EXPECT_EQ(c->prev, d);
    EXPECT_EQ(b->prev, c);
    EXPECT_EQ(b->next, nullptr);
}

TEST(ObjectList, RemovalsHappenOnceAtTheReap) {
    CleanWorld world;
    createRemovalList();
    ObjectNode *a = createObject(KIND_BOX, 0, 0);
    ObjectNode *b = createObject(KIND_BOX, 0, 0);
    ObjectNode *c = createObject(KIND_BOX, 0, 0);
    scheduleRemoval(c);
    scheduleRemoval(c);
    EXPECT_EQ(removalList.count, 1);
    EXPECT_EQ(walkOrder().size(), 3u) << "scheduled objects stay until the reap";
    reapRemovals();
    EXPECT_EQ(walkOrder(), (std::vector<ObjectNode *>{a, b}));

    // Reaping the first node makes its successor first.
    scheduleRemoval(a);
    reapRemovals();
    EXPECT_EQ(objectList, b);
    EXPECT_EQ(b->prev, nullptr);
    // Reaping the only node empties the list; the list keeps its room.
    scheduleRemoval(b);
    reapRemovals();
    EXPECT_EQ(objectList, nullptr);
    EXPECT_NE(removalList.items, nullptr);
    EXPECT_EQ(removalList.count, 0);
}

TEST(ObjectList, DestroyingNowOrClearingForgetsTheScheduledEntry) {
    CleanWorld world;
    ObjectNode *a = createObject(KIND_BOX, 0, 0);
    ObjectNode *b = createObject(KIND_SOLDIER, 0, 0, 1);
    ObjectNode *c = createObject(KIND_DOLL, 0, 0, 0);
    // Scheduling works before the game made the list.
    scheduleRemoval(b);
    scheduleRemoval(c);
    destroyNow(b);
    EXPECT_EQ(removalList.count, 1);
    EXPECT_EQ(removalList.items[0], c);
    reapRemovals();
    EXPECT_EQ(walkOrder(), (std::vector<ObjectNode *>{a}));
    scheduleRemoval(a);
    clearObjects();
    EXPECT_EQ(removalList.count, 0);
    reapRemovals();
    EXPECT_EQ(objectList, nullptr);
}

TEST(ObjectList, IdsAreNeverReused) {
    CleanWorld world;
    const int32_t first = createObject(KIND_PLATFORM, 0, 0)->id;
    EXPECT_EQ(createObject(KIND_PLATFORM, 0, 0)->id, first + 1);
    clearObjects();
    EXPECT_EQ(createObject(KIND_PLATFORM, 0, 0)->id, first + 2);
    // A kind that does not exist makes nothing and uses no id.
    EXPECT_EQ(createObject(0, 0, 0), nullptr);
    EXPECT_EQ(createObject(12, 0, 0), nullptr);
    EXPECT_EQ(createObject(KIND_DUMMY, 0, 0)->id, first + 3);
}

TEST(ObjectList, RecordsStartFromTheirCreationArguments) {
    CleanWorld world;
    PlayerRecord *p = recordOf<PlayerRecord>(createObject(KIND_PLAYER, 10.25, 20.5, 1, 0));
    EXPECT_EQ(p->x, 10.25f);
    EXPECT_EQ(p->y, 20.5f);
    EXPECT_EQ(p->anim.set, SET_PLAYER);
    EXPECT_EQ(p->gravity, 1);
    EXPECT_EQ(p->facing, 1);
    KissRecord *k = recordOf<KissRecord>(createObject(KIND_KISS, 0, 0, 0.25, -0.125));
    EXPECT_EQ(k->vx, 0.25f);
    EXPECT_EQ(k->vy, -0.125f);
    EXPECT_EQ(recordOf<NinjaStarRecord>(createObject(KIND_NINJASTAR, 0, 0, -0.2, 0.1))->vx, -0.2f);
    EXPECT_EQ(recordOf<SoldierRecord>(createObject(KIND_SOLDIER, 0, 0, 1))->direction, 1);
    EXPECT_EQ(recordOf<BorderRecord>(createObject(KIND_BORDER, 0, 0, 2))->anim.rotation, 2);
    EXPECT_EQ(recordOf<BorderRecord>(createObject(KIND_BORDER, 0, 0, 7))->anim.rotation, 3)
        << "a wall is always one of the four edges";
    // Creation arguments that are no number do not reach the record as garbage.
    EXPECT_EQ(recordOf<DollRecord>(createObject(KIND_DOLL, 0, 0, NAN))->direction, 0);

    ObjectNode *platform = createObject(KIND_PLATFORM, 0, 0);
    EXPECT_EQ(objectVelocity(platform).vx, nullptr);
    EXPECT_EQ(objectGravity(platform), nullptr);
    ObjectNode *kiss = createObject(KIND_KISS, 0, 0, 1, 2);
    EXPECT_EQ(*objectVelocity(kiss).vy, 2.0f);
    EXPECT_EQ(objectGravity(kiss), nullptr) << "kisses fly straight";
}

TEST(ObjectList, AHeldBoxThatGoesAwayEndsTheCarry) {
    CleanWorld world;
    ObjectNode *playerNode = createObject(KIND_PLAYER, 10, 10, 1, 0);
    ObjectNode *boxNode = createObject(KIND_BOX, 15, 10);
    PlayerRecord *p = recordOf<PlayerRecord>(playerNode);
    BoxRecord *box = recordOf<BoxRecord>(boxNode);
    p->carrying = 1;
    p->carriedBox = box;
    p->carriedVx = &box->vx;
    p->carriedVy = &box->vy;
    scheduleRemoval(boxNode);
    reapRemovals();
    EXPECT_EQ(p->carrying, 0);
    EXPECT_EQ(p->carriedBox, nullptr);
    EXPECT_EQ(p->carriedVx, nullptr);
    EXPECT_EQ(findPlayer(), playerNode);
}
