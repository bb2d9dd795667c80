#include "anim/containers.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<int> destroyed;
void recordDestroy(void *item) {
    destroyed.push_back(*static_cast<int *>(item));
}

} // namespace

TEST(List, KeepsItsItemsAsItGrowsAndDestroysThemFromTheLast) {
    destroyed.clear();
    int values[11] = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
    List list;
    listSetUp(&list, 5, 4, recordDestroy);
    int grew = 0;
    for (int &v : values)
        grew += listAppend(&list, &v);
    ASSERT_EQ(list.count, 11);
    EXPECT_EQ(grew, 2) << "the room doubles when it is full: 5, 10, 20";
    EXPECT_EQ(list.capacity, 20);
    for (int i = 0; i < 11; i++)
        EXPECT_EQ(list.items[i], &values[i]) << "item " << i << " survives the growth";
    listDestroyAll(&list);
    EXPECT_EQ(destroyed, (std::vector<int>{20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10}));
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.items, nullptr);
    // Appending to an emptied list still works rather than writing through null.
    listAppend(&list, &values[0]);
    EXPECT_EQ(list.count, 1);
    EXPECT_EQ(list.items[0], &values[0]);
    list.destroy = nullptr;
    listDestroyAll(&list);

    List small;
    listInit(&small);
    for (int &v : values)
        listAppend(&small, &v);
    EXPECT_EQ(small.items[10], &values[10]);
    listDestroyAll(&small);
}

TEST(Queue, PushesAtTheTailAndClearsOldestFirst) {
    destroyed.clear();
    Queue queue = {0, 28, nullptr, nullptr, recordDestroy};
    int values[3] = {1, 2, 3};
    for (int &v : values)
        queuePush(&queue, &v);
    EXPECT_EQ(queue.count, 3);
    EXPECT_EQ((std::vector<void *>{queue.head->data, queue.tail->prev->data, queue.tail->data}),
              (std::vector<void *>{&values[0], &values[1], &values[2]}));
    queueClear(&queue);
    EXPECT_EQ(destroyed, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(queue.count == 0 && !queue.head && !queue.tail);
    queuePush(&queue, &values[0]);
    EXPECT_EQ(queue.head, queue.tail) << "an emptied queue starts over";
    queueClear(&queue);
}
