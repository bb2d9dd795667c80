// What happens when a moving object runs into another: one handler per kind
// of the moving object, called by the move-and-collide step before the push.
#pragma once
#include "world/object_list.h"

// (dx, dy) is how far `self` is about to be pushed to leave `other`.
typedef void (*ContactHandler)(ObjectNode *self, ObjectNode *other, float dx, float dy);

// Indexed by kind; null entries (Platform, Border, Dummy) only push.
extern ContactHandler contactHandlers[KIND_LAST + 1];
