// The two general containers: a growable array of item pointers that may own
// its items, and a linked first-in-first-out queue.
#pragma once
#include <cstdint>

typedef void (*DestroyItem)(void *item);

struct List {
    int32_t count;
    int32_t capacity;
    int32_t elementSize; // size of what each item points to; descriptive only
    void **items;
    DestroyItem destroy; // frees one item, or null when the list owns nothing
};

struct QueueNode {
    void *data;
    QueueNode *next;
    QueueNode *prev;
};

struct Queue {
    int32_t count;
    int32_t elementSize; // descriptive only
    QueueNode *head;
    QueueNode *tail;
    DestroyItem destroy;
};

// Room for 2 pointers, element size 4, no destructor.
void listInit(List *list);
// The set-up every other list gets: room for `capacity` pointers.
void listSetUp(List *list, int32_t capacity, int32_t elementSize, DestroyItem destroy);
// Appends; returns 1 when the room had to double to make space, else 0.
int listAppend(List *list, void *item);
// Destroys the items from the last to the first and releases the room. The
// list must be set up again before it is used once more.
void listDestroyAll(List *list);
// 1 when the list holds exactly this pointer.
int listContains(const List *list, const void *item);

// The queue is passed explicitly (the game has one, the dialog queue).
// Appends at the tail; returns 1 when the queue already had entries, 0 when
// this is the first (also 0 when no node could be allocated: nothing added).
int queuePush(Queue *queue, void *data);
// Destroys every entry, oldest first.
void queueClear(Queue *queue);
