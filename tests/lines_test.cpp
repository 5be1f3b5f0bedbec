#include <gtest/gtest.h>

#include <cstdint>

#include "base/sine.h"
#include "base/wrap.h"
#include "effects/lradial.h"
#include "base/random.h"
#include "effects/sinedots.h"
#include "effects/sineline.h"
#include "raster/img.h"
#include "raster/imgfx.h"
#include "support/images.h"

namespace {

struct Canvas {
    Image* image = IMG_new();
    Canvas(int32_t w, int32_t h, uint32_t fill = 0)
    {
        IMG_resize(image, w, h);
        IMG_fill(image, fill);
    }
    ~Canvas() { IMG_free(&image); }
    uint32_t at(int32_t c, int32_t r) const { return IMG_get(image, c, r); }
    int count_not(uint32_t v) const
    {
        int n = 0;
        for (int64_t k = 0; k < int64_t{image->width} * image->height; ++k) n += image->pixels[k] != v;
        return n;
    }
};

// Sum of three waves as the dots and the bands define it.
int32_t wave(int32_t a1, int32_t p1, int32_t a2, int32_t p2, int32_t a3, int32_t p3)
{
    return wrap_add(wrap_add(wrap_mul(a1, SINE_at(p1)), wrap_mul(a2, SINE_at(p2))), wrap_mul(a3, SINE_at(p3))) >> 16;
}

// The band drawn piece by piece as described: line, then the tint of its first column.
void reference_band(const SINELINE& l, Image* image, int32_t s)
{
    const int32_t Y = l.y, bottom = wrap_sub(wrap_add(Y, l.height), 1);
    const int32_t n = l.point_count;
    for (int32_t k = 0; k + 1 < n; ++k) {
        IMG_line(image, wrap_mul(k, s), wrap_add(l.point_array[k].y, Y), wrap_mul(k + 1, s),
                 wrap_add(l.point_array[k + 1].y, Y), l.colour);
        IMG_vline_blend(image, wrap_mul(k, s), wrap_add(l.point_array[k].y, Y), bottom, l.colour, 40);
    }
    IMG_vline_blend(image, wrap_mul(n - 1, s), wrap_add(l.point_array[n - 1].y, Y), bottom, l.colour, 40);
}

}  // namespace

// ---- Radial lines ----

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

// ---- Sine dots ----

TEST(Sinedots, NewRandomisesWithEighteenDrawsInOrder)
{
    RANDOM_seed15(31337);
    const uint32_t before = RANDOM_state();
    SINEDOTS* s = SINEDOTS_new();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(draws_between(before, RANDOM_state()), 18);
    RANDOM_seed15(31337);
    int32_t r[18];
    for (int32_t& v : r) v = RANDOM_rand15();
    EXPECT_EQ(s->phase1.x, r[0] % 1024);
    EXPECT_EQ(s->phase1.y, r[1] % 1024);
    EXPECT_EQ(s->speed1.y, r[3] % 8 + 3);
    EXPECT_EQ(s->step1x, r[4] % 16 + 5);
    EXPECT_EQ(s->step1y, r[5] % 16 + 6);
    EXPECT_EQ(s->phase2.y, r[7] % 1024);
    EXPECT_EQ(s->speed2.x, r[8] % 8 + 2);
    EXPECT_EQ(s->step2y, r[11] % 16 + 7);
    EXPECT_EQ(s->phase3.x, r[12] % 1024);
    EXPECT_EQ(s->speed3.y, r[15] % 4 + 1);
    EXPECT_EQ(s->step3x, r[16] % 16 + 7);
    EXPECT_EQ(s->step3y, r[17] % 16 + 8);
    EXPECT_EQ(s->dots, 16);
    EXPECT_EQ(s->colour, 0xFF0000u);
    EXPECT_EQ(s->amplitude2.x, 64);
    SINEDOTS_set_dots(s, -1);
    EXPECT_EQ(s->dots, 16);
    SINEDOTS_free(&s);
}

TEST(Sinedots, FirstDotWithZeroPhasesSitsOnTheCentreAndRepeatsAdd)
{
    Canvas c(64, 32);
    SINEDOTS* s = SINEDOTS_new();
    s->phase1 = s->phase2 = s->phase3 = VEC2D{0, 0, 0};
    s->colour = 0x500010;
    SINEDOTS_set_dots(s, 1);
    SINEDOTS_draw(s, c.image);
    EXPECT_EQ(c.at(32, 16), 0x500010u);
    EXPECT_EQ(c.count_not(0), 1);
    EXPECT_EQ(s->amplitude1.x, 32);
    EXPECT_EQ(s->amplitude3.y, 4);
    for (int n = 0; n < 3; ++n) SINEDOTS_draw(s, c.image);
    EXPECT_EQ(c.at(32, 16), 0xFF0040u);  // red saturates at 0xFF, blue keeps adding
    EXPECT_EQ(s->phase1.x, 0);           // drawing leaves the phases alone
    SINEDOTS_free(&s);
}

TEST(Sinedots, MoveWrapsNegativeSpeedsAndDotsMatchTheDefinition)
{
    SINEDOTS* s = SINEDOTS_new();
    s->phase1.x = 3, s->speed1.x = -10;
    s->phase3.y = 1020, s->speed3.y = 9;
    SINEDOTS_move(s);
    EXPECT_EQ(s->phase1.x, 1017);
    EXPECT_EQ(s->phase3.y, 5);

    RANDOM_seed15(5);
    for (int n = 0; n < 12; ++n) {
        const int32_t w = 8 + RANDOM_rand15() % 300, h = 8 + RANDOM_rand15() % 200;
        Canvas fast(w, h, 0x010101), slow(w, h, 0x010101);
        SINEDOTS_randomise(s);
        SINEDOTS_set_dots(s, 1 + RANDOM_rand15() % 3000);
        s->colour = static_cast<uint32_t>(RANDOM_rand30()) & 0x1F3F7F;
        if (n % 3 == 0) s->step2x = -37, s->step1y = 2000;
        SINEDOTS_draw(s, fast.image);
        int32_t p[6] = {s->phase1.x, s->phase1.y, s->phase2.x, s->phase2.y, s->phase3.x, s->phase3.y};
        const int32_t st[6] = {s->step1x, s->step1y, s->step2x, s->step2y, s->step3x, s->step3y};
        for (int32_t k = 0; k < s->dots; ++k) {
            const int32_t X = wave(w >> 1, p[0], w >> 2, p[2], w >> 3, p[4]);
            const int32_t Y = wave(h >> 1, p[1], h >> 2, p[3], h >> 3, p[5]);
            IMG_add_pixel(slow.image, (w >> 1) + X, (h >> 1) + Y, s->colour);
            for (int i = 0; i < 6; ++i) p[i] = ((p[i] + st[i]) % 1024 + 1024) % 1024;
        }
        ASSERT_TRUE(same_pixels(fast.image, slow.image)) << "swarm " << n;
        SINEDOTS_move(s);
    }
    SINEDOTS_free(&s);
}

// ---- Sine lines ----

TEST(Sineline, NewRandomisesTwiceAndSetPointsOnceMore)
{
    RANDOM_seed15(2024);
    const uint32_t before = RANDOM_state();
    SINELINE* l = SINELINE_new();
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(draws_between(before, RANDOM_state()), 36);
    EXPECT_EQ(l->point_count, 16);
    EXPECT_EQ(l->colour, 0xFF0000u);
    // The second randomisation is the one that stays.
    RANDOM_seed15(2024);
    int32_t r[36];
    for (int32_t& v : r) v = RANDOM_rand15();
    const int32_t* q = r + 18;
    EXPECT_EQ(l->phase1x, q[0] % 1024);
    EXPECT_EQ(l->speed1y, q[3] % 16 + 3);
    EXPECT_EQ(l->step1y, q[5] % 8 + 4);
    EXPECT_EQ(l->speed2x, -(q[8] % 8) - 2);
    EXPECT_EQ(l->step2x, -(q[10] % 16) - 4);
    EXPECT_EQ(l->step2y, -(q[11] % 16) - 5);
    EXPECT_EQ(l->speed3y, q[15] % 4 + 1);
    EXPECT_EQ(l->step3y, q[17] % 32 + 6);
    EXPECT_EQ(l->amplitude3.y, 32);

    const uint32_t mid = RANDOM_state();
    SINELINE_set_points(l, 256);
    EXPECT_EQ(draws_between(mid, RANDOM_state()), 18);
    EXPECT_EQ(l->point_count, 256);
    SINELINE_set_points(l, 0);
    EXPECT_EQ(l->point_count, 256);
    EXPECT_EQ(draws_between(mid, RANDOM_state()), 18);
    SINELINE_free(&l);
}

TEST(Sineline, PointsOfAHeight64BandStayInsideItAndPhasesAdvance)
{
    SINELINE* l = SINELINE_new();
    SINELINE_set_points(l, 256);
    l->height = 64;
    for (int frame = 0; frame < 40; ++frame) {
        const int32_t p1x = l->phase1x, p2y = l->phase2y, s2y = l->speed2y;
        SINELINE_compute(l);
        EXPECT_EQ(l->phase1x, (p1x + l->speed1x) % 1024);
        EXPECT_EQ(l->phase2y, ((p2y + s2y) % 1024 + 1024) % 1024);
        for (int32_t k = 0; k < 256; ++k) {
            ASSERT_GE(l->point_array[k].y, 4);
            ASSERT_LE(l->point_array[k].y, 59);
        }
    }
    // Wave sum of the first point from the phases before the last compute.
    SINELINE_randomise(l);
    const int32_t y0 = 32 + wave(32, l->phase1y, 16, l->phase2y, 8, l->phase3y);
    const int32_t x0 = 128 + wave(128, l->phase1x, 64, l->phase2x, 32, l->phase3x);
    SINELINE_compute(l);
    EXPECT_EQ(l->point_array[0].y, y0);
    EXPECT_EQ(l->point_array[0].x, x0);
    EXPECT_EQ(l->amplitude1.y, 32);
    SINELINE_free(&l);
}

TEST(Sineline, BandCoversEveryColumnWithLineAndTint)
{
    Canvas c(256, 256);
    SINELINE* l = SINELINE_new();
    SINELINE_set_points(l, 256);
    l->colour = 0x0000E0, l->height = 64, l->y = 192;
    SINELINE_compute(l);
    SINELINE_draw(l, c.image, 1);
    for (int32_t col = 0; col < 256; ++col) {
        const int32_t top = 192 + l->point_array[col].y;
        EXPECT_EQ(c.at(col, top - 1) == 0 || c.at(col, top - 1) == 0xE0u, true) << col;  // lines only above
        EXPECT_EQ(c.at(col, 255), 0x000023u) << col;  // 0xE0 * 40 >> 8 on black
        EXPECT_EQ(c.at(col, top), 0x0000E0u) << col;   // a line pixel tinted with its own colour keeps it
    }
    SINELINE_free(&l);
}

TEST(Sineline, RowTintMatchesTheColumnByColumnDrawing)
{
    RANDOM_seed15(808);
    SINELINE* l = SINELINE_new();
    for (int n = 0; n < 60; ++n) {
        const int32_t w = 5 + RANDOM_rand15() % 300, h = 5 + RANDOM_rand15() % 200;
        SINELINE_set_points(l, 1 + RANDOM_rand15() % 300);
        l->width = RANDOM_rand15() % 400 - (n % 9 == 0 ? 200 : 0);
        l->height = RANDOM_rand15() % 160 - (n % 7 == 0 ? 100 : 0);
        l->y = RANDOM_rand15() % 300 - 100;
        l->colour = static_cast<uint32_t>(RANDOM_rand30()) * 3u;
        const int32_t steps[] = {1, 1, 1, 2, 3, 0, -1, 7};
        const int32_t s = steps[n % 8];
        SINELINE_compute(l);
        Canvas fast(w, h), slow(w, h);
        for (int64_t k = 0; k < int64_t{w} * h; ++k)
            fast.image->pixels[k] = slow.image->pixels[k] = static_cast<uint32_t>(RANDOM_rand30()) & 0xFFFFFF;
        SINELINE_draw(l, fast.image, s);
        reference_band(*l, slow.image, s);
        ASSERT_TRUE(same_pixels(fast.image, slow.image)) << "band " << n << " step " << s << " points "
                                                          << l->point_count << " height " << l->height;
    }
    SINELINE_free(&l);
}

TEST(Sineline, SinglePointTintsItsColumnAndMissingPartsReport)
{
    Canvas c(8, 8);
    SINELINE* l = SINELINE_new();
    SINELINE_set_points(l, 1);
    l->point_array[0].y = 5;
    l->height = 8, l->colour = 0xFF0000;
    SINELINE_draw(l, c.image, 1);
    EXPECT_EQ(c.at(0, 4), 0u);
    EXPECT_EQ(c.at(0, 5), 0x270000u);  // 0xFF * 40 >> 8
    EXPECT_EQ(c.at(0, 7), 0x270000u);
    EXPECT_EQ(c.count_not(0), 3);
    const long before = SINELINE_report().count;
    SINELINE_draw(l, nullptr, 1);
    SINELINE_compute(nullptr);
    SINELINE_draw(nullptr, c.image, 1);
    EXPECT_EQ(SINELINE_report().count, before + 3);
    SINELINE_free(&l);
}
