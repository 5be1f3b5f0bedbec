// SINELINE: the sine band: the draws of a new record, the points and phases, and the band's line
// and tint against the piece-by-piece drawing.
#include <gtest/gtest.h>

#include <cstdint>

#include "base/random.h"
#include "base/wrap.h"
#include "effects/sineline.h"
#include "raster/img.h"
#include "raster/imgfx.h"
#include "support/images.h"
#include "support/line_effects.h"

namespace {

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
