// CURSOR: the scroll cursor stepping through its text with wrap-around.
#include <gtest/gtest.h>

#include <cstdint>

#include "vector/cursor.h"

namespace {

TEST(Cursor, WrapsAroundTheText)
{
    CURSOR* c = CURSOR_new();
    ASSERT_NE(nullptr, c);
    EXPECT_EQ(4, c->length);
    EXPECT_EQ(1, c->speed);
    c->position = 3;
    CURSOR_advance(c);
    EXPECT_EQ(0, c->position);
    c->speed = -1;
    CURSOR_advance(c);
    EXPECT_EQ(3, c->position);
    c->position = 0;
    c->speed = 9;
    CURSOR_advance(c);
    EXPECT_EQ(1, c->position);
    CURSOR_save(c);
    c->speed = INT32_MAX;  // no overflow on the way
    CURSOR_advance(c);
    EXPECT_EQ((1 + int64_t{INT32_MAX}) % 4, c->position);
    CURSOR_restore(c);
    EXPECT_EQ(1, c->position);

    CURSOR_set(c, "", 0, 1);  // an empty text: no step, no division by zero
    const long before = CURSOR_report().count;
    CURSOR_advance(c);
    EXPECT_EQ(0, c->position);
    EXPECT_EQ(before + 1, CURSOR_report().count);
    CURSOR_free(&c);
    EXPECT_EQ(nullptr, c);
}

}  // namespace
