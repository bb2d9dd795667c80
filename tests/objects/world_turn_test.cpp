#include "../world/world_fixture.h"
#include "console/window_shake.h"
#include "objects/world_turn.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>

namespace {

using Place = std::tuple<int32_t, float, float, int32_t>;

std::vector<Place> places() {
    std::vector<Place> out;
    for (ObjectNode *n : walkOrder())
        out.push_back({n->kind, objectBox(n)->x, objectBox(n)->y, objectAnimRef(n)->rotation});
    return out;
}

// The walls' boxes, whichever wall is which.
std::vector<std::tuple<float, float, float, float>> wallBoxes() {
    std::vector<std::tuple<float, float, float, float>> out;
    for (ObjectNode *n : walkOrder())
        if (n->kind == KIND_BORDER) {
            const ObjectBox *b = objectBox(n);
            out.push_back({b->x, b->y, b->x2, b->y2});
        }
    std::sort(out.begin(), out.end());
    return out;
}

using XY = std::pair<float, float>;
XY xy(ObjectNode *n) {
    return {objectBox(n)->x, objectBox(n)->y};
}

void buildRoom() {
    placed(KIND_PLAYER, 10.25, 78, 1);
    placed(KIND_BOX, 40.5, 30.75);
    placed(KIND_PLATFORM, 60, 50);
    placed(KIND_SOLDIER, 20, 77, 1);
    placed(KIND_OZZLE, 50, 73);
    addBorders();
    refreshBorders();
    startPoint = StartPoint{10.25f, 78};
}

} // namespace

TEST(TurnWorld, AFiveByFiveBoxAtTheCornerAndTheStartPoint) {
    CleanWorld world(true);
    ObjectNode *box = placed(KIND_BOX, 0, 0);
    std::vector<XY> corners;
    for (int angle : {90, 180, -90}) {
        objectBox(box)->x = objectBox(box)->y = 0;
        turnWorld(angle);
        corners.push_back(xy(box));
    }
    EXPECT_EQ(corners, (std::vector<XY>{{0, 80}, {80, 80}, {80, 0}}));
    EXPECT_EQ(XY(objectBox(box)->x2, objectBox(box)->y2), XY(85, 5)) << "the far corner follows";
    // Sizes count: a 9 x 2 platform at the top-left corner.
    ObjectNode *platform = placed(KIND_PLATFORM, 0, 0);
    turnWorld(90);
    EXPECT_EQ(xy(platform), XY(0, 76));
    // The start point turns as a five-by-five box.
    startPoint = StartPoint{10, 70};
    std::vector<XY> starts;
    for (int angle : {90, -90, 180, 45, 0}) { // anything but quarter turns moves nothing
        turnWorld(angle);
        starts.push_back({startPoint.x, startPoint.y});
    }
    EXPECT_EQ(starts, (std::vector<XY>{{70, 70}, {10, 70}, {70, 10}, {70, 10}, {70, 10}}));
    const auto before = places();
    turnWorld(45);
    EXPECT_EQ(places(), before);
}

TEST(TurnWorld, FourQuarterTurnsAreNoTurnAtAll) {
    CleanWorld world(true);
    buildRoom();
    const auto start = places();
    const auto frame = wallBoxes();
    for (int angle : {90, -90}) {
        for (int i = 0; i < 4; i++) {
            turnWorld(angle);
            refreshBorders();
            // After every turn the four walls still frame the room.
            EXPECT_EQ(wallBoxes(), frame) << angle << " turn " << i + 1;
        }
        EXPECT_EQ(places(), start) << angle;
        EXPECT_EQ(XY(startPoint.x, startPoint.y), XY(10.25f, 78));
    }
    turnWorld(180);
    EXPECT_NE(places(), start);
    turnWorld(180);
    EXPECT_EQ(places(), start);

    // Each wall turns its picture a quarter the other way round as the room
    // turns: the floor (rotation 0) becomes the right wall (3) after 90.
    ASSERT_EQ(walls(), (std::vector<Wall>{{0, 83, 0}, {83, 0, 1}, {0, 0, 3}, {0, 0, 2}}));
    turnWorld(90);
    EXPECT_EQ(walls(), (std::vector<Wall>{{83, 0, 3}, {0, 0, 0}, {0, 83, 2}, {0, 0, 1}}));
    turnWorld(-90);
    turnWorld(-90);
    EXPECT_EQ(walls(), (std::vector<Wall>{{0, 0, 1}, {0, 83, 2}, {0, 0, 0}, {83, 0, 3}}));
}

TEST(TurnWorld, DropsTheCarryAndTurnsSoldiersRound) {
    CleanWorld world(true);
    ObjectNode *player = placed(KIND_PLAYER, 10, 10, 1);
    ObjectNode *right = placed(KIND_SOLDIER, 30, 10, 1);
    ObjectNode *left = placed(KIND_SOLDIER, 40, 10, 0);
    ObjectNode *doll = placed(KIND_DOLL, 50, 10, 1);
    recordOf<PlayerRecord>(player)->carrying = 1;
    turnWorld(180);
    EXPECT_EQ(recordOf<PlayerRecord>(player)->carrying, 0);
    EXPECT_EQ(recordOf<SoldierRecord>(right)->direction, 0);
    EXPECT_EQ(recordOf<SoldierRecord>(left)->direction, 1);
    EXPECT_EQ(recordOf<DollRecord>(doll)->direction, 1) << "only Soldiers turn round";
    EXPECT_EQ(objectAnimRef(right)->rotation, 0) << "everything but the walls stays upright";
}

TEST(TriggerTurn, TakesTheSequenceInOrderAndWraps) {
    CleanWorld world(true);
    ObjectNode *box = placed(KIND_BOX, 0, 0);
    // An empty sequence turns nothing.
    triggerTurn();
    EXPECT_EQ(xy(box), XY(0, 0));
    EXPECT_EQ(currentTurnAngle(), 0);
    rotationSequence.angles[0] = 90;
    rotationSequence.angles[1] = 180;
    rotationSequence.count = 2;
    const HostRect window = headless.window;
    const uint64_t t0 = headless.virtualMs;
    triggerTurn();
    EXPECT_GE(headless.virtualMs - t0, 1000u) << "the window shakes for a second";
    EXPECT_EQ(XY(headless.window.left, headless.window.top), XY(window.left, window.top))
        << "and is put back";
    EXPECT_EQ(xy(box), XY(0, 80));
    EXPECT_EQ(rotationSequence.index, 1);
    triggerTurn();
    EXPECT_EQ(xy(box), XY(80, 0));
    EXPECT_EQ(rotationSequence.index, 0);
    // An index left past the end by hand is brought back, never read past.
    rotationSequence.index = 7;
    triggerTurn();
    EXPECT_EQ(rotationSequence.index, 1);
}

TEST(WindowShake, JerksThrowLooseObjectsTheOtherWay) {
    CleanWorld world(true);
    ObjectNode *box = placed(KIND_BOX, 40, 40);
    ObjectNode *kiss = placed(KIND_KISS, 10, 10, 0.1, 0.2);
    ObjectNode *platform = placed(KIND_PLATFORM, 60, 60);
    VelocityRef v = objectVelocity(box);
    windowShakeStep();
    // Each jerk starts from a speed of its own, so a throw that adds to the
    // speed instead of setting it shows. Up, too far or too little: nothing;
    // sideways wins over down.
    const int moves[][2] = {{10, 0}, {0, 10}, {0, -10}, {30, 0}, {5, 5}, {-10, 10}};
    std::vector<XY> speeds;
    for (const auto &[dx, dy] : moves) {
        *v.vx = *v.vy = 0.5f;
        host->moveWindow(headless.window.left + dx, headless.window.top + dy);
        windowShakeStep();
        speeds.push_back({*v.vx, *v.vy});
    }
    EXPECT_EQ(speeds,
              (std::vector<XY>{
                  {-0.8f, 0}, {0, -0.8f}, {0.5f, 0.5f}, {0.5f, 0.5f}, {0.5f, 0.5f}, {0.8f, 0}}));
    EXPECT_EQ(*objectVelocity(kiss).vx, 0.1f) << "kisses are not thrown";
    EXPECT_EQ(objectVelocity(platform).vx, nullptr);

    // The shake of a turn leaves the window where it was: no throw follows.
    *v.vx = *v.vy = 0;
    triggerTurn();
    windowShakeStep();
    EXPECT_EQ(XY(*v.vx, *v.vy), XY(0, 0));
}
