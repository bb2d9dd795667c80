// The shipped scripts' collision groups make the game work: who stands on
// whom, who passes through what, moved as the game moves them.
#include "../world/world_fixture.h"
#include <gtest/gtest.h>

namespace {

struct Room : CleanWorld {
    Room() : CleanWorld(true) {
        addBorders();
        refreshBorders();
    }
};

// The missiles' own step as the game does it: a step per update, then the
// move of 20 ms.
void missileStep(ObjectNode *node) {
    ObjectBox *box = objectBox(node);
    VelocityRef v = objectVelocity(node);
    box->x += *v.vx;
    box->y += *v.vy;
    updateObjectBounds(node);
    moveObject(node, 20);
}

bool alive(ObjectNode *node) {
    for (ObjectNode *n = objectList; n; n = n->next)
        if (n == node)
            return true;
    return false;
}

// Minimal handlers standing in for the kinds' own.
void kissHandler(ObjectNode *self, ObjectNode *other, float, float) {
    if (other->kind == KIND_BORDER)
        scheduleRemoval(self);
}

void starHandler(ObjectNode *self, ObjectNode *, float, float) {
    scheduleRemoval(self);
}

} // namespace

TEST(ContentPairs, ABoxDroppedOntoAPlatformComesToRestAndStaysPut) {
    Room room;
    ObjectNode *platform = placed(KIND_PLATFORM, 30, 50);
    ObjectNode *box = placed(KIND_BOX, 32, 20);
    ObjectBox *b = objectBox(box);
    for (int i = 0; i < 100; i++) {
        fallStep(box);
        *objectVelocity(box).vx = 0;
    }
    const float rest = objectBox(platform)->y - 5;
    EXPECT_NEAR(b->y, rest, 0.001f);
    const float settledY = b->y;
    for (int i = 0; i < 2000; i++) {
        fallStep(box);
        *objectVelocity(box).vx = 0;
        ASSERT_NEAR(b->y, settledY, 0.0005f) << "update " << i;
    }
    EXPECT_EQ(b->x, 32.0f);
    // Landing on the floor wall works the same way.
    ObjectNode *loose = placed(KIND_BOX, 60, 10);
    for (int i = 0; i < 200; i++)
        fallStep(loose);
    EXPECT_NEAR(objectBox(loose)->y, 78.0f, 0.001f);
}

TEST(ContentPairs, ThePlayerStandsOnABoxAndBoxesStack) {
    Room room;
    ObjectNode *lower = placed(KIND_BOX, 40, 78);
    ObjectNode *upper = placed(KIND_BOX, 41, 60);
    ObjectNode *player = placed(KIND_PLAYER, 42, 40, 1);
    for (int i = 0; i < 200; i++) {
        fallStep(lower);
        fallStep(upper);
        fallStep(player);
    }
    EXPECT_NEAR(objectBox(upper)->y, 73.0f, 0.001f);
    EXPECT_NEAR(objectBox(player)->y, 68.0f, 0.001f);
    EXPECT_EQ(objectBox(player)->x, 42.0f) << "landing pushes up, not sideways";
}

TEST(ContentPairs, AKissFliesThroughBoxesAndPlatformsAndStopsAtAWall) {
    Room room;
    contactHandlers[KIND_KISS] = kissHandler;
    placed(KIND_PLATFORM, 40, 29);
    placed(KIND_BOX, 60, 28);
    ObjectNode *kiss = placed(KIND_KISS, 10, 30, 0.5, 0);
    createRemovalList();
    int updates = 0;
    while (alive(kiss) && updates < 200) {
        missileStep(kiss);
        ASSERT_EQ(objectBox(kiss)->y, 30.0f) << "nothing on the way deflects it";
        reapRemovals();
        updates++;
    }
    EXPECT_FALSE(alive(kiss));
    EXPECT_GT(updates, 60) << "it reached the right wall, not something before it";
}

TEST(ContentPairs, ABoxStopsANinjaStarAndStaysPut) {
    Room room;
    contactHandlers[KIND_NINJASTAR] = starHandler;
    createRemovalList();
    ObjectNode *box = placed(KIND_BOX, 50, 40);
    ObjectNode *star = placed(KIND_NINJASTAR, 30, 41, 0.5, 0);
    for (int i = 0; i < 40 && alive(star); i++) {
        missileStep(star);
        reapRemovals();
    }
    EXPECT_FALSE(alive(star));
    EXPECT_TRUE(alive(box));
    EXPECT_EQ(objectBox(box)->x, 50.0f) << "the box is not moved by the star";
}
