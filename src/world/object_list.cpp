#include "world/object_list.h"
#include <cmath>
#include <cstdlib>

ObjectNode *objectList = nullptr;
int32_t nextObjectId = 0;
List removalList = {0, 0, 4, nullptr, nullptr};

int isKnownKind(int32_t kind) {
    return kind >= KIND_FIRST && kind <= KIND_LAST;
}

// Creation arguments arrive as numbers with fractions; a direction or a
// facing read from a broken file may be anything, so convert with care.
static int32_t toInt(double value) {
    if (!std::isfinite(value) || value > INT32_MAX || value < INT32_MIN)
        return 0;
    return static_cast<int32_t>(value);
}

template <typename Record> static Record *newRecord(double x, double y, int32_t set) {
    Record *record = static_cast<Record *>(calloc(1, sizeof(Record)));
    if (!record)
        return nullptr;
    record->x = static_cast<float>(x);
    record->y = static_cast<float>(y);
    record->anim = AnimRef{set, 0, 0, 0};
    return record;
}

static void *makeRecord(int32_t kind, double x, double y, double a, double b) {
    switch (kind) {
    case KIND_PLAYER: {
        PlayerRecord *r = newRecord<PlayerRecord>(x, y, SET_PLAYER);
        if (r) {
            r->gravity = 1;
            r->facing = toInt(a);
            r->carrying = toInt(b);
        }
        return r;
    }
    case KIND_BOX: {
        BoxRecord *r = newRecord<BoxRecord>(x, y, SET_BOX);
        if (r)
            r->gravity = 1;
        return r;
    }
    case KIND_SOLDIER: {
        SoldierRecord *r = newRecord<SoldierRecord>(x, y, SET_SOLDIER);
        if (r) {
            r->gravity = 1;
            r->direction = toInt(a);
        }
        return r;
    }
    case KIND_PLATFORM:
        return newRecord<PlatformRecord>(x, y, SET_PLATFORM);
    case KIND_DOLL: {
        DollRecord *r = newRecord<DollRecord>(x, y, SET_DOLL);
        if (r) {
            r->gravity = 1;
            r->direction = toInt(a);
        }
        return r;
    }
    case KIND_KISS: {
        KissRecord *r = newRecord<KissRecord>(x, y, SET_KISS);
        if (r) {
            r->vx = static_cast<float>(a);
            r->vy = static_cast<float>(b);
            r->life = KISS_LIFE;
        }
        return r;
    }
    case KIND_BORDER: {
        BorderRecord *r = newRecord<BorderRecord>(x, y, SET_BORDER);
        if (r)
            r->anim.rotation = toInt(a) & 3; // an edge of the room, whatever was asked

        return r;
    }
    case KIND_OZZLE: {
        OzzleRecord *r = newRecord<OzzleRecord>(x, y, SET_OZZLE);
        if (r) {
            r->gravity = 1;
            r->hitPoints = OZZLE_HIT_POINTS;
        }
        return r;
    }
    case KIND_NINJA: {
        NinjaRecord *r = newRecord<NinjaRecord>(x, y, SET_NINJA);
        if (r) {
            r->gravity = 1;
            r->direction = toInt(a);
        }
        return r;
    }
    case KIND_NINJASTAR: {
        NinjaStarRecord *r = newRecord<NinjaStarRecord>(x, y, SET_NINJASTAR);
        if (r) {
            r->vx = static_cast<float>(a);
            r->vy = static_cast<float>(b);
        }
        return r;
    }
    case KIND_DUMMY:
        return newRecord<DummyRecord>(x, y, SET_DUMMY);
    default:
        return nullptr;
    }
}

ObjectNode *createObject(int32_t kind, double x, double y, double a, double b) {
    void *record = makeRecord(kind, x, y, a, b);
    if (!record)
        return nullptr;
    ObjectNode *node = static_cast<ObjectNode *>(calloc(1, sizeof(ObjectNode)));
    if (!node) {
        free(record);
        return nullptr;
    }
    node->record = record;
    node->kind = kind;
    node->id = nextObjectId++;
    if (!objectList) {
        objectList = node;
        return node;
    }
    ObjectNode *first = objectList;
    node->next = first->next;
    if (first->next)
        first->next->prev = node;
    first->next = node;
    node->prev = first;
    return node;
}

// A player holding a box that goes away lets go of it, so nothing is left
// pointing at freed memory.
static void releaseCarriedBox(const void *boxRecord) {
    for (ObjectNode *n = objectList; n; n = n->next) {
        if (n->kind != KIND_PLAYER)
            continue;
        PlayerRecord *p = static_cast<PlayerRecord *>(n->record);
        if (p->carriedBox == boxRecord) {
            p->carrying = 0;
            p->carriedBox = nullptr;
            p->carriedVx = nullptr;
            p->carriedVy = nullptr;
        }
    }
}

static void unlinkAndFree(ObjectNode *node) {
    if (node->prev)
        node->prev->next = node->next;
    if (node->next)
        node->next->prev = node->prev;
    if (objectList == node)
        objectList = node->next;
    if (node->kind == KIND_BOX)
        releaseCarriedBox(node->record);
    free(node->record);
    free(node);
}

void clearObjects() {
    ObjectNode *node = objectList;
    while (node) {
        ObjectNode *next = node->next;
        node->prev = nullptr;
        node->next = nullptr;
        free(node->record);
        free(node);
        node = next;
    }
    objectList = nullptr;
    // Nothing that was scheduled exists any more.
    removalList.count = 0;
}

void createRemovalList() {
    freeRemovalList();
    listSetUp(&removalList, 2, 8, nullptr);
}

void freeRemovalList() {
    listDestroyAll(&removalList);
    removalList.capacity = 0;
}

void scheduleRemoval(ObjectNode *node) {
    if (!node || listContains(&removalList, node))
        return;
    listAppend(&removalList, node);
}

void destroyNow(ObjectNode *node) {
    if (!node)
        return;
    // A node freed now must not be freed again at the end of the frame.
    int32_t kept = 0;
    for (int32_t i = 0; i < removalList.count; i++)
        if (removalList.items[i] != node)
            removalList.items[kept++] = removalList.items[i];
    removalList.count = kept;
    unlinkAndFree(node);
}

void reapRemovals() {
    while (removalList.count > 0) {
        ObjectNode *node = static_cast<ObjectNode *>(removalList.items[--removalList.count]);
        unlinkAndFree(node);
    }
}

ObjectNode *findPlayer() {
    for (ObjectNode *n = objectList; n; n = n->next)
        if (n->kind == KIND_PLAYER)
            return n;
    return nullptr;
}
