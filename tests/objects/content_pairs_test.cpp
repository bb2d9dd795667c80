// The shipped scripts' collision groups make the game work: who stands on
// whom and who passes through what, in the game's own updates.
#include "objects/kinds.h"
#include "play_field.h"
#include <gtest/gtest.h>

TEST(ContentPairs, BoxesRestOnPlatformsTheFloorAndEachOtherAndThePlayerOnABox) {
    PlayField field;
    field.add<PlatformRecord>(KIND_PLATFORM, 10, 50);
    BoxRecord *onPlatform = field.add<BoxRecord>(KIND_BOX, 12, 20);
    BoxRecord *lower = field.add<BoxRecord>(KIND_BOX, 40, 60);
    BoxRecord *upper = field.add<BoxRecord>(KIND_BOX, 41, 40);
    PlayerRecord *player = field.add<PlayerRecord>(KIND_PLAYER, 42, 20, 1);
    field.step(200);
    EXPECT_NEAR(lower->y, 78.0f, 0.001f);
    EXPECT_NEAR(upper->y, 73.0f, 0.001f);
    EXPECT_NEAR(player->y, 68.0f, 0.001f);
    EXPECT_EQ(player->x, 42.0f) << "landing pushes up, not sideways";
    // Once at rest a box stays put, update after update.
    for (int i = 0; i < 1000; i++) {
        field.step();
        ASSERT_NEAR(onPlatform->y, 45.0f, 0.0005f) << "update " << i;
    }
    EXPECT_EQ(onPlatform->x, 12.0f);
}

TEST(ContentPairs, AKissFliesThroughBoxesAndPlatformsAndABoxStopsANinjaStar) {
    PlayField field;
    field.add<PlatformRecord>(KIND_PLATFORM, 16, 80);
    field.add<BoxRecord>(KIND_BOX, 24, 78);
    KissRecord *kiss = field.add<KissRecord>(KIND_KISS, 10, 80, 0.5, 0);
    BoxRecord *box = field.add<BoxRecord>(KIND_BOX, 60, 78);
    field.add<NinjaStarRecord>(KIND_NINJASTAR, 50, 80, 0.5, 0);
    field.step(40);
    ASSERT_EQ(countKind(KIND_KISS), 1);
    EXPECT_EQ(kiss->y, 80.0f) << "nothing on the way deflects it";
    EXPECT_GT(kiss->x, 28.0f) << "it passed the box";
    EXPECT_EQ(countKind(KIND_NINJASTAR), 0);
    EXPECT_EQ(countKind(KIND_BOX), 2);
    EXPECT_EQ(box->x, 60.0f) << "the box is not moved by the star";
}
