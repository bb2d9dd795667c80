// The library of the game's own scripts: the sizes and collision groups the
// gameplay relies on, and what a broken script leaves behind.
#include "anim/animation_library.h"
#include "objects/collision.h"
#include "test_support.h"
#include <gtest/gtest.h>
#include <set>

namespace {

using Size = std::pair<int, int>;

const Animation *animationOf(int set) {
    const List *s = static_cast<const List *>(animationLibrary->items[set]);
    return s->count ? static_cast<const Animation *>(s->items[0]) : nullptr;
}

std::set<int> groups(const FrameInfo *info) {
    std::set<int> out;
    for (int i = 0; i < info->collidesWith.count; i++)
        out.insert(*static_cast<uint8_t *>(info->collidesWith.items[i]));
    return out;
}

} // namespace

TEST(AnimationLibrary, ShippedSizesAndCollisionGroupsSurviveAReload) {
    HeadlessGame game;
    // Groups: 0 walls, 1 platforms, 2 boxes, 3 player, 4 enemies, 5 the
    // boss, 6 kisses, 7 stars. A Kiss starts at its Doll's corner and a star
    // at its Ninja's: neither may test against the enemies, or it would
    // vanish as it is thrown.
    const struct {
        int frames, width, height, group;
        std::set<int> collidesWith;
    } all[ANIMATION_SETS] = {
        {9, 5, 5, 3, {0, 1, 2, 4, 5}},    // player
        {1, 5, 5, 2, {0, 1, 2, 3, 4, 5}}, // box
        {2, 5, 6, 4, {0, 1, 2, 3, 4, 5}}, // soldier
        {1, 9, 2, 1, {}},                 // platform
        {1, 5, 6, 4, {0, 1, 2, 3, 4, 5}}, // doll
        {1, 3, 2, 6, {0, 3}},             // kiss
        {1, 85, 2, 0, {}},                // border
        {2, 12, 10, 5, {0, 1, 2, 3, 4}},  // ozzle
        {4, 5, 6, 4, {0, 1, 2, 3, 4, 5}}, // ninja
        {1, 9, 2, 1, {}},                 // spare platform
        {1, 3, 3, 7, {0, 1, 2, 3}},       // ninja star
        {1, 5, 6, 4, {}},                 // dummy
    };
    for (int round = 0; round < 2; round++) {
        testing::internal::CaptureStderr();
        loadAnimationLibrary();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "every script loads";
        ASSERT_EQ(animationLibrary->count, ANIMATION_SETS);
        for (int set = 0; set < ANIMATION_SETS; set++) {
            SCOPED_TRACE(animationScripts[set]);
            ASSERT_EQ(static_cast<const List *>(animationLibrary->items[set])->count, 1);
            const Animation *a = animationOf(set);
            EXPECT_EQ(a->frameCount, all[set].frames);
            for (int f = 0; f < a->frameCount; f++) {
                const FrameInfo *info = lookupFrame(AnimRef{set, 0, f, 0})->info;
                EXPECT_EQ(info->width, all[set].width) << "frame " << f;
                EXPECT_EQ(info->height, all[set].height) << "frame " << f;
                EXPECT_EQ(info->collisionGroup, all[set].group);
                EXPECT_EQ(groups(info), all[set].collidesWith);
            }
        }
        // The four walls are one picture lying along each edge.
        const FrameInfo *wall = lookupFrame(AnimRef{6, 0, 0, 1})->info;
        EXPECT_EQ(Size(wall->width, wall->height), std::make_pair(2, 85));
        // The spare platform is a copy of its own, not the platform itself.
        const Frame *a = static_cast<const Frame *>(animationOf(3)->frames[0].items[0]);
        const Frame *b = static_cast<const Frame *>(animationOf(9)->frames[0].items[0]);
        EXPECT_NE(a->picture, b->picture);
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
    dataRoot = wobbleSourceDir;
    ASSERT_EQ(animationLibrary->count, ANIMATION_SETS);
    EXPECT_EQ(animationOf(0), nullptr);
    ASSERT_NE(animationOf(1), nullptr);
    EXPECT_EQ(lookupFrame(AnimRef{0, 0, 0, 0}), nullptr);
    EXPECT_NE(lookupFrame(AnimRef{1, 0, 0, 0}), nullptr);
    EXPECT_NE(lookupFrame(AnimRef{1, 0, 0, 3}), nullptr);
    // References past any end find nothing rather than reading beyond a list.
    for (AnimRef past : {AnimRef{1, 0, 1, 0}, AnimRef{1, 1, 0, 0}, AnimRef{1, 0, 0, 4},
                         AnimRef{12, 0, 0, 0}, AnimRef{-1, 0, 0, 0}})
        EXPECT_EQ(lookupFrame(past), nullptr);
    EXPECT_NE(errors.find("Error opening animation file."), std::string::npos);
    unloadAnimationLibrary();
    EXPECT_EQ(lookupFrame(AnimRef{1, 0, 0, 0}), nullptr);
}
