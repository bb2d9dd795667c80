#include "objects/world_turn.h"
#include "console/window_shake.h"
#include "frontend/screen_state.h"
#include "objects/collision.h"
#include "sound/sound.h"
#include "world/levels.h"
#include "world/object_access.h"

// The player's start point turns as a box of this size.
constexpr float START_BOX = 5.0f;

static void turnPoint(int32_t angle, float w, float h, float *x, float *y) {
    const float oldX = *x, oldY = *y;
    switch (angle) {
    case 90:
        *x = oldY;
        *y = ROOM_SIZE - (w + oldX);
        break;
    case -90:
        *y = oldX;
        *x = ROOM_SIZE - (h + oldY);
        break;
    case 180:
        *x = ROOM_SIZE - (oldX + w);
        *y = ROOM_SIZE - (oldY + h);
        break;
    default:
        break;
    }
}

void turnWorld(int32_t angle) {
    for (ObjectNode *n = objectList; n; n = n->next) {
        ObjectBox *box = objectBox(n);
        if (!box)
            continue;
        // The size is taken before a wall's picture turns; the next Border
        // refresh brings x2, y2 up to date.
        const FrameInfo *info = objectFrameInfo(n);
        const float w = info ? info->width : 0;
        const float h = info ? info->height : 0;
        turnPoint(angle, w, h, &box->x, &box->y);
        if (n->kind == KIND_BORDER) {
            AnimRef *ref = objectAnimRef(n);
            if (angle == 90)
                ref->rotation = ref->rotation == 0 ? 3 : ref->rotation - 1;
            else if (angle == -90)
                ref->rotation = ref->rotation == 3 ? 0 : ref->rotation + 1;
        } else if (n->kind == KIND_PLAYER) {
            recordOf<PlayerRecord>(n)->carrying = 0;
        } else if (n->kind == KIND_SOLDIER) {
            SoldierRecord *soldier = recordOf<SoldierRecord>(n);
            soldier->direction = soldier->direction == 0 ? 1 : 0;
        }
        box->x2 = box->x + w;
        box->y2 = box->y + h;
    }
    turnPoint(angle, START_BOX, START_BOX, &startPoint.x, &startPoint.y);
}

void triggerTurn() {
    if (!soundOff && !soundIsPlaying(SOUND_SHAKE))
        playSound(SOUND_SHAKE);
    shakeWindow();
    // An empty sequence turns nothing, and the index never passes its end.
    if (rotationSequence.count > 0) {
        if (rotationSequence.index < 0 || rotationSequence.index >= rotationSequence.count)
            rotationSequence.index = 0;
        turnWorld(rotationSequence.angles[rotationSequence.index]);
        rotationSequence.index++;
        if (rotationSequence.index >= rotationSequence.count)
            rotationSequence.index = 0;
    }
    if (!soundOff)
        playSound(SOUND_CRASH);
}
