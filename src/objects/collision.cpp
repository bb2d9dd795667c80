#include "objects/collision.h"
#include "anim/animation_library.h"
#include "objects/contact_handlers.h"
#include "world/object_access.h"
#include <cmath>

static void *itemAt(const List *list, int32_t index) {
    if (!list || index < 0 || index >= list->count)
        return nullptr;
    return list->items[index];
}

void applyGravity(int32_t gravity, float *vy) {
    if (gravity == 1 && *vy < 0.8f)
        *vy += 0.1f;
}

Frame *lookupFrame(const AnimRef &ref) {
    const List *set = static_cast<const List *>(itemAt(animationLibrary, ref.set));
    const Animation *animation = static_cast<const Animation *>(itemAt(set, ref.anim));
    if (!animation || ref.rotation < 0 || ref.rotation >= ORIENTATIONS)
        return nullptr;
    return static_cast<Frame *>(itemAt(&animation->frames[ref.rotation], ref.frame));
}

FrameInfo *objectFrameInfo(ObjectNode *node) {
    const AnimRef *ref = objectAnimRef(node);
    if (!ref)
        return nullptr;
    Frame *frame = lookupFrame(*ref);
    return frame ? frame->info : nullptr;
}

void updateObjectBounds(ObjectNode *node) {
    setBoundsFromInfo(objectBox(node), objectFrameInfo(node));
}

static int listsGroup(const FrameInfo *info, int32_t group) {
    const List *groups = &info->collidesWith;
    for (int32_t i = 0; i < groups->count; i++)
        if (*static_cast<const uint8_t *>(groups->items[i]) == group)
            return 1;
    return 0;
}

// Touching edge to edge is no overlap: the margin keeps a box resting on a
// platform from being pushed out of it again on every step.
constexpr double OVERLAP_MARGIN = 0.00001;

int overlapsObject(ObjectNode *self, ObjectNode *other) {
    const FrameInfo *mine = objectFrameInfo(self);
    const FrameInfo *theirs = objectFrameInfo(other);
    if (!mine || !theirs || !listsGroup(mine, theirs->collisionGroup))
        return 0;
    const ObjectBox *a = objectBox(self);
    const ObjectBox *b = objectBox(other);
    return b->y < a->y2 - OVERLAP_MARGIN && a->y + OVERLAP_MARGIN < b->y2 &&
           b->x < a->x2 - OVERLAP_MARGIN && a->x + OVERLAP_MARGIN < b->x2;
}

// Equal centres push left (or up).
static double pushOut(double mineStart, double mineSize, double theirStart, double theirSize) {
    const double mineHalf = mineSize * 0.5, theirHalf = theirSize * 0.5;
    const double mineCentre = mineStart + mineHalf, theirCentre = theirStart + theirHalf;
    if (theirCentre < mineCentre)
        return (mineHalf + theirHalf) - (mineCentre - theirCentre);
    return -((mineHalf + theirHalf) - (theirCentre - mineCentre));
}

Push penetration(ObjectNode *self, ObjectNode *other) {
    const FrameInfo *mine = objectFrameInfo(self);
    const FrameInfo *theirs = objectFrameInfo(other);
    const ObjectBox *a = objectBox(self);
    const ObjectBox *b = objectBox(other);
    if (!mine || !theirs || !a || !b)
        return Push{0, 0};
    return Push{static_cast<float>(pushOut(a->x, mine->width, b->x, theirs->width)),
                static_cast<float>(pushOut(a->y, mine->height, b->y, theirs->height))};
}

int queryOverlaps(ObjectNode *node, List *found) {
    for (ObjectNode *other = objectList; other; other = other->next)
        if (other != node && overlapsObject(node, other))
            listAppend(found, other);
    return found->count > 0 ? 1 : 0;
}

int firstContactSide(ObjectNode *node) {
    for (ObjectNode *other = objectList; other; other = other->next) {
        if (other == node || !overlapsObject(node, other))
            continue;
        const Push p = penetration(node, other);
        if (std::fabs(p.dy) >= std::fabs(p.dx))
            return p.dy > 0 ? 1 : 4;
        return p.dx > 0 ? 3 : 2;
    }
    return 0;
}

// A push too small to separate the two (float steps) becomes a small push
// right or down, so the object always gets out.
static float atLeastMinimum(float push) {
    return std::fabs(push) < 0.001f ? 0.001f : push;
}

void moveObject(ObjectNode *node, float dt) {
    ObjectBox *box = objectBox(node);
    if (!box)
        return;
    const FrameInfo *info = objectFrameInfo(node);
    VelocityRef v = objectVelocity(node);
    if (dt < MAX_MOVE_DT && v.vx) {
        box->x = static_cast<float>(box->x + *v.vx * dt * 0.05);
        box->y = static_cast<float>(box->y + *v.vy * dt * 0.05);
    }
    setBoundsFromInfo(box, info);

    for (ObjectNode *other = objectList; other; other = other->next) {
        if (other == node || !overlapsObject(node, other))
            continue;
        const Push p = penetration(node, other);
        const ContactHandler handler =
            isKnownKind(node->kind) ? contactHandlers[node->kind] : nullptr;
        if (handler)
            handler(node, other, p.dx, p.dy);
        // Ties go to y: an object dropped square onto a corner lands on it.
        if (std::fabs(p.dy) <= std::fabs(p.dx)) {
            box->y += atLeastMinimum(p.dy);
            if (v.vy)
                *v.vy = 0;
        } else {
            box->x += atLeastMinimum(p.dx);
            if (v.vx)
                *v.vx = 0;
        }
        // The handler may have changed the frame; later nodes see the new box.
        setBoundsFromInfo(box, objectFrameInfo(node));
    }
}

static void refreshKind(int32_t kind) {
    for (ObjectNode *n = objectList; n; n = n->next)
        if (n->kind == kind)
            updateObjectBounds(n);
}

void refreshBorders() {
    refreshKind(KIND_BORDER);
}
void refreshPlatforms() {
    refreshKind(KIND_PLATFORM);
}
void refreshDummies() {
    refreshKind(KIND_DUMMY);
}
