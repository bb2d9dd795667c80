#include "anim/animation_library.h"
#include "objects/collision.h"
#include "test_support.h"
#include <gtest/gtest.h>

namespace {

const Animation *animationOf(int set) {
    const List *s = static_cast<const List *>(animationLibrary->items[set]);
    return s->count ? static_cast<const Animation *>(s->items[0]) : nullptr;
}

} // namespace

TEST(AnimationLibrary, TwelveSetsWithASeparateSpareCopyOfThePlatform) {
    HeadlessGame game;
    for (int round = 0; round < 2; round++) {
        loadAnimationLibrary();
        ASSERT_NE(animationLibrary, nullptr);
        ASSERT_EQ(animationLibrary->count, ANIMATION_SETS);
        for (int set = 0; set < ANIMATION_SETS; set++) {
            const List *s = static_cast<const List *>(animationLibrary->items[set]);
            EXPECT_EQ(s->count, 1) << animationScripts[set];
        }
        const Animation *platform = animationOf(3);
        const Animation *spare = animationOf(9);
        ASSERT_TRUE(platform && spare);
        EXPECT_NE(platform, spare);
        const Frame *a = static_cast<const Frame *>(platform->frames[0].items[0]);
        const Frame *b = static_cast<const Frame *>(spare->frames[0].items[0]);
        EXPECT_NE(a->picture, b->picture);
        EXPECT_EQ(a->picture->width, b->picture->width);
        EXPECT_EQ(a->info->collisionGroup, b->info->collisionGroup);
    }
    unloadAnimationLibrary();
    EXPECT_EQ(animationLibrary, nullptr);
}

TEST(AnimationLibrary, AFailedScriptLeavesItsSetEmptyAndItsFramesMissing) {
    HeadlessGame game;
    TempDir dir;
    dir.write("data/surfaces/Box.anm", "(5,5)[1,0]\n2\n:0\n");
    dir.write("data/surfaces/Player.anm", "not a header\n");
    dataRoot = dir.path;
    testing::internal::CaptureStderr();
    loadAnimationLibrary();
    const std::string errors = testing::internal::GetCapturedStderr();
    dataRoot = WOBBLE_SOURCE_DIR;
    ASSERT_EQ(animationLibrary->count, ANIMATION_SETS);
    EXPECT_EQ(animationOf(0), nullptr);
    ASSERT_NE(animationOf(1), nullptr);
    EXPECT_EQ(lookupFrame(AnimRef{0, 0, 0, 0}), nullptr);
    EXPECT_NE(lookupFrame(AnimRef{1, 0, 0, 0}), nullptr);
    EXPECT_NE(lookupFrame(AnimRef{1, 0, 0, 3}), nullptr);
    // References past any end find nothing rather than reading beyond a list.
    EXPECT_EQ(lookupFrame(AnimRef{1, 0, 1, 0}), nullptr);
    EXPECT_EQ(lookupFrame(AnimRef{1, 1, 0, 0}), nullptr);
    EXPECT_EQ(lookupFrame(AnimRef{1, 0, 0, 4}), nullptr);
    EXPECT_EQ(lookupFrame(AnimRef{12, 0, 0, 0}), nullptr);
    EXPECT_EQ(lookupFrame(AnimRef{-1, 0, 0, 0}), nullptr);
    EXPECT_NE(errors.find("Error opening animation file."), std::string::npos);
    unloadAnimationLibrary();
    EXPECT_EQ(lookupFrame(AnimRef{1, 0, 0, 0}), nullptr);
}
