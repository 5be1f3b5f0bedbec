// LRADIAL: the radial lines: the draws of a new record, the turning phase, the rays' directions
// and their clipping.
#include <gtest/gtest.h>

#include "base/random.h"
#include "effects/lradial.h"
#include "support/images.h"
#include "support/line_effects.h"

TEST(Lradial, NewDrawsSpeedRadiusColourInThatOrder)
{
    RANDOM_seed15(1158689141u);
    const uint32_t before = RANDOM_state();
    LRADIAL* rays = LRADIAL_new();
    ASSERT_NE(rays, nullptr);
    EXPECT_EQ(draws_between(before, RANDOM_state()), 3);
    // The first draws after the show's seed are 4728, 3068, 32553.
    EXPECT_EQ(rays->speed, 0x8000 + 4728);
    EXPECT_EQ(rays->radius, 3068 % 128 + 32);
    EXPECT_EQ(rays->colour, 0x808080u | (32553u & 0x7F7F7F));
    EXPECT_EQ(rays->rays, 16);
    EXPECT_EQ(rays->spacing, 64 << 16);  // 64 table steps between 16 rays
    EXPECT_EQ(rays->x, 128);
    EXPECT_EQ(rays->phase, 0u);
    LRADIAL_set_rays(rays, 17);
    EXPECT_EQ(rays->spacing, 0x3C3C3C);
    LRADIAL_set_rays(rays, 0);
    EXPECT_EQ(rays->rays, 17);
    LRADIAL_free(&rays);
    EXPECT_EQ(rays, nullptr);
}

TEST(Lradial, PhaseWrapsBothWays)
{
    LRADIAL* rays = LRADIAL_new();
    rays->speed = -0x10000;
    LRADIAL_move(rays);
    EXPECT_EQ(rays->phase, 0x3FF0000u);
    rays->speed = 0x20000;
    LRADIAL_move(rays);
    EXPECT_EQ(rays->phase, 0x10000u);
    LRADIAL_free(&rays);
}

TEST(Lradial, RaysStartDownAndTurnTowardsTheRight)
{
    Canvas c(40, 40);
    LRADIAL* rays = LRADIAL_new();
    rays->target = c.image;
    rays->x = 20, rays->y = 20, rays->radius = 8, rays->colour = 0xFF8000;
    LRADIAL_set_rays(rays, 4);
    LRADIAL_draw(rays);
    EXPECT_EQ(rays->width, 40);
    // Angle 0 points down, 256 right, 512 up, 768 left; the tips are broken, the roots solid.
    EXPECT_EQ(c.at(20, 21), 0xFF8000u);
    EXPECT_EQ(c.at(21, 20), 0xFF8000u);
    EXPECT_EQ(c.at(20, 19), 0xFF8000u);
    EXPECT_EQ(c.at(19, 20), 0xFF8000u);
    EXPECT_EQ(c.at(21, 21), 0u);
    EXPECT_EQ(c.at(20, 29), 0u);  // beyond radius 8 * 32766 >> 15 = 7
    // Half a table quarter later the first ray points down and to the right.
    Canvas d(40, 40);
    rays->target = d.image;
    rays->phase = 128 << 16;
    LRADIAL_draw(rays);
    EXPECT_EQ(d.at(21, 21), 0xFF8000u);
    EXPECT_EQ(d.at(20, 21), 0u);
    LRADIAL_free(&rays);
}

TEST(Lradial, LongRaysAreClippedAndMissingTargetReports)
{
    Canvas c(16, 16);
    LRADIAL* rays = LRADIAL_new();
    rays->target = c.image;
    rays->x = 8, rays->y = 8, rays->radius = 5000;
    LRADIAL_set_rays(rays, 17);
    LRADIAL_draw(rays);
    EXPECT_EQ(c.at(8, 9), rays->colour);
    const long before = LRADIAL_report().count;
    rays->target = nullptr;
    LRADIAL_draw(rays);
    LRADIAL_draw(nullptr);
    EXPECT_EQ(LRADIAL_report().count, before + 2);
    LRADIAL_free(&rays);
}
