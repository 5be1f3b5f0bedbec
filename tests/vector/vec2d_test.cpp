// VEC2D arithmetic and rotation on the sine table.
#include <gtest/gtest.h>

#include "vector/vec2d.h"

namespace {

TEST(Vec2d, Arithmetic)
{
    VEC2D* v = VEC2D_new();
    VEC2D* w = VEC2D_new();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->colour, 0xFFFFFFu);
    v->x = 3, v->y = -4;
    EXPECT_EQ(VEC2D_length2(v), 25);
    EXPECT_EQ(VEC2D_length2(nullptr), -1);
    w->x = 10, w->y = 20;
    VEC2D_add(v, w);  // the second argument changes
    EXPECT_EQ(w->x, 13);
    EXPECT_EQ(w->y, 16);
    VEC2D_sub(w, v);  // the first argument changes
    EXPECT_EQ(w->x, 10);
    EXPECT_EQ(w->y, 20);
    VEC2D_mul(w, v);
    EXPECT_EQ(w->x, 30);
    EXPECT_EQ(w->y, -80);
    VEC2D_scale(w, -2);
    EXPECT_EQ(w->x, -60);
    EXPECT_EQ(w->y, 160);
    v->colour = 0x123456;
    VEC2D_copy(v, w);
    EXPECT_EQ(w->x, 3);
    EXPECT_EQ(w->colour, 0x123456u);
    VEC2D_free(&v);
    VEC2D_free(&w);
}

TEST(Vec2d, RotateOnTheSineTable)
{
    VEC2D* v = VEC2D_new();
    v->x = 100, v->y = 0;
    VEC2D_rotate(v, 0);
    EXPECT_EQ(v->x, 100);
    EXPECT_EQ(v->y, 0);
    VEC2D_rotate(v, 256);
    EXPECT_EQ(v->x, 0);
    EXPECT_EQ(v->y, 99);
    v->x = -1, v->y = 0;
    VEC2D_rotate(v, 512);
    EXPECT_EQ(v->x, 0);
    EXPECT_EQ(v->y, 0);
    v->x = 100, v->y = 0;
    VEC2D_rotate(v, 256 + 1024);
    EXPECT_EQ(v->y, 99) << "angles are reduced by the mask";
    VEC2D_free(&v);
}

}  // namespace
