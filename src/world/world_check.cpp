#include "world/world_check.h"
#include "world/levels.h"
#include "world/object_access.h"
#include "world/object_list.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>

bool worldChecks = false;
void (*worldCheckFailed)(int exitCode) = nullptr;

static bool inRoom(float v) {
    return std::isfinite(v) && v >= -WORLD_CHECK_MARGIN && v <= ROOM_SIZE + WORLD_CHECK_MARGIN;
}

bool worldIsSound() {
    int index = 0;
    for (ObjectNode *n = objectList; n; n = n->next, index++) {
        const ObjectBox *box = objectBox(n);
        if (!box || (inRoom(box->x) && inRoom(box->y)))
            continue;
        fprintf(stderr, "world check: object %d (kind %d) is at (%g, %g), outside the room\n",
                index, n->kind, static_cast<double>(box->x), static_cast<double>(box->y));
        return false;
    }
    return true;
}

void checkWorld() {
    if (!worldChecks || worldIsSound())
        return;
    fflush(stderr);
    if (worldCheckFailed)
        worldCheckFailed(WORLD_CHECK_EXIT);
    exit(WORLD_CHECK_EXIT);
}
