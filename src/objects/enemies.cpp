#include "anim/animation_library.h"
#include "input/timers.h"
#include "objects/collision.h"
#include "objects/kinds.h"
#include "world/chance.h"
#include "world/object_access.h"
#include <cmath>
#include <cstdlib>

constexpr float MISSILE_SPEED = 0.2f;
// Speeds in cells per 20 ms.
constexpr float SOLDIER_SPEED = 0.5f;
constexpr float DOLL_SPEED = 0.2f;
constexpr float NINJA_SPEED = 0.5f;
constexpr float NINJA_DASH_SPEED = 1.0f;
constexpr float NINJA_JUMP_SPEED = 1.5f;
// A box falling faster than this crushes a ninja it lands on.
constexpr float NINJA_CRUSH_SPEED = 0.5f;
// A Soldier notes where it stands every 11th update.
constexpr uint32_t SNAPSHOT_EVERY = 11;
// Milliseconds between two throws.
constexpr uint32_t KISS_INTERVAL = 2500;
constexpr uint32_t STAR_INTERVAL = 1500;
// A Doll throws at one in three of its chances and turns in 5 updates of 200.
constexpr int DOLL_THROW_ODDS = 3;
constexpr int DOLL_TURNS = 5, DOLL_TURN_ODDS = 200;
// A ninja jumps in one update of 30, dashes right in one of 40 and left in another.
constexpr int NINJA_JUMP_ODDS = 30;
constexpr int NINJA_DASH_ODDS = 40, NINJA_DASH_RIGHT = 5, NINJA_DASH_LEFT = 1;
// Updates a kiss leaves the player stunned.
constexpr int32_t KISS_STUN_UPDATES = 100;

// Throws a missile from (x, y) at the player's corner at 0.2 cells per 20 ms.
// A missile that would start inside something it tests against is dropped
// before it ever moves. When the thrower stands on the player's very corner
// there is no direction to throw in, and nothing is thrown: the player is
// touching the thrower then and dies anyway.
static void throwMissile(int32_t kind, float x, float y, const ObjectBox *target) {
    if (!target)
        return;
    const double ddx = target->x - x, ddy = target->y - y;
    const double len = std::sqrt(ddx * ddx + ddy * ddy);
    if (len == 0)
        return;
    ObjectNode *missile =
        createObject(kind, x, y, MISSILE_SPEED * ddx / len, MISSILE_SPEED * ddy / len);
    if (!missile)
        return;
    updateObjectBounds(missile);
    if (firstContactSide(missile) != 0)
        destroyNow(missile);
}

static const ObjectBox *playerBox() {
    ObjectNode *player = findPlayer();
    return player ? objectBox(player) : nullptr;
}

static int32_t frameCountOf(const AnimRef &ref) {
    if (!animationLibrary || ref.set < 0 || ref.set >= animationLibrary->count)
        return 0;
    const List *set = static_cast<const List *>(animationLibrary->items[ref.set]);
    if (ref.anim < 0 || ref.anim >= set->count)
        return 0;
    return static_cast<const Animation *>(set->items[ref.anim])->frameCount;
}

void updateSoldiers(float dt) {
    for (ObjectNode *n = objectList; n; n = n->next) {
        if (n->kind != KIND_SOLDIER)
            continue;
        SoldierRecord *s = recordOf<SoldierRecord>(n);
        // Standing on the spot of its last look means it is stuck and turns round.
        if (++s->snapshotCounter >= SNAPSHOT_EVERY) {
            s->snapshot = ObjectBox{s->x, s->y, s->x2, s->y2};
            s->snapshotCounter = 0;
        }
        applyGravity(s->gravity, &s->vy);
        setAnimFrame(&s->anim, s->direction ? SOLDIER_RIGHT : SOLDIER_LEFT);
        s->vx = s->direction ? SOLDIER_SPEED : -SOLDIER_SPEED;
        moveObject(n, dt);
        updateObjectBounds(n);
        if (s->x == s->snapshot.x && s->y == s->snapshot.y)
            s->direction = !s->direction;
    }
}

void updateDolls(float dt) {
    const ObjectBox *target = playerBox();
    for (ObjectNode *n = objectList; n; n = n->next) {
        if (n->kind != KIND_DOLL)
            continue;
        DollRecord *d = recordOf<DollRecord>(n);
        d->vx = d->direction ? DOLL_SPEED : -DOLL_SPEED;
        applyGravity(d->gravity, &d->vy);
        const uint32_t now = gameClock();
        if (now > d->lastThrowTime + KISS_INTERVAL) {
            if ((chanceNext() + n->id) % DOLL_THROW_ODDS == 1)
                throwMissile(KIND_KISS, d->x, d->y, target);
            d->lastThrowTime = now;
        }
        moveObject(n, dt);
        if (chanceNext() % DOLL_TURN_ODDS < DOLL_TURNS)
            d->direction = !d->direction;
        updateObjectBounds(n);
    }
}

void updateNinjas(float dt) {
    const ObjectBox *target = playerBox();
    for (ObjectNode *n = objectList; n; n = n->next) {
        // A ninja the boss has just made from a box stands still until the
        // box is gone: moving now, it would be pushed out of the box (five
        // cells to the left), through whatever stands there, even the player
        // into the floor or itself through a wall.
        if (n->kind != KIND_NINJA || n->id >= firstMinionId)
            continue;
        NinjaRecord *k = recordOf<NinjaRecord>(n);
        const float before = k->x;
        const int r = chanceNext();
        applyGravity(k->gravity, &k->vy);
        k->vx = k->direction ? NINJA_SPEED : -NINJA_SPEED;
        if (r % NINJA_JUMP_ODDS == 0)
            k->vy = -NINJA_JUMP_SPEED;
        if (r % NINJA_DASH_ODDS == NINJA_DASH_RIGHT)
            k->vx = NINJA_DASH_SPEED;
        if (r % NINJA_DASH_ODDS == NINJA_DASH_LEFT)
            k->vx = -NINJA_DASH_SPEED;
        const uint32_t now = gameClock();
        if (now > k->lastThrowTime + STAR_INTERVAL) {
            throwMissile(KIND_NINJASTAR, k->x, k->y, target);
            k->lastThrowTime = now;
        }
        moveObject(n, dt);
        if (k->x == before) {
            k->direction = !k->direction;
            const int32_t frames = frameCountOf(k->anim);
            k->anim.frame = frames > 0 ? (k->anim.frame + 1) % frames : 0;
        }
        updateObjectBounds(n);
    }
    firstMinionId = INT32_MAX;
}

void updateKisses(float dt) {
    for (ObjectNode *n = objectList; n; n = n->next) {
        if (n->kind != KIND_KISS)
            continue;
        KissRecord *k = recordOf<KissRecord>(n);
        k->x += k->vx;
        k->y += k->vy;
        updateObjectBounds(n);
        moveObject(n, dt);
        if (k->life-- < 0)
            scheduleRemoval(n);
    }
}

void updateNinjaStars(float dt) {
    for (ObjectNode *n = objectList; n; n = n->next) {
        if (n->kind != KIND_NINJASTAR)
            continue;
        NinjaStarRecord *s = recordOf<NinjaStarRecord>(n);
        s->x += s->vx;
        s->y += s->vy;
        updateObjectBounds(n);
        moveObject(n, dt);
    }
}

void soldierContact(ObjectNode *, ObjectNode *other, float, float) {
    if (other->kind == KIND_PLAYER)
        killPlayer();
}

void ninjaContact(ObjectNode *self, ObjectNode *other, float dx, float dy) {
    if (other->kind == KIND_PLAYER)
        killPlayer();
    else if (other->kind == KIND_BOX && dy > 0 && std::fabs(dy) < std::fabs(dx) &&
             recordOf<BoxRecord>(other)->vy > NINJA_CRUSH_SPEED)
        scheduleRemoval(self);
}

void kissContact(ObjectNode *self, ObjectNode *other, float, float) {
    if (other->kind == KIND_BORDER) {
        scheduleRemoval(self);
    } else if (other->kind == KIND_PLAYER) {
        recordOf<PlayerRecord>(other)->stunTimer = KISS_STUN_UPDATES;
        scheduleRemoval(self);
    }
}

void ninjaStarContact(ObjectNode *self, ObjectNode *other, float, float) {
    if (other->kind == KIND_PLATFORM)
        scheduleRemoval(other); // stars cut platforms
    else if (other->kind == KIND_PLAYER)
        killPlayer();
    scheduleRemoval(self);
}
