#include "../world/world_fixture.h"
#include <gtest/gtest.h>

namespace {

struct Contact {
    ObjectNode *self, *other;
    float dx, dy;
    float selfYAtCall;
};
std::vector<Contact> contacts;

using Pair = std::pair<float, float>;
Pair push(ObjectNode *a, ObjectNode *b) {
    const Push p = penetration(a, b);
    return {p.dx, p.dy};
}
Pair xy(ObjectNode *n) {
    return {objectBox(n)->x, objectBox(n)->y};
}

void recordContact(ObjectNode *self, ObjectNode *other, float dx, float dy) {
    contacts.push_back({self, other, dx, dy, objectBox(self)->y});
}

} // namespace

TEST(Overlap, TouchingIsNotOverlappingAndTheTestIsOneSided) {
    CleanWorld world(true);
    ObjectNode *a = placed(KIND_BOX, 10, 10);
    ObjectNode *b = placed(KIND_BOX, 15, 10);
    EXPECT_FALSE(overlapsObject(a, b));
    EXPECT_FALSE(overlapsObject(b, a));
    objectBox(b)->x = 14.99f;
    updateObjectBounds(b);
    EXPECT_TRUE(overlapsObject(a, b));
    objectBox(b)->x = 14.999995f; // inside the margin
    updateObjectBounds(b);
    EXPECT_FALSE(overlapsObject(a, b));

    // A Kiss tests against the player; the player does not test against kisses.
    ObjectNode *player = placed(KIND_PLAYER, 40, 40);
    ObjectNode *kiss = placed(KIND_KISS, 41, 41);
    EXPECT_TRUE(overlapsObject(kiss, player));
    EXPECT_FALSE(overlapsObject(player, kiss));
    // Objects whose set has no frame overlap nothing.
    objectAnimRef(kiss)->frame = 5;
    EXPECT_FALSE(overlapsObject(kiss, player));
    EXPECT_EQ(objectFrameInfo(kiss), nullptr);
}

TEST(Overlap, PenetrationPushesOutAlongEachAxis) {
    CleanWorld world(true);
    ObjectNode *a = placed(KIND_BOX, 10, 10);
    ObjectNode *b = placed(KIND_BOX, 13, 11);
    EXPECT_EQ(push(a, b), Pair(-2, -4));
    EXPECT_EQ(push(b, a), Pair(2, 4));
    objectBox(b)->x = 10;
    objectBox(b)->y = 10;
    EXPECT_EQ(push(a, b), Pair(-5, -5)) << "equal centres push left and up";
}

TEST(MoveObject, PushesAlongTheSmallerAxisAfterTheHandlerHasSeenTheContact) {
    CleanWorld world(true);
    contacts.clear();
    contactHandlers[KIND_BOX] = recordContact;
    ObjectNode *still = placed(KIND_BOX, 13, 13);
    ObjectNode *moving = placed(KIND_BOX, 10, 10);
    VelocityRef v = objectVelocity(moving);
    *v.vx = 0.5f;
    *v.vy = 0.25f;
    moveObject(moving, 0); // no movement: only the overlap is resolved
    ASSERT_EQ(contacts.size(), 1u);
    EXPECT_EQ(std::make_pair(contacts[0].self, contacts[0].other), std::make_pair(moving, still));
    EXPECT_EQ(Pair(contacts[0].dx, contacts[0].dy), Pair(-2, -2));
    EXPECT_EQ(contacts[0].selfYAtCall, 10.0f) << "the handler runs before the push";
    // Equal pushes go to y; only the mover is pushed.
    EXPECT_EQ(xy(moving), Pair(10, 8));
    EXPECT_EQ(objectBox(moving)->y2, 13.0f);
    EXPECT_EQ(Pair(*v.vx, *v.vy), Pair(0.5f, 0));
    EXPECT_EQ(xy(still), Pair(13, 13));

    // A sideways overlap is pushed out sideways and loses its x speed.
    objectBox(moving)->x = 9;
    objectBox(moving)->y = 13.5f;
    *v.vy = 0.3f;
    moveObject(moving, 0);
    EXPECT_EQ(objectBox(moving)->x, 8.0f);
    EXPECT_EQ(Pair(*v.vx, *v.vy), Pair(0, 0.3f));
}

TEST(MoveObject, TinyPushesBecomeAThousandthDownOrRight) {
    CleanWorld world(true);
    ObjectNode *platform = placed(KIND_PLATFORM, 5, 20);
    ObjectNode *box = placed(KIND_BOX, 7, 15.0005);
    const float before = objectBox(box)->y;
    ASSERT_TRUE(overlapsObject(box, platform));
    ASSERT_LT(penetration(box, platform).dy, 0.0f);
    moveObject(box, 0);
    EXPECT_NEAR(objectBox(box)->y, before + 0.001f, 1e-6);
}

TEST(MoveObject, LongFramesMoveNothingButStillResolve) {
    CleanWorld world(true);
    placed(KIND_PLATFORM, 5, 20);
    ObjectNode *box = placed(KIND_BOX, 7, 16);
    VelocityRef v = objectVelocity(box);
    *v.vy = 0.8f;
    *v.vx = 0.8f;
    moveObject(box, 200);
    EXPECT_EQ(xy(box), Pair(7, 15)) << "pushed out of the platform all the same";
    EXPECT_EQ(*v.vy, 0.0f);
    // Just under 200 ms moves by v x dt x 0.05.
    objectBox(box)->y = 0;
    *v.vy = 0.5f;
    moveObject(box, 100);
    EXPECT_EQ(xy(box), Pair(11, 2.5f));
}

TEST(Queries, OverlapsInListOrderAndTheSideOfTheFirst) {
    CleanWorld world(true);
    ObjectNode *first = placed(KIND_PLATFORM, 0, 10); // first in the list
    placed(KIND_BOX, 12, 8);                          // older, and out of reach
    ObjectNode *newer = placed(KIND_BOX, 4, 3);
    ObjectNode *probe = placed(KIND_BOX, 6, 6);
    List found;
    listInit(&found);
    EXPECT_EQ(queryOverlaps(probe, &found), 1);
    EXPECT_EQ(std::vector<void *>(found.items, found.items + found.count),
              (std::vector<void *>{first, newer}));
    listDestroyAll(&found);
    listInit(&found);
    objectBox(probe)->x = 60;
    updateObjectBounds(probe);
    EXPECT_EQ(queryOverlaps(probe, &found), 0);
    EXPECT_EQ(found.count, 0);
    listDestroyAll(&found);

    clearObjects();
    placed(KIND_BOX, 20, 20);
    probe = placed(KIND_BOX, 0, 0);
    const struct {
        float x, y;
        int side;
    } cases[] = {{40, 40, 0}, {23, 20.5f, 1}, {19.5f, 17, 2}, {20.5f, 23, 3}, {23, 19.5f, 4}};
    for (const auto &c : cases) {
        objectBox(probe)->x = c.x;
        objectBox(probe)->y = c.y;
        updateObjectBounds(probe);
        EXPECT_EQ(firstContactSide(probe), c.side) << c.x << ", " << c.y;
    }
}
