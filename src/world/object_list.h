// Every object of the running level: one doubly-linked list of nodes, each
// owning its kind's record, made by one factory and removed either at once or
// through the removal list that is reaped once per frame.
#pragma once
#include "anim/containers.h"
#include "world/object_records.h"
#include <cstdint>

struct ObjectNode {
    ObjectNode *next;
    ObjectNode *prev;
    void *record;
    int32_t kind;
    int32_t id; // never reused, not even across levels, games or the editor
};

extern ObjectNode *objectList;
extern int32_t nextObjectId;
// Nodes to free after all kinds have moved in this frame.
extern List removalList;

// Makes an object and links it in right after the first node, so the first
// object stays first and the others follow from the newest to the oldest.
// a and b are the kind's creation arguments (see the records). Returns null
// for a kind that does not exist (nothing is made, no id is used).
ObjectNode *createObject(int32_t kind, double x, double y, double a = 0, double b = 0);
// Frees every object; also forgets whatever was scheduled for removal.
void clearObjects();

// The game's removal list, with room for two at first. Scheduling works even
// before it is made (it is then made on the spot).
void createRemovalList();
void freeRemovalList();
// Schedules a node for removal at the end of the frame; twice removes once.
void scheduleRemoval(ObjectNode *node);
// Unlinks and frees a node now. Only for nodes nobody is walking over.
void destroyNow(ObjectNode *node);
// Frees every scheduled node, newest entry first; the list keeps its room.
void reapRemovals();

// The first Player in list order, or null.
ObjectNode *findPlayer();
int isKnownKind(int32_t kind);
