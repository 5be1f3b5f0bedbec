// LIST growth, removal and bounds.
#include <gtest/gtest.h>

#include "vector/list.h"

namespace {

TEST(List, GrowsByDoublingAndKeepsOrder)
{
    int items[5] = {};
    LIST* list = LIST_new();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->capacity, 2);
    for (int i = 0; i < 3; ++i) LIST_append(list, &items[i]);
    EXPECT_EQ(list->capacity, 4);
    LIST_append(list, &items[3]);
    EXPECT_EQ(list->capacity, 4);
    LIST_append(list, &items[4]);
    EXPECT_EQ(list->capacity, 8);
    EXPECT_EQ(list->count, 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(LIST_get(list, i), &items[i]);
    EXPECT_EQ(LIST_pop(list), &items[4]);
    EXPECT_EQ(list->count, 4);
    LIST_free(&list);
    EXPECT_EQ(list, nullptr);
}

TEST(List, RemoveAtShiftsDownAndClearsTheFreedSlot)
{
    int a = 0, b = 0, c = 0;
    LIST* list = LIST_new();
    LIST_append(list, &a);
    LIST_append(list, &b);
    LIST_append(list, &c);
    EXPECT_EQ(LIST_remove_at(list, 0), 2);
    EXPECT_EQ(LIST_get(list, 0), &b);
    EXPECT_EQ(LIST_get(list, 1), &c);
    EXPECT_EQ(list->items[2], nullptr);
    const long before = LIST_report().count;
    EXPECT_EQ(LIST_get(list, 2), nullptr);
    EXPECT_EQ(LIST_get(list, -1), nullptr);
    EXPECT_EQ(LIST_remove_at(list, 2), -1);
    EXPECT_EQ(list->count, 2);
    EXPECT_EQ(LIST_report().count, before + 3);
    LIST_pop(list);
    LIST_pop(list);
    EXPECT_EQ(LIST_pop(list), nullptr);
    LIST_free(&list);
}

}  // namespace
