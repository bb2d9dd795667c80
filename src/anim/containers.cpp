#include "anim/containers.h"
#include <cstdlib>
#include <cstring>

void listInit(List *list) {
    listSetUp(list, 2, 4, nullptr);
}

void listSetUp(List *list, int32_t capacity, int32_t elementSize, DestroyItem destroy) {
    if (capacity < 1)
        capacity = 1;
    list->count = 0;
    list->elementSize = elementSize;
    list->destroy = destroy;
    list->items = static_cast<void **>(calloc(static_cast<size_t>(capacity), sizeof(void *)));
    list->capacity = list->items ? capacity : 0;
}

int listAppend(List *list, void *item) {
    if (list->items && list->count < list->capacity) {
        list->items[list->count++] = item;
        return 0;
    }
    // Doubling keeps appends cheap on average. A list emptied by
    // listDestroyAll has no room left and gets new room here.
    const int32_t room = list->capacity > 0 ? 2 * list->capacity : 2;
    void **grown = static_cast<void **>(malloc(sizeof(void *) * static_cast<size_t>(room)));
    if (!grown)
        return 0;
    if (list->count > 0)
        memcpy(grown, list->items, sizeof(void *) * static_cast<size_t>(list->count));
    free(list->items);
    list->items = grown;
    list->capacity = room;
    list->items[list->count++] = item;
    return 1;
}

void listDestroyAll(List *list) {
    for (int32_t i = list->count - 1; i >= 0; i--) {
        if (list->destroy)
            list->destroy(list->items[i]);
        list->items[i] = nullptr;
        list->count--;
    }
    free(list->items);
    list->items = nullptr;
}

int listContains(const List *list, const void *item) {
    for (int32_t i = 0; i < list->count; i++)
        if (list->items[i] == item)
            return 1;
    return 0;
}

int queuePush(Queue *queue, void *data) {
    QueueNode *node = static_cast<QueueNode *>(malloc(sizeof(QueueNode)));
    if (!node)
        return 0;
    node->data = data;
    node->next = nullptr;
    const int hadEntries = queue->tail ? 1 : 0;
    if (queue->tail) {
        node->prev = queue->tail;
        queue->tail->next = node;
        queue->tail = node;
    } else {
        node->prev = nullptr;
        queue->head = node;
        queue->tail = node;
    }
    queue->count++;
    return hadEntries;
}

void queueClear(Queue *queue) {
    while (queue->count > 0 && queue->head) {
        QueueNode *old = queue->head;
        if (queue->destroy)
            queue->destroy(old->data);
        if (old->next) {
            queue->head = old->next;
            queue->head->prev = nullptr;
            queue->count--;
        } else {
            queue->head = nullptr;
            queue->tail = nullptr;
            queue->count = 0;
        }
        free(old);
    }
    queue->count = 0;
}
