// The physics shared by every kind: frame lookup, the move-and-collide step and
// the overlap queries. Positions are cells (x right, y down), velocities cells
// per 20 ms, times milliseconds.
#pragma once
#include "anim/animation.h"
#include "world/object_list.h"

// Gravity, the same for every kind that falls: up to 0.8 cells per 20 ms,
// 0.1 more per update.
void applyGravity(int32_t gravity, float *vy);

struct Push {
    float dx, dy;
};

// The frame an AnimRef names, or null when it names nothing (a set whose
// script failed to load, a frame past the end). An object without a frame has
// no size, collides with nothing and is run into by nothing.
Frame *lookupFrame(const AnimRef &ref);
FrameInfo *objectFrameInfo(ObjectNode *node);
// x2, y2 of one object from its current frame.
void updateObjectBounds(ObjectNode *node);

// Whether `self` tests against `other` (its frame lists the other's group) and
// their boxes overlap by more than 0.00001 on both axes. One-sided.
int overlapsObject(ObjectNode *self, ObjectNode *other);
// How far `self` must move to leave `other` on each axis.
Push penetration(ObjectNode *self, ObjectNode *other);
// Appends every other node `node` overlaps, in list order; 1 when any.
int queryOverlaps(ObjectNode *node, List *found);
// 0 when `node` overlaps nothing, else which side the first overlap is on
// (1 pushed down, 4 pushed up, 3 pushed right, 2 pushed left).
int firstContactSide(ObjectNode *node);

// Moves by the velocity over dt (a frame of 200 ms or more moves nothing),
// then pushes the object out of everything it tests against, along the
// smaller axis, calling its kind's contact handler first.
void moveObject(ObjectNode *node, float dt);

// The frames a long pause may leave behind do not move anything.
constexpr float MAX_MOVE_DT = 200.0f;

// x2, y2 of every object of one static kind (they never move, but a Border's
// size changes when the room turns).
void refreshBorders();
void refreshPlatforms();
void refreshDummies();
