// The game's own scripts: the sizes and collision groups the gameplay relies on.
#include "anim/animation_library.h"
#include "objects/collision.h"
#include "test_support.h"
#include <gtest/gtest.h>
#include <set>

namespace {

struct Expected {
    int set;
    int frames, width, height, group;
    std::set<int> collidesWith;
};

std::set<int> groups(const FrameInfo *info) {
    std::set<int> out;
    for (int i = 0; i < info->collidesWith.count; i++)
        out.insert(*static_cast<uint8_t *>(info->collidesWith.items[i]));
    return out;
}

} // namespace

TEST(ShippedAnimations, SizesAndCollisionGroups) {
    HeadlessGame game;
    testing::internal::CaptureStderr();
    loadAnimationLibrary();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "every script loads";
    // Groups: 0 walls, 1 platforms, 2 boxes, 3 player, 4 enemies, 5 the
    // boss, 6 kisses, 7 stars.
    const Expected all[] = {
        {0, 9, 5, 5, 3, {0, 1, 2, 4, 5}},    // player
        {1, 1, 5, 5, 2, {0, 1, 2, 3, 4, 5}}, // box
        {2, 2, 5, 6, 4, {0, 1, 2, 3, 4, 5}}, // soldier
        {3, 1, 9, 2, 1, {}},                 // platform
        {4, 1, 5, 6, 4, {0, 1, 2, 3, 4, 5}}, // doll
        {5, 1, 3, 2, 6, {0, 3}},             // kiss
        {6, 1, 85, 2, 0, {}},                // border
        {7, 2, 12, 10, 5, {0, 1, 2, 3, 4}},  // ozzle
        {8, 4, 5, 6, 4, {0, 1, 2, 3, 4, 5}}, // ninja
        {9, 1, 9, 2, 1, {}},                 // spare platform
        {10, 1, 3, 3, 7, {0, 1, 2, 3}},      // ninja star
        {11, 1, 5, 6, 4, {}},                // dummy
    };
    for (const Expected &e : all) {
        const List *set = static_cast<const List *>(animationLibrary->items[e.set]);
        ASSERT_EQ(set->count, 1) << animationScripts[e.set];
        const Animation *a = static_cast<const Animation *>(set->items[0]);
        EXPECT_EQ(a->frameCount, e.frames) << animationScripts[e.set];
        for (int f = 0; f < a->frameCount; f++) {
            const FrameInfo *info = lookupFrame(AnimRef{e.set, 0, f, 0})->info;
            EXPECT_EQ(info->width, e.width) << animationScripts[e.set] << " frame " << f;
            EXPECT_EQ(info->height, e.height) << animationScripts[e.set] << " frame " << f;
            EXPECT_EQ(info->collisionGroup, e.group) << animationScripts[e.set];
            EXPECT_EQ(groups(info), e.collidesWith) << animationScripts[e.set];
        }
    }
    // The four walls are one picture lying along each edge.
    EXPECT_EQ(lookupFrame(AnimRef{6, 0, 0, 1})->info->width, 2);
    EXPECT_EQ(lookupFrame(AnimRef{6, 0, 0, 1})->info->height, 85);
    unloadAnimationLibrary();
}

TEST(ShippedAnimations, MissilesNeverStartInsideTheirThrower) {
    HeadlessGame game;
    loadAnimationLibrary();
    // A Kiss starts at its Doll's corner and a star at its Ninja's: neither
    // may test against the enemy group, or it would vanish as it is thrown.
    EXPECT_EQ(groups(lookupFrame(AnimRef{5, 0, 0, 0})->info).count(4), 0u);
    EXPECT_EQ(groups(lookupFrame(AnimRef{10, 0, 0, 0})->info).count(4), 0u);
    unloadAnimationLibrary();
}
