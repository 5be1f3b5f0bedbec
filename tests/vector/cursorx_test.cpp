// CURSORX: the cyclic index with its offset.
#include <gtest/gtest.h>

#include "vector/cursorx.h"

namespace {

TEST(Cursorx, CyclicIndex)
{
    CURSORX* c = CURSORX_new();
    ASSERT_NE(nullptr, c);
    EXPECT_EQ(1024, c->modulus);
    EXPECT_EQ(2, c->offset_step);
    c->position = 1020;
    c->speed = 25;
    EXPECT_EQ(21, CURSORX_advance(c));
    EXPECT_EQ(21, c->position);
    c->speed = -50;
    EXPECT_EQ(995, CURSORX_advance(c));
    EXPECT_EQ(997, CURSORX_step_offset(c));
    EXPECT_EQ(2, c->offset);
    EXPECT_EQ(19, CURSORX_set_offset(c, -2000));  // the offset itself is not reduced
    EXPECT_EQ(-2000, c->offset);

    const long before = CURSORX_report().count;
    c->modulus = 0;
    EXPECT_EQ(-1, CURSORX_advance(c));
    c->modulus = -5;
    EXPECT_EQ(-1, CURSORX_step_offset(c));
    EXPECT_EQ(before + 2, CURSORX_report().count);
    CURSORX_free(&c);
}

}  // namespace
