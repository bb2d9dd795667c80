// One update of a level full of moving boxes: every mover tests every other
// object (all pairs), so the cost grows with the square of the object count.
#include "anim/animation_library.h"
#include "checkout_paths.h"
#include "objects/collision.h"
#include "platform/files.h"
#include "world/levels.h"
#include "world/object_access.h"
#include "world/object_list.h"
#include <benchmark/benchmark.h>

namespace {

// Boxes in loose rows over platforms, with the four walls: the kind of room a
// level is, only fuller.
void buildLevel(int movers) {
    clearObjects();
    for (int i = 0; i < movers; i++) {
        const double x = 3 + (i % 13) * 6.1;
        const double y = 3 + (i / 13) % 12 * 6.5;
        createObject(KIND_BOX, x, y);
    }
    for (int i = 0; i < 8; i++)
        createObject(KIND_PLATFORM, 3 + i * 10, 80);
    addBorders();
    for (ObjectNode *n = objectList; n; n = n->next)
        updateObjectBounds(n);
}

void update(float dt) {
    for (ObjectNode *n = objectList; n; n = n->next) {
        if (n->kind != KIND_BOX)
            continue;
        VelocityRef v = objectVelocity(n);
        if (*v.vy < 0.8f)
            *v.vy += 0.1f;
        moveObject(n, dt);
        *v.vx = 0;
    }
}

void BM_WorldUpdate(benchmark::State &state) {
    dataRoot = wobbleSourceDir;
    loadAnimationLibrary();
    const int movers = static_cast<int>(state.range(0));
    buildLevel(movers);
    // Let the boxes fall into a pile first, as in play.
    for (int i = 0; i < 200; i++)
        update(20);
    for (auto _ : state)
        update(20);
    state.SetComplexityN(movers);
    state.counters["objects"] = static_cast<double>(movers + 12);
    clearObjects();
    unloadAnimationLibrary();
}

} // namespace

BENCHMARK(BM_WorldUpdate)->Arg(20)->Arg(100)->Arg(400)->Complexity(benchmark::oNSquared);
