#include "objects/collision.h"
#include "objects/kinds.h"
#include "sound/sound.h"
#include "world/high_score.h"
#include "world/object_access.h"
#include "world/play_state.h"
#include <cmath>

// Falling faster than this crushes an enemy; the player and the boss need more.
constexpr float CRUSH_SPEED = 0.2f;
constexpr float HURT_SPEED = 0.5f;

void updateBoxes(float dt) {
    for (ObjectNode *n = objectList; n; n = n->next) {
        if (n->kind != KIND_BOX)
            continue;
        BoxRecord *box = recordOf<BoxRecord>(n);
        applyGravity(box->gravity, &box->vy);
        moveObject(n, dt);
        box->vx = 0; // a push or a carry moves a box for one update only
    }
}

static int32_t crushPoints(int32_t kind) {
    switch (kind) {
    case KIND_DUMMY:
        return POINTS_DUMMY;
    case KIND_SOLDIER:
        return POINTS_SOLDIER;
    case KIND_DOLL:
        return POINTS_DOLL;
    case KIND_NINJA:
        return POINTS_NINJA;
    default:
        return 0;
    }
}

void boxContact(ObjectNode *self, ObjectNode *other, float dx, float dy) {
    const bool landing = dy < 0 && std::fabs(dy) < std::fabs(dx);
    if (!landing)
        return;
    BoxRecord *box = recordOf<BoxRecord>(self);
    const int32_t points = crushPoints(other->kind);
    int32_t *crushed = objectCrushed(other);
    if (points && crushed && !*crushed && box->vy > CRUSH_SPEED) {
        *crushed = 1;
        scheduleRemoval(other);
        addScore(points);
        raiseHighScore();
        playSound(SOUND_DESTROY);
    } else if (other->kind == KIND_PLAYER && box->vy > HURT_SPEED) {
        killPlayer();
    } else if (other->kind == KIND_OZZLE && !recordOf<OzzleRecord>(other)->hitFlag &&
               box->vy > HURT_SPEED) {
        ozzleHit(other);
        scheduleRemoval(self);
        playSound(SOUND_DESTROY);
    }
}
