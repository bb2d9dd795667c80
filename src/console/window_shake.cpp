#include "console/window_shake.h"
#include "input/timers.h"
#include "world/object_access.h"

HostRect lastWindowRect = {0, 0, 0, 0};

constexpr uint32_t SHAKE_MS = 1000;
constexpr int SHAKE_PIXELS = 5;
// A jerk of this many pixels in one frame throws things; less is a nudge,
// more is a jump of the window, not a throw.
constexpr int JERK_MIN = 6;
constexpr int JERK_MAX = 20;
constexpr float THROW_SPEED = 0.8f;

// Window positions travel as signed 16-bit values.
static void placeWindow(int x, int y) {
    host->moveWindow(static_cast<int16_t>(x), static_cast<int16_t>(y));
}

void shakeWindow() {
    const uint32_t t0 = timeGetTime();
    HostRect r = {0, 0, 0, 0};
    host->getWindowRect(&r);
    while (timeGetTime() - t0 < SHAKE_MS) {
        if (timeGetTime() % 5 != 0)
            placeWindow(r.left + SHAKE_PIXELS, r.top + SHAKE_PIXELS);
        else
            placeWindow(r.left - SHAKE_PIXELS, r.top - SHAKE_PIXELS);
        // Yield between placements instead of spinning the processor.
        host->idle(1);
    }
    placeWindow(r.left, r.top);
}

static bool isJerk(int delta) {
    return delta >= JERK_MIN && delta <= JERK_MAX;
}

void windowShakeStep() {
    HostRect r = {0, 0, 0, 0};
    host->getWindowRect(&r);
    const int dBottom = r.bottom - lastWindowRect.bottom;
    const int dLeft = r.left - lastWindowRect.left;
    // Each push sets both components, so a sideways jerk wins over a downward
    // one in the same frame.
    if (isJerk(dBottom))
        pushAllObjects(0, -THROW_SPEED);
    if (isJerk(dLeft))
        pushAllObjects(-THROW_SPEED, 0);
    if (isJerk(-dLeft))
        pushAllObjects(THROW_SPEED, 0);
    lastWindowRect = r;
}

void pushAllObjects(float vx, float vy) {
    for (ObjectNode *n = objectList; n; n = n->next) {
        if (n->kind == KIND_KISS)
            continue;
        VelocityRef v = objectVelocity(n);
        if (v.vx) {
            *v.vx = vx;
            *v.vy = vy;
        }
    }
}
