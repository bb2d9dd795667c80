// A clean world for one test: headless host, no objects, no turns, nothing
// scheduled, no contact handlers; the shipped animation library when asked.
#pragma once
#include "anim/animation_library.h"
#include "objects/collision.h"
#include "objects/contact_handlers.h"
#include "test_support.h"
#include "world/levels.h"
#include "world/object_access.h"
#include "world/object_list.h"
#include "world/play_state.h"
#include <cmath>
#include <tuple>
#include <vector>

struct CleanWorld {
    HeadlessGame game;
    explicit CleanWorld(bool animations = false) {
        reset();
        if (animations)
            loadAnimationLibrary();
    }
    ~CleanWorld() {
        reset();
        unloadAnimationLibrary();
    }
    static void reset() {
        clearObjects();
        freeRemovalList();
        clearRotationSequence();
        startPoint = StartPoint{0, 0};
        ozzleLevel = 0;
        levelIndex = 0;
        dyingFlag = 0;
        for (ContactHandler &h : contactHandlers)
            h = nullptr;
    }
};

// The walk order of the object list.
inline std::vector<ObjectNode *> walkOrder() {
    std::vector<ObjectNode *> nodes;
    for (ObjectNode *n = objectList; n; n = n->next)
        nodes.push_back(n);
    return nodes;
}

// The walls' corners and picture turns, in walk order.
using Wall = std::tuple<float, float, int32_t>;
inline std::vector<Wall> walls() {
    std::vector<Wall> out;
    for (ObjectNode *n : walkOrder())
        if (n->kind == KIND_BORDER)
            out.push_back({objectBox(n)->x, objectBox(n)->y, objectAnimRef(n)->rotation});
    return out;
}

inline ObjectNode *placed(int32_t kind, double x, double y, double a = 0, double b = 0) {
    ObjectNode *n = createObject(kind, x, y, a, b);
    updateObjectBounds(n);
    return n;
}
