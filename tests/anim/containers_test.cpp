#include "anim/containers.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<int> destroyed;
void recordDestroy(void *item) {
    destroyed.push_back(*static_cast<int *>(item));
}

} // namespace

TEST(List, GrowsByDoublingAndSaysWhenItGrew) {
    List list;
    listSetUp(&list, 5, 4, nullptr);
    int values[11];
    std::vector<int> grew;
    for (int i = 0; i < 6; i++)
        grew.push_back(listAppend(&list, &values[i]));
    EXPECT_EQ(grew, (std::vector<int>{0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(list.capacity, 10);
    for (int i = 6; i < 11; i++)
        listAppend(&list, &values[i]);
    EXPECT_EQ(list.capacity, 20);
    for (int i = 0; i < 11; i++)
        EXPECT_EQ(list.items[i], &values[i]) << "item " << i << " survives the growth";
    listDestroyAll(&list);

    List small;
    listInit(&small);
    EXPECT_EQ(small.capacity, 2);
    EXPECT_EQ(small.elementSize, 4);
    EXPECT_EQ(small.destroy, nullptr);
    EXPECT_EQ(listAppend(&small, &values[0]), 0);
    EXPECT_EQ(listAppend(&small, &values[1]), 0);
    EXPECT_EQ(listAppend(&small, &values[2]), 1);
    EXPECT_EQ(small.capacity, 4);
    listDestroyAll(&small);
}

TEST(List, DestroyAllFreesFromTheLastItemAndLeavesNoRoom) {
    destroyed.clear();
    int values[3] = {10, 11, 12};
    List list;
    listSetUp(&list, 5, 4, recordDestroy);
    for (int &v : values)
        listAppend(&list, &v);
    listDestroyAll(&list);
    EXPECT_EQ(destroyed, (std::vector<int>{12, 11, 10}));
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.items, nullptr);
    // Appending to an emptied list still works rather than writing through null.
    EXPECT_EQ(listAppend(&list, &values[0]), 1);
    EXPECT_EQ(list.count, 1);
    list.destroy = nullptr;
    listDestroyAll(&list);
}

TEST(Queue, PushesAtTheTailAndClearsOldestFirst) {
    destroyed.clear();
    Queue queue = {0, 28, nullptr, nullptr, recordDestroy};
    int values[3] = {1, 2, 3};
    EXPECT_EQ(queuePush(&queue, &values[0]), 0);
    EXPECT_EQ(queuePush(&queue, &values[1]), 1);
    EXPECT_EQ(queuePush(&queue, &values[2]), 1);
    EXPECT_EQ(queue.count, 3);
    EXPECT_EQ(queue.head->data, &values[0]);
    EXPECT_EQ(queue.tail->data, &values[2]);
    EXPECT_EQ(queue.tail->prev->data, &values[1]);
    queueClear(&queue);
    EXPECT_EQ(destroyed, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(queue.count, 0);
    EXPECT_EQ(queue.head, nullptr);
    EXPECT_EQ(queue.tail, nullptr);
    EXPECT_EQ(queuePush(&queue, &values[0]), 0) << "an emptied queue starts over";
    queueClear(&queue);
}
