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

// One update of a falling kind as every kind does it: gravity (0.1 per update
// up to 0.8), then the move of 20 ms.
inline void fallStep(ObjectNode *node, float dt = 20.0f) {
    VelocityRef v = objectVelocity(node);
    int32_t *gravity = objectGravity(node);
    if (gravity && *gravity == 1 && *v.vy < 0.8f)
        *v.vy += 0.1f;
    moveObject(node, dt);
}

inline ObjectNode *placed(int32_t kind, double x, double y, double a = 0, double b = 0) {
    ObjectNode *n = createObject(kind, x, y, a, b);
    updateObjectBounds(n);
    return n;
}
