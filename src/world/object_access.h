// Reaching the shared parts of any object's record through its node.
#pragma once
#include "world/object_list.h"

struct FrameInfo;

// The velocity fields of a moving kind; both null for Platform, Border, Dummy.
struct VelocityRef {
    float *vx;
    float *vy;
};

ObjectBox *objectBox(ObjectNode *node);
AnimRef *objectAnimRef(ObjectNode *node);
VelocityRef objectVelocity(ObjectNode *node);
// The gravity flag of the kinds that fall (Player, Box, Soldier, Doll, Ozzle,
// Ninja), else null.
int32_t *objectGravity(ObjectNode *node);
// The crushed flag of the kinds a box can crush (Soldier, Doll, Ninja, Dummy),
// else null.
int32_t *objectCrushed(ObjectNode *node);

template <typename Record> Record *recordOf(ObjectNode *node) {
    return static_cast<Record *>(node->record);
}

void setAnimFrame(AnimRef *ref, int32_t frame);
// x2, y2 from the frame's size; an object without a frame has no size.
void setBoundsFromInfo(ObjectBox *box, const FrameInfo *info);
