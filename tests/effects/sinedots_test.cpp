// SINEDOTS: the sine dots: the draws of a new record, the centre dot, and every dot against the
// sum of three waves.
#include <gtest/gtest.h>

#include "base/random.h"
#include "effects/sinedots.h"
#include "raster/imgfx.h"
#include "support/images.h"
#include "support/line_effects.h"

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
