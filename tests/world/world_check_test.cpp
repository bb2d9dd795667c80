// The world check of the soak test: finite positions inside the room (with
// its margin) pass; a lost or broken object fails, named on standard error.
#include "world/world_check.h"
#include "world_fixture.h"
#include <gtest/gtest.h>
#include <limits>

TEST(WorldCheck, PositionsInsideTheRoomPassAndOthersAreNamed) {
    CleanWorld world(true);
    addBorders();
    createObject(KIND_BOX, 40, 40);
    createObject(KIND_BOX, -WORLD_CHECK_MARGIN, ROOM_SIZE + WORLD_CHECK_MARGIN);
    EXPECT_TRUE(worldIsSound());

    ObjectNode *lost = createObject(KIND_BOX, 40, 40);
    for (float bad :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
          -WORLD_CHECK_MARGIN - 0.5f, ROOM_SIZE + WORLD_CHECK_MARGIN + 0.5f}) {
        for (int axis = 0; axis < 2; axis++) {
            objectBox(lost)->x = axis == 0 ? bad : 40;
            objectBox(lost)->y = axis == 1 ? bad : 40;
            testing::internal::CaptureStderr();
            EXPECT_FALSE(worldIsSound()) << bad;
            const std::string said = testing::internal::GetCapturedStderr();
            EXPECT_NE(said.find("(kind 2) is at"), std::string::npos) << said;
        }
    }
}

TEST(WorldCheck, TheProgramStopsOnABrokenWorldOnlyWhenAsked) {
    CleanWorld world(true);
    ObjectNode *box = createObject(KIND_BOX, 40, 40);
    objectBox(box)->y = std::numeric_limits<float>::quiet_NaN();
    int stoppedWith = 0;
    static int *code = nullptr;
    code = &stoppedWith;
    worldCheckFailed = [](int exitCode) { *code = exitCode; };
    worldChecks = false;
    checkWorld();
    EXPECT_EQ(stoppedWith, 0);
    worldChecks = true;
    EXPECT_EXIT(checkWorld(), testing::ExitedWithCode(WORLD_CHECK_EXIT), "outside the room");
    worldChecks = false;
    worldCheckFailed = nullptr;
}
