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
    EXPECT_EQ((std::vector<ObjectNode *>{a->prev, d->prev, c->prev, b->prev, b->next}),
              (std::vector<ObjectNode *>{nullptr, a, d, c, nullptr}));
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

TEST(ObjectList, CreationArgumentsThatMakeNoSenseDoNotReachTheRecord) {
    CleanWorld world;
    EXPECT_EQ(recordOf<BorderRecord>(createObject(KIND_BORDER, 0, 0, 7))->anim.rotation, 3)
        << "a wall is always one of the four edges";
    EXPECT_EQ(recordOf<DollRecord>(createObject(KIND_DOLL, 0, 0, NAN))->direction, 0);
    // Kinds that never move have no speed or gravity to write to.
    ObjectNode *platform = createObject(KIND_PLATFORM, 0, 0);
    EXPECT_EQ(objectVelocity(platform).vx, nullptr);
    EXPECT_EQ(objectGravity(platform), nullptr);
    EXPECT_EQ(objectGravity(createObject(KIND_KISS, 0, 0, 1, 2)), nullptr) << "kisses fly straight";
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
