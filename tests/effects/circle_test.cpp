#include "effects/circle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>
#include <utility>

#include "raster/img.h"
#include "support/images.h"

namespace {

CIRCLE* circle_at(int32_t x, int32_t y, int32_t radius, uint32_t colour = 0xFF0010)
{
    CIRCLE* c = CIRCLE_new();
    c->centre->x = x, c->centre->y = y, c->radius = radius, c->colour = colour;
    return c;
}

using Points = std::set<std::pair<int32_t, int32_t>>;

}  // namespace

TEST(Circle, NewCopyAndFreeOwnTheCentre)
{
    CIRCLE* a = CIRCLE_new();
    ASSERT_NE(a, nullptr);
    ASSERT_NE(a->centre, nullptr);
    EXPECT_EQ(a->centre->x, 0);
    EXPECT_EQ(a->radius, 1);
    EXPECT_EQ(a->colour, 0xFFFFFFu);
    CIRCLE* b = circle_at(7, -3, 12, 0x123456);
    VEC2D* own = a->centre;
    CIRCLE_copy(b, a);
    EXPECT_EQ(a->centre, own);  // values copied into a's own vector
    EXPECT_EQ(a->centre->x, 7);
    EXPECT_EQ(a->centre->y, -3);
    EXPECT_EQ(a->radius, 12);
    EXPECT_EQ(a->colour, 0x123456u);
    CIRCLE_free(&a);
    CIRCLE_free(&b);
    EXPECT_EQ(a, nullptr);
}

TEST(Circle, RadiusZeroAndOne)
{
    Canvas c(9, 9);
    CIRCLE* k = circle_at(4, 4, 0);
    CIRCLE_draw(k, c.image);
    EXPECT_EQ(c.lit(), (Points{{4, 4}}));
    Canvas f(9, 9);
    CIRCLE_fill(k, f.image);
    EXPECT_EQ(f.lit(), (Points{{4, 4}}));

    Canvas d(9, 9);
    k->radius = 1;
    CIRCLE_draw(k, d.image);
    EXPECT_EQ(d.lit(), (Points{{4, 3}, {3, 4}, {5, 4}, {4, 5}}));
    Canvas g(9, 9);
    CIRCLE_fill(k, g.image);
    EXPECT_EQ(g.lit(), (Points{{4, 3}, {3, 4}, {4, 4}, {5, 4}, {4, 5}}));
    CIRCLE_free(&k);
}

TEST(Circle, OutlineIsTheBorderOfTheDiscAndNegativeRadiusIsTheSame)
{
    for (int32_t r = 2; r < 20; ++r) {
        Canvas o(48, 48), n(48, 48), f(48, 48);
        CIRCLE* k = circle_at(23, 21, r);
        CIRCLE_draw(k, o.image);
        CIRCLE_fill(k, f.image);
        k->radius = -r;
        CIRCLE_draw(k, n.image);
        EXPECT_EQ(o.lit(), n.lit()) << r;
        const Points outline = o.lit(), disc = f.lit();
        for (const auto& p : outline) EXPECT_TRUE(disc.count(p)) << "radius " << r;
        // Every outline point lies within half a pixel of the true circle, rows run without gaps.
        for (const auto& [x, y] : outline) {
            const double d = std::sqrt((x - 23.0) * (x - 23.0) + (y - 21.0) * (y - 21.0));
            EXPECT_LT(std::abs(d - r), 0.75) << x << "," << y;
        }
        for (int32_t row = 21 - r; row <= 21 + r; ++row) {
            int32_t first = 99, last = -1, count = 0;
            for (int32_t col = 0; col < 48; ++col)
                if (f.at(col, row)) first = std::min(first, col), last = std::max(last, col), ++count;
            EXPECT_EQ(count, last - first + 1) << "row " << row;
            EXPECT_EQ(first + last, 46) << "row " << row;  // symmetric about the centre
        }
        CIRCLE_free(&k);
    }
}

TEST(Circle, ClippingAtTheEdges)
{
    Canvas c(64, 64), f(64, 64);
    // Only the rightmost column lands in the image: the stepping keeps y = 10 for x = 0 .. 3
    // (at x = 4, g = 81 + 16 - 100 = -3 beats h = 16), so that column holds rows 47 .. 53.
    CIRCLE* k = circle_at(-10, 50, 10);
    const Points column{{0, 47}, {0, 48}, {0, 49}, {0, 50}, {0, 51}, {0, 52}, {0, 53}};
    CIRCLE_draw(k, c.image);
    EXPECT_EQ(c.lit(), column);
    CIRCLE_fill(k, f.image);
    EXPECT_EQ(f.lit(), column);
    k->radius = 9;
    Canvas s(64, 64);
    CIRCLE_draw(k, s.image);
    CIRCLE_fill(k, s.image);
    EXPECT_TRUE(s.lit().empty());

    // Partly outside on the far sides: the visible part only.
    CIRCLE* big = circle_at(60, 62, 6);
    Canvas b(64, 64);
    CIRCLE_fill(big, b.image);
    EXPECT_EQ(b.at(63, 63), 0xFF0010u);
    EXPECT_EQ(b.at(54, 62), 0xFF0010u);
    EXPECT_EQ(b.at(60, 56), 0xFF0010u);
    CIRCLE_free(&k);
    CIRCLE_free(&big);
}

TEST(Circle, OverlapCountsTouching)
{
    CIRCLE* a = circle_at(10, 10, 3);
    CIRCLE* b = circle_at(17, 10, 4);
    EXPECT_TRUE(CIRCLE_overlaps(a, b));
    EXPECT_TRUE(CIRCLE_overlaps(b, a));
    b->centre->x = 18;
    EXPECT_FALSE(CIRCLE_overlaps(a, b));
    b->centre->x = 10, b->centre->y = 3;
    EXPECT_TRUE(CIRCLE_overlaps(a, b));
    EXPECT_TRUE(CIRCLE_overlaps(a, a));
    EXPECT_EQ(a->centre->x, 10);  // the test works on a scratch copy
    const long before = CIRCLE_report().count;
    EXPECT_FALSE(CIRCLE_overlaps(a, nullptr));
    EXPECT_EQ(CIRCLE_report().count, before + 1);
    CIRCLE_free(&a);
    CIRCLE_free(&b);
}

TEST(Circle, FailuresReportThroughTheirModules)
{
    Canvas c(8, 8);
    CIRCLE* k = circle_at(4, 4, 2);
    const long circle_before = CIRCLE_report().count, img_before = IMG_report().count;
    CIRCLE_draw(nullptr, c.image);
    CIRCLE_draw(k, nullptr);
    CIRCLE_fill(k, nullptr);
    VEC2D_free(&k->centre);
    CIRCLE_fill(k, c.image);
    EXPECT_EQ(CIRCLE_report().count, circle_before + 2);
    EXPECT_EQ(IMG_report().count, img_before + 2);
    EXPECT_TRUE(c.lit().empty());
    CIRCLE_free(&k);
}
