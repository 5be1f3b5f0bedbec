#include "effects/partixel.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "raster/img.h"
#include "raster/imgfx.h"
#include "raster/rgb888.h"
#include "support/images.h"

namespace {

constexpr uint32_t white = 0xFFFFFF, water = 0x0000FF;

struct Field {
    Image* image = IMG_new();
    PARTIXEL* system = PARTIXEL_new();
    Field(int32_t w, int32_t h, uint32_t colour = water)
    {
        IMG_resize(image, w, h);
        system->image = image;
        system->colour = colour;
    }
    ~Field()
    {
        PARTIXEL_free(&system);
        IMG_free(&image);
    }
    void put(int32_t c, int32_t r, uint32_t v) { IMG_put(image, c, r, v); }
    uint32_t at(int32_t c, int32_t r) const { return IMG_get(image, c, r); }
    int count(uint32_t v) const
    {
        int n = 0;
        for (int64_t k = 0; k < int64_t{image->width} * image->height; ++k) n += image->pixels[k] == v;
        return n;
    }
};

// The passes as described, pixel by pixel through the clipping accessors.
void reference_water(PARTIXEL* s, bool rightward)
{
    Image* im = s->image;
    const uint32_t W = s->colour;
    const int32_t side = rightward ? 1 : -1;
    for (int32_t row = im->height - 1; row >= 0; --row) {
        for (int32_t k = 0; k < im->width; ++k) {
            const int32_t col = rightward ? k : im->width - 1 - k;
            if (IMG_get(im, col, row) != W) continue;
            if (IMG_get(im, col, row + 1) == 0) {
                IMG_put(im, col, row + 1, W), IMG_put(im, col, row, 0);
            } else if (IMG_get(im, col + side, row) == 0) {
                IMG_put(im, col + side, row, W), IMG_put(im, col, row, 0);
            } else if (IMG_get(im, col - side, row) == 0) {
                IMG_put(im, col - side, row, W), IMG_put(im, col, row, 0);
            }
        }
    }
}

bool spark(uint32_t v) { return (v & 0xFFFF) == 0 && (v & 0xFF0000) != 0; }

void reference_sparks(PARTIXEL* s, Random* random)
{
    Image* im = s->image;
    for (int32_t row = 0; row < im->height; ++row) {
        for (int32_t col = 0; col < im->width; ++col) {
            const uint32_t v = IMG_get(im, col, row);
            if (!spark(v)) continue;
            const int32_t dy = static_cast<int32_t>(RANDOM_next(random) % 5);
            const int32_t dx = static_cast<int32_t>(RANDOM_next(random) % 3) - 1;
            const int32_t tx = col + dx, ty = row - dy;
            const uint32_t t = IMG_get(im, tx, ty);
            if (t == 0) {
                IMG_put(im, tx, ty, RGB888_sub(v, 0x070000)), IMG_put(im, col, row, 0);
            } else if (spark(t)) {
                IMG_add_pixel(im, tx, ty, 0xF00000), IMG_put(im, col, row, 0);
            } else if ((t & 0xFFFF00) == 0 && (t & 0xFF) != 0) {
                IMG_put(im, tx, ty, 0x808080);
            } else {
                IMG_put(im, col, row, 0);
            }
        }
    }
}

// Points the shared generator at a stream whose next draws give the wanted (dy, dx) moves.
void steer(const std::vector<std::pair<int32_t, int32_t>>& moves)
{
    for (uint32_t counter = 0;; ++counter) {
        Random r;
        r.counter = counter;
        Random start = r;
        bool ok = true;
        for (const auto& [dy, dx] : moves) {
            const int32_t y = static_cast<int32_t>(RANDOM_next(&r) % 5);
            const int32_t x = static_cast<int32_t>(RANDOM_next(&r) % 3) - 1;
            ok = ok && y == dy && x == dx;
        }
        if (ok) {
            *PARTIXEL_random() = start;
            return;
        }
    }
}

}  // namespace

TEST(Partixel, NewSetsDefaultsAndSharesOneGenerator)
{
    const uint32_t before = RANDOM_state();
    PARTIXEL* a = PARTIXEL_new();
    ASSERT_NE(a, nullptr);
    Random* shared = PARTIXEL_random();
    ASSERT_NE(shared, nullptr);
    PARTIXEL* b = PARTIXEL_new();
    EXPECT_EQ(PARTIXEL_random(), shared);
    EXPECT_EQ(RANDOM_state(), before);  // no process-wide draws
    EXPECT_EQ(a->colour, 0x0040E0u);
    EXPECT_STREQ(a->name, "WATER");
    EXPECT_EQ(a->update, &PARTIXEL_water_rightward);
    EXPECT_EQ(a->image, nullptr);
    PARTIXEL_free(&a);
    PARTIXEL_free(&b);
    EXPECT_EQ(a, nullptr);
}

TEST(Partixel, WaterFallsOneRowPerPassAndDrainsAtTheBottom)
{
    Field f(5, 4);
    f.put(2, 0, water);
    for (int32_t row = 1; row < 4; ++row) {
        f.system->update(f.system);
        EXPECT_EQ(f.at(2, row), water) << "pass " << row;
        EXPECT_EQ(f.count(water), 1);
    }
    PARTIXEL_water_leftward(f.system);
    EXPECT_EQ(f.count(0), 20);
}

TEST(Partixel, WaterSlidesAlongALineInTheScanDirectionAndFallsAtItsEnd)
{
    Field f(8, 4);
    IMG_hline(f.image, 2, 0, 5, white);
    f.put(1, 1, water);
    PARTIXEL_water_rightward(f.system);
    EXPECT_EQ(f.at(6, 2), water);
    EXPECT_EQ(f.count(water), 1);

    Field g(8, 4);
    IMG_hline(g.image, 2, 2, 7, white);
    g.put(4, 1, water);
    PARTIXEL_water_leftward(g.system);
    EXPECT_EQ(g.at(1, 2), water);
    EXPECT_EQ(g.count(water), 1);

    // Off the side of a full-width line the water leaves the image.
    Field e(6, 3);
    IMG_hline(e.image, 1, 0, 5, white);
    e.put(3, 0, water);
    PARTIXEL_water_rightward(e.system);
    EXPECT_EQ(e.count(water), 0);
}

TEST(Partixel, EnclosedWaterStaysAndObstaclesNeverMove)
{
    Field f(3, 3);
    f.put(0, 1, white), f.put(2, 1, 0x0040E1), f.put(1, 2, 0x808080), f.put(1, 1, water);
    PARTIXEL_water_rightward(f.system);
    PARTIXEL_water_leftward(f.system);
    EXPECT_EQ(f.at(1, 1), water);
    EXPECT_EQ(f.at(0, 1), white);
    EXPECT_EQ(f.at(2, 1), 0x0040E1u);
    EXPECT_EQ(f.at(1, 2), 0x808080u);
}

TEST(Partixel, SparksDimAsTheyMoveAndVanishAtLowRed)
{
    Field f(8, 12, 0xFF0000);
    f.put(5, 9, 0x400000);
    f.put(2, 11, 0x050000);
    steer({{2, 0}, {3, 1}});
    PARTIXEL_sparks(f.system);
    EXPECT_EQ(f.at(5, 7), 0x390000u);
    EXPECT_EQ(f.count(0), 8 * 12 - 1);  // the dim spark became 0 at (3, 8)
}

TEST(Partixel, SparksBoilWaterMergeAndDieOnObstacles)
{
    Field f(8, 12, 0xFF0000);
    f.put(5, 7, 0x0000FF);
    f.put(5, 9, 0x800000);
    f.put(6, 9, 0x800000);
    f.put(1, 4, white);
    f.put(1, 6, 0xFF0000);
    // Row 6 first: the spark hits the white pixel and dies. Row 9: the first spark boils the
    // water and stays; the second hits the steam and dies.
    steer({{2, 0}, {2, 0}, {2, -1}});
    PARTIXEL_sparks(f.system);
    EXPECT_EQ(f.at(1, 6), 0u);
    EXPECT_EQ(f.at(1, 4), white);
    EXPECT_EQ(f.at(5, 7), 0x808080u);
    EXPECT_EQ(f.at(5, 9), 0x800000u);
    EXPECT_EQ(f.at(6, 9), 0u);

    // A spark that jumps right onto a spark of red 0x20 raises it to 0xFF and clears itself;
    // the raised spark is then scanned and moves up one row, dimming by 7.
    Field m(8, 12, 0xFF0000);
    m.put(5, 9, 0x800000);
    m.put(6, 9, 0x200000);
    steer({{0, 1}, {1, 0}});
    PARTIXEL_sparks(m.system);
    EXPECT_EQ(m.at(6, 8), 0xF80000u);
    EXPECT_EQ(m.count(0), 8 * 12 - 1);

    // A spark that stays put meets itself and is cleared.
    Field s(4, 4, 0xFF0000);
    s.put(1, 1, 0x200000);
    steer({{0, 0}});
    PARTIXEL_sparks(s.system);
    EXPECT_EQ(s.count(0), 16);
}

TEST(Partixel, RowPassesMatchThePixelByPixelDefinition)
{
    RANDOM_seed15(77);
    for (int n = 0; n < 40; ++n) {
        const int32_t w = 3 + RANDOM_rand15() % 40, h = 2 + RANDOM_rand15() % 30;
        Field fast(w, h), slow(w, h);
        static constexpr uint32_t kinds[] = {0, 0, 0, 0, water, water, 0xFF0000, 0x070000, 0x200000,
                                             0x0000FF, 0x000010, white, 0x808080, 0x01FF0000};
        for (int32_t r = 0; r < h; ++r)
            for (int32_t c = 0; c < w; ++c) fast.put(c, r, kinds[RANDOM_rand15() % 14]);
        IMG_copy(fast.image, slow.image);
        for (int pass = 0; pass < 6; ++pass) {
            const Random start = *PARTIXEL_random();
            switch ((n + pass) % 3) {
                case 0:
                    PARTIXEL_water_rightward(fast.system), reference_water(slow.system, true);
                    break;
                case 1:
                    PARTIXEL_water_leftward(fast.system), reference_water(slow.system, false);
                    break;
                default: {
                    PARTIXEL_sparks(fast.system);
                    const Random after = *PARTIXEL_random();
                    Random replay = start;
                    reference_sparks(slow.system, &replay);
                    EXPECT_EQ(after.value, replay.value);
                    EXPECT_EQ(after.counter, replay.counter);
                }
            }
            ASSERT_TRUE(same_pixels(fast.image, slow.image)) << "field " << n << " pass " << pass;
        }
    }
}

TEST(Partixel, PassesWithoutAFieldReportAndDoNothing)
{
    const long before = PARTIXEL_report().count;
    PARTIXEL_water_rightward(nullptr);
    PARTIXEL* s = PARTIXEL_new();
    PARTIXEL_water_leftward(s);
    PARTIXEL_sparks(s);
    EXPECT_EQ(PARTIXEL_report().count, before + 3);
    PARTIXEL_free(&s);
}
