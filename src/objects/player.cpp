#include "frontend/dialog.h"
#include "frontend/screen_state.h"
#include "input/keyboard.h"
#include "input/timers.h"
#include "objects/collision.h"
#include "objects/kinds.h"
#include "sound/sound.h"
#include "world/object_access.h"
#include "world/play_state.h"
#include <cmath>

// Updates the player spends in each state.
constexpr int32_t DEATH_UPDATES = 100;
constexpr int32_t SETTLE_UPDATES = 20;
constexpr uint32_t PUT_DOWN_AFTER = 100;
constexpr float REACH = 9.0f;

void killPlayer() {
    if (dyingFlag)
        return;
    ObjectNode *node = findPlayer();
    if (node)
        recordOf<PlayerRecord>(node)->deathTimer = DEATH_UPDATES;
    dyingFlag = 1;
    playSound(SOUND_LOSE);
}

bool playerSettling() {
    ObjectNode *node = findPlayer();
    return node && recordOf<PlayerRecord>(node)->deathTimer > -SETTLE_UPDATES;
}

static void stunnedFrame(PlayerRecord *p) {
    const int32_t t = p->stunTimer;
    const bool blinkA = t > 75 || (t >= 26 && t <= 49);
    if (p->facing)
        setAnimFrame(&p->anim, blinkA ? PLAYER_STUNNED_RIGHT_A : PLAYER_STUNNED_RIGHT_B);
    else
        setAnimFrame(&p->anim, blinkA ? PLAYER_STUNNED_LEFT_A : PLAYER_STUNNED_LEFT_B);
}

// Conjures a box in front of the player, or picks up the box already there.
static void conjureOrPickUp(ObjectNode *self, PlayerRecord *p) {
    const float bx = p->facing ? p->x + 5 : p->x - 5;
    p->carrySide = p->facing ? 1 : 0;
    ObjectNode *box = createObject(KIND_BOX, bx, p->y);
    if (!box)
        return;
    playSound(SOUND_CREATE);
    updateObjectBounds(box);
    List found;
    listSetUp(&found, 2, sizeof(ObjectNode *), nullptr);
    if (queryOverlaps(box, &found)) {
        destroyNow(box);
        for (int32_t i = found.count - 1; i >= 0; i--) {
            ObjectNode *other = static_cast<ObjectNode *>(found.items[i]);
            if (other == self || other->kind != KIND_BOX)
                continue;
            BoxRecord *held = recordOf<BoxRecord>(other);
            if (std::fabs(held->x - p->x) < REACH) {
                p->carrying = 1;
                p->carriedBox = held;
                p->carriedVx = &held->vx;
                p->carriedVy = &held->vy;
                break;
            }
        }
    }
    listDestroyAll(&found);
}

static void freeControl(ObjectNode *self, PlayerRecord *p) {
    setAnimFrame(&p->anim, p->facing ? PLAYER_RIGHT : PLAYER_LEFT);
    const uint32_t t = gameClock() % 500;
    if (keyHeld('A') || keyHeld(VK_LEFT)) {
        if (p->vx > -1.5f)
            p->vx -= 1.0f;
        if (p->vx < -0.5f && p->carrying)
            p->vx = -1.0f;
        p->facing = 0;
        setAnimFrame(&p->anim, t > 250 ? PLAYER_LEFT : PLAYER_WALK_LEFT);
    }
    if (keyHeld('D') || keyHeld(VK_RIGHT)) {
        if (p->vx < 1.5f)
            p->vx += 1.0f;
        if (p->vx > 0.5f && p->carrying)
            p->vx = 1.0f;
        p->facing = 1;
        setAnimFrame(&p->anim, t <= 250 ? PLAYER_WALK_RIGHT : PLAYER_RIGHT);
    }
    if ((keyHeld('W') || keyHeld(VK_UP)) && p->onGround) {
        p->vy = -1.6f;
        playSound(SOUND_JUMP);
    }
    if (p->carrying)
        p->carryCount++;
    if (keyReleased(VK_SPACE)) {
        if (!p->carrying) {
            conjureOrPickUp(self, p);
        } else if (p->carryCount > PUT_DOWN_AFTER) {
            p->carrying = 0;
            p->carryCount = 0;
        }
    }
}

// Moves a box in the way of the player up or down so the player stays visible.
static void dodgeDialog(const PlayerRecord *p) {
    DialogRecord *d = currentDialog;
    if (!d)
        return;
    const float m = 0.00001f;
    if (!(d->y < p->y2 - m && p->y + m < d->y + d->height && d->x < p->x2 - m &&
          p->x + m < d->x + d->width))
        return;
    if (d->y == 3)
        d->y = 85 - d->height;
    else if (d->y == 85 - d->height)
        d->y = 3;
}

void updatePlayer(float dt) {
    ObjectNode *self = findPlayer();
    if (!self)
        return;
    PlayerRecord *p = recordOf<PlayerRecord>(self);
    applyGravity(p->gravity, &p->vy);
    if (--p->stunTimer > 0) {
        stunnedFrame(p);
    } else if (--p->deathTimer > 0) {
        setAnimFrame(&p->anim, PLAYER_DYING);
        if (p->deathTimer > 80)
            p->vy = 0; // the body hangs a moment
        else if (p->deathTimer > 50 && p->deathTimer < 80)
            p->vy = -1.1f; // then rises, and falls from 50 on
    } else {
        freeControl(self, p);
    }
    if (p->carrying && p->carriedBox) {
        BoxRecord *box = p->carriedBox;
        if (std::fabs(box->x - p->x) > 8.0f || std::fabs(box->y - p->y) > 1.5f || !p->onGround)
            p->carrying = 0;
    }
    if (p->carrying && p->carriedBox) {
        BoxRecord *box = p->carriedBox;
        const float width = box->x2 - box->x;
        box->vx = p->carrySide ? p->x2 - box->x : p->x - width - box->x;
        box->vy = p->y - box->y;
    }
    p->onGround = 0;
    moveObject(self, dt);
    dodgeDialog(p);
    p->vx = 0;
}

void playerContact(ObjectNode *self, ObjectNode *other, float dx, float dy) {
    PlayerRecord *p = recordOf<PlayerRecord>(self);
    if (other->kind == KIND_BOX && std::fabs(dy) > std::fabs(dx)) {
        BoxRecord *box = recordOf<BoxRecord>(other);
        box->vx += dx <= 0 ? 0.5f : -0.5f;
    }
    switch (other->kind) {
    case KIND_SOLDIER:
    case KIND_DOLL:
    case KIND_NINJA:
    case KIND_DUMMY:
    case KIND_OZZLE:
        killPlayer();
        break;
    default:
        break;
    }
    if (std::fabs(dy) < std::fabs(dx) && dy < 0)
        p->onGround = 1;
    else if (std::fabs(dx) < std::fabs(dy) && dx != 0)
        p->onGround = 0;
}
