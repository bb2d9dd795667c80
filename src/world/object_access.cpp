#include "world/object_access.h"
#include "anim/animation.h"

// Every record starts with the same header, whatever its kind.
static ObjectHeader *objectHeader(ObjectNode *node) {
    if (!node || !node->record || node->kind < KIND_FIRST || node->kind > KIND_LAST)
        return nullptr;
    return static_cast<ObjectHeader *>(node->record);
}

ObjectBox *objectBox(ObjectNode *node) {
    return objectHeader(node);
}

AnimRef *objectAnimRef(ObjectNode *node) {
    ObjectHeader *header = objectHeader(node);
    return header ? &header->anim : nullptr;
}

template <typename Record> static VelocityRef velocityOf(ObjectNode *node) {
    Record *r = recordOf<Record>(node);
    return VelocityRef{&r->vx, &r->vy};
}

VelocityRef objectVelocity(ObjectNode *node) {
    if (!node || !node->record)
        return VelocityRef{nullptr, nullptr};
    switch (node->kind) {
    case KIND_PLAYER:
        return velocityOf<PlayerRecord>(node);
    case KIND_BOX:
        return velocityOf<BoxRecord>(node);
    case KIND_SOLDIER:
        return velocityOf<SoldierRecord>(node);
    case KIND_DOLL:
        return velocityOf<DollRecord>(node);
    case KIND_KISS:
        return velocityOf<KissRecord>(node);
    case KIND_OZZLE:
        return velocityOf<OzzleRecord>(node);
    case KIND_NINJA:
        return velocityOf<NinjaRecord>(node);
    case KIND_NINJASTAR:
        return velocityOf<NinjaStarRecord>(node);
    default:
        return VelocityRef{nullptr, nullptr};
    }
}

int32_t *objectGravity(ObjectNode *node) {
    if (!node || !node->record)
        return nullptr;
    switch (node->kind) {
    case KIND_PLAYER:
        return &recordOf<PlayerRecord>(node)->gravity;
    case KIND_BOX:
        return &recordOf<BoxRecord>(node)->gravity;
    case KIND_SOLDIER:
        return &recordOf<SoldierRecord>(node)->gravity;
    case KIND_DOLL:
        return &recordOf<DollRecord>(node)->gravity;
    case KIND_OZZLE:
        return &recordOf<OzzleRecord>(node)->gravity;
    case KIND_NINJA:
        return &recordOf<NinjaRecord>(node)->gravity;
    default:
        return nullptr;
    }
}

int32_t *objectCrushed(ObjectNode *node) {
    if (!node || !node->record)
        return nullptr;
    switch (node->kind) {
    case KIND_SOLDIER:
        return &recordOf<SoldierRecord>(node)->crushed;
    case KIND_DOLL:
        return &recordOf<DollRecord>(node)->crushed;
    case KIND_NINJA:
        return &recordOf<NinjaRecord>(node)->crushed;
    case KIND_DUMMY:
        return &recordOf<DummyRecord>(node)->crushed;
    default:
        return nullptr;
    }
}

void setAnimFrame(AnimRef *ref, int32_t frame) {
    if (ref)
        ref->frame = frame;
}

void setBoundsFromInfo(ObjectBox *box, const FrameInfo *info) {
    if (!box)
        return;
    box->x2 = box->x + static_cast<float>(info ? info->width : 0);
    box->y2 = box->y + static_cast<float>(info ? info->height : 0);
}
