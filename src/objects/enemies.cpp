#include "anim/animation_library.h"
#include "input/timers.h"
#include "objects/collision.h"
#include "objects/kinds.h"
#include "world/chance.h"
#include "world/object_access.h"
#include <cmath>
#include <cstdlib>

constexpr float MISSILE_SPEED = 0.2f;
constexpr uint32_t KISS_INTERVAL = 2500;
constexpr uint32_t STAR_INTERVAL = 1500;

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
        // Every 11th update the soldier notes where it is; standing on the
        // same spot at a later update means it is stuck and turns round.
        if (++s->snapshotCounter > 10) {
            s->snapshot = ObjectBox{s->x, s->y, s->x2, s->y2};
            s->snapshotCounter = 0;
        }
        applyGravity(s->gravity, &s->vy);
        setAnimFrame(&s->anim, s->direction ? 0 : 1);
        s->vx = s->direction ? 0.5f : -0.5f;
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
        d->vx = d->direction ? 0.2f : -0.2f;
        applyGravity(d->gravity, &d->vy);
        const uint32_t now = gameClock();
        if (now > d->lastThrowTime + KISS_INTERVAL) {
            if ((chanceNext() + n->id) % 3 == 1)
                throwMissile(KIND_KISS, d->x, d->y, target);
            d->lastThrowTime = now;
        }
        moveObject(n, dt);
        if (chanceNext() % 200 < 5)
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
        k->vx = k->direction ? 0.5f : -0.5f;
        if (r % 30 == 0)
            k->vy = -1.5f;
        if (r % 40 == 5)
            k->vx = 1.0f;
        if (r % 40 == 1)
            k->vx = -1.0f;
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
             recordOf<BoxRecord>(other)->vy > 0.5f)
        scheduleRemoval(self);
}

void kissContact(ObjectNode *self, ObjectNode *other, float, float) {
    if (other->kind == KIND_BORDER) {
        scheduleRemoval(self);
    } else if (other->kind == KIND_PLAYER) {
        recordOf<PlayerRecord>(other)->stunTimer = 100;
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
