// The world turn: the room is turned about its centre by a quarter or half
// turn; the walls turn with it, everything else stays upright and only changes
// place, and so falls towards the new floor.
#pragma once
#include <cstdint>

// 90 (clockwise), -90 or 180. Any other angle moves nothing (the carry is
// still dropped and the Soldiers still turn round).
void turnWorld(int32_t angle);
// The turn effect: the "Shake" sound, a second of window shake, the next turn
// of the level's sequence, then the "Crash" sound. A level without turns
// shakes and crashes but turns nothing. The caller sets lastTurnTime.
void triggerTurn();
