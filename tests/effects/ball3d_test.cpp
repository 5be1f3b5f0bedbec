#include "effects/ball3d.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "base/sine.h"
#include "base/wrap.h"
#include "base/random.h"
#include "raster/img.h"
#include "raster/rgb888.h"
#include "support/images.h"

namespace {

int32_t S(int32_t k) { return SINE_table[static_cast<uint32_t>(k) & 1023]; }

// The ball drawn point by point, exactly as described: 512 x 512 points through IMG_put.
// Returns the smallest, largest and last shade.
struct Shades {
    int32_t lowest = INT32_MAX, highest = INT32_MIN, last = 0;
};
Shades reference_draw(const Ball& b, Image* target)
{
    Shades s;
    for (int32_t i = 0; i < 512; ++i) {
        const int32_t a = wrap_mul(S(i), b.radius) >> 15;
        const int32_t py = wrap_mul(S(i + 256), b.radius) >> 15;
        for (int32_t j = 0; j < 512; ++j) {
            const int32_t px = wrap_mul(S(j + 256), a) >> 15;
            const int32_t pz = wrap_mul(S(j), a) >> 15;
            const int32_t shade =
                wrap_add(wrap_add(wrap_mul(px, b.light_x), wrap_mul(py, b.light_y)), wrap_mul(pz, b.light_z)) / 9;
            const uint32_t c = shade >= 0 ? RGB888_add(b.colour, static_cast<uint32_t>(shade) * 0x010101u)
                                          : RGB888_sub(b.colour, static_cast<uint32_t>(-shade) * 0x010101u);
            if (target) IMG_put(target, wrap_add(b.x, px), wrap_add(b.y, py), c);
            s.lowest = std::min(s.lowest, shade);
            s.highest = std::max(s.highest, shade);
            s.last = shade;
        }
    }
    return s;
}

Ball ball_at(int32_t x, int32_t y, int32_t radius, uint32_t colour, int32_t lx, int32_t ly, int32_t lz, Image* t)
{
    Ball b;
    b.x = x, b.y = y, b.radius = radius, b.colour = colour, b.target = t;
    b.light_x = lx, b.light_y = ly, b.light_z = lz;
    return b;
}

}  // namespace

TEST(Ball3d, NewMakesSixDrawsAndKeepsFourOfThem)
{
    RANDOM_seed15(1158689141u);
    const uint32_t before = RANDOM_state();
    Ball* ball = BALL3D_new();
    ASSERT_NE(ball, nullptr);
    EXPECT_EQ(draws_between(before, RANDOM_state()), 12);  // six 30-bit draws of two steps each

    RANDOM_seed15(1158689141u);
    int32_t d[6];
    for (int32_t& v : d) v = RANDOM_rand30();
    EXPECT_EQ(ball->x, d[0] % 256);
    EXPECT_EQ(ball->y, d[1] % 256);
    EXPECT_EQ(ball->radius, d[3] % 256);
    EXPECT_EQ(ball->colour, static_cast<uint32_t>(d[4]));
    EXPECT_EQ(ball->target, nullptr);
    EXPECT_EQ(ball->light_x | ball->light_y | ball->light_z, 0);
    BALL3D_free(&ball);
    EXPECT_EQ(ball, nullptr);
}

TEST(Ball3d, RadiusZeroPutsOnePixelOfTheChannelBytes)
{
    Canvas c(16, 16, 0x010203);
    Ball b = ball_at(5, 9, 0, 0xAB30C050u, 10, -10, 10, c.image);
    BALL3D_draw(&b);
    EXPECT_EQ(c.at(5, 9), 0x30C050u);
    int changed = 0;
    for (int32_t r = 0; r < 16; ++r)
        for (int32_t col = 0; col < 16; ++col) changed += c.at(col, r) != 0x010203u;
    EXPECT_EQ(changed, 1);
}

TEST(Ball3d, NoLightGivesAFlatDisc)
{
    Canvas c(64, 64);
    Ball b = ball_at(30, 34, 20, 0xFF204080u, 0, 0, 0, c.image);
    BALL3D_draw(&b);
    for (int32_t r = 0; r < 64; ++r)
        for (int32_t col = 0; col < 64; ++col) {
            const int32_t d2 = (col - 30) * (col - 30) + (r - 34) * (r - 34);
            if (d2 <= 18 * 18) {
                EXPECT_EQ(c.at(col, r), 0x204080u) << col << "," << r;
            }
            if (d2 > 21 * 21) {
                EXPECT_EQ(c.at(col, r), 0u) << col << "," << r;
            }
        }
}

TEST(Ball3d, LightFromAboveBrightensTheUpperHalf)
{
    Canvas c(64, 64);
    Ball b = ball_at(32, 32, 24, 0x606060, 0, -10, 0, c.image);
    BALL3D_draw(&b);
    EXPECT_GT(c.at(32, 12) & 0xFF, 0x60u);  // above the centre
    EXPECT_LT(c.at(32, 52) & 0xFF, 0x60u);  // below the centre
    EXPECT_EQ(c.at(32, 12), (c.at(32, 12) & 0xFF) * 0x010101u);

    Canvas f(64, 64);
    Ball front = ball_at(32, 32, 24, 0x606060, 0, 0, 10, f.image);
    BALL3D_draw(&front);
    // Facing light: the centre gains about 10r/9 (its last point has depth 22: 220 / 9 = 24) and
    // the rim keeps the base colour.
    EXPECT_EQ(f.at(32, 32), 0x606060u + 24u * 0x010101u);
    EXPECT_EQ(f.at(32 - 23, 32), 0x606060u);  // a = 23 at the equator, depth 0 at the rim
}

TEST(Ball3d, MatchesThePointByPointDrawingAnywhere)
{
    // Positions far off the image, negative radii, lights past the show's range and radii that
    // overflow the colour table take the general path; all must equal the plain definition.
    RANDOM_seed15(4242);
    for (int n = 0; n < 48; ++n) {
        const int32_t w = 40 + RANDOM_rand15() % 40, h = 40 + RANDOM_rand15() % 40;
        Canvas fast(w, h, 0x111111), slow(w, h, 0x111111);
        int32_t radius = RANDOM_rand15() % 256 - (n % 7 == 0 ? 255 : 0);
        int32_t lx = RANDOM_rand15() % 21 - 10, ly = RANDOM_rand15() % 21 - 10, lz = RANDOM_rand15() % 21 - 10;
        if (n % 5 == 0) lx *= 300, lz *= 90;
        if (n == 11) radius = 70000;
        if (n == 13) radius = INT32_MIN, ly = INT32_MIN;
        Ball b = ball_at(RANDOM_rand15() % 400 - 170, RANDOM_rand15() % 400 - 170, radius,
                         static_cast<uint32_t>(RANDOM_rand30()) * 4u, lx, ly, lz, fast.image);
        testing::internal::CaptureStdout();
        BALL3D_draw(&b);
        const std::string printed = testing::internal::GetCapturedStdout();
        Ball r = b;
        r.target = slow.image;
        const Shades s = reference_draw(r, slow.image);
        ASSERT_TRUE(same_pixels(fast.image, slow.image)) << "ball " << n << " radius " << radius;
        const std::string expected = (s.last > 255 || s.last < -255)
                                         ? "min=" + std::to_string(s.lowest) + " max=" + std::to_string(s.highest)
                                         : "";
        EXPECT_EQ(printed, expected) << "ball " << n;
    }
}

TEST(Ball3d, ShowBallsPrintNothingAndLargeShadesReport)
{
    Canvas c(256, 256);
    Ball b = ball_at(128, 128, 127, 0x7F7F7F, -10, -10, 9, c.image);
    testing::internal::CaptureStdout();
    BALL3D_draw(&b);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    Canvas plain(256, 256);
    reference_draw(b, plain.image);
    EXPECT_TRUE(same_pixels(c.image, plain.image));

    // The last point sits at the top of the ball: shade = (-r) * ly / 9 = 200 * 20 / 9.
    Ball big = ball_at(128, 128, 200, 0x7F7F7F, 0, -20, 0, c.image);
    testing::internal::CaptureStdout();
    BALL3D_draw(&big);
    const Shades s = reference_draw(big, nullptr);
    EXPECT_EQ(s.last, 444);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "min=" + std::to_string(s.lowest) + " max=" + std::to_string(s.highest));
}

TEST(Ball3d, MissingBallOrTargetReportsAndDrawsNothing)
{
    const long before = BALL3D_report().count;
    BALL3D_draw(nullptr);
    Ball b = ball_at(1, 1, 5, 0xFFFFFF, 1, 1, 1, nullptr);
    BALL3D_draw(&b);
    EXPECT_EQ(BALL3D_report().count, before + 2);
}
