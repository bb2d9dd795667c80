#include "input/timers.h"
#include "objects/collision.h"
#include "objects/kinds.h"
#include "objects/world_turn.h"
#include "world/chance.h"
#include "world/high_score.h"
#include "world/object_access.h"
#include "world/play_state.h"
#include <cmath>
#include <cstdint>
#include <cstdlib>

// Updates the boss crouches before it jumps.
constexpr uint32_t JUMP_COUNTDOWN = 100;
// Speeds in cells per 20 ms.
constexpr float WALK_SPEED = 0.2f;
constexpr float JUMP_SPEED = 1.8f;
// While walking it makes ready to jump in one update of 1500.
constexpr int CHARGE_ODDS = 1500;

int32_t firstMinionId = INT32_MAX;

void updateOzzles(float dt) {
    firstMinionId = nextObjectId;
    for (ObjectNode *n = objectList; n; n = n->next) {
        if (n->kind != KIND_OZZLE)
            continue;
        OzzleRecord *o = recordOf<OzzleRecord>(n);
        const float before = o->x;
        applyGravity(o->gravity, &o->vy);
        if (o->countdown > 0) {
            if (--o->countdown == 0) {
                o->landed = 0;
                o->vy = -JUMP_SPEED;
                o->charging = 0;
                o->hitFlag = 0;
                setAnimFrame(&o->anim, OZZLE_JUMPING);
            }
        } else if (!o->charging) {
            o->vx = o->direction ? WALK_SPEED : -WALK_SPEED;
            if (chanceNext() % CHARGE_ODDS == 0) {
                o->charging = 1;
                o->hitFlag = 1;
            }
        } else {
            o->countdown = JUMP_COUNTDOWN;
            o->vx = 0;
        }
        moveObject(n, dt);
        // Every landing turns the room, once the player has found its feet.
        if (!o->landedBefore && o->landed && !playerSettling()) {
            lastTurnTime = gameClock();
            triggerTurn();
            setAnimFrame(&o->anim, OZZLE_WALKING);
        }
        o->landedBefore = o->landed;
        if (o->x == before)
            o->direction = !o->direction;
        updateObjectBounds(n);
    }
}

void ozzleHit(ObjectNode *node) {
    OzzleRecord *o = recordOf<OzzleRecord>(node);
    o->charging = 1;
    o->hitFlag = 1;
    o->countdown = JUMP_COUNTDOWN;
    if (o->hitPoints != 0) {
        o->hitPoints--;
        return;
    }
    if (levelIndex == FINAL_LEVEL_INDEX) {
        gameOverFlag = 1;
        gameWon = 1;
        loadEndPictures();
        addScore(score);
    } else {
        levelDoneFlag = 1;
        addScore(score / 2);
    }
    raiseHighScore();
}

void ozzleContact(ObjectNode *self, ObjectNode *other, float dx, float dy) {
    OzzleRecord *o = recordOf<OzzleRecord>(self);
    const bool resting = std::fabs(dy) < std::fabs(dx) && dy < 0;
    if (resting)
        o->landed = 1;
    if (other->kind == KIND_BOX && (std::fabs(dy) > std::fabs(dx) || resting)) {
        // A box it touches becomes one of its minions, one cell higher.
        const BoxRecord *box = recordOf<BoxRecord>(other);
        scheduleRemoval(other);
        static const int32_t minions[3] = {KIND_SOLDIER, KIND_NINJA, KIND_DOLL};
        createObject(minions[chanceNext() % 3], box->x, box->y - 1, 0);
    } else if ((other->kind == KIND_NINJA || other->kind == KIND_SOLDIER ||
                other->kind == KIND_DOLL) &&
               resting) {
        scheduleRemoval(other);
    } else if (other->kind == KIND_PLAYER) {
        killPlayer();
    }
}
