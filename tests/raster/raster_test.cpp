// RASTER bars: stepping with wrap-around and painting the columns.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "base/random.h"
#include "raster/img.h"
#include "raster/raster.h"

namespace {

TEST(Raster, NewHas256BlackColoursAndARandomSpeed)
{
    RANDOM_seed15(1158689141);
    Raster* raster = RASTER_new();
    ASSERT_NE(raster, nullptr);
    EXPECT_EQ(raster->count, 256);
    EXPECT_EQ(raster->position, 0);
    EXPECT_EQ(raster->speed, 65536 + 4728) << "one draw after the start-up seed";
    EXPECT_EQ(std::vector<uint32_t>(raster->colours.get(), raster->colours.get() + 256), std::vector<uint32_t>(256, 0));
    RASTER_free(&raster);
    EXPECT_EQ(raster, nullptr);
}

TEST(Raster, ResizeKeepsSpeedAndRefusesBadSizes)
{
    Raster* raster = RASTER_new();
    raster->speed = -123;
    raster->position = 77;
    raster->colours[0] = 5;
    const long before = RASTER_report().count;
    RASTER_resize(raster, 0);
    RASTER_resize(raster, 32768);
    EXPECT_EQ(RASTER_report().count, before + 2);
    EXPECT_EQ(raster->count, 256);
    EXPECT_EQ(raster->colours[0], 5u);
    RASTER_resize(raster, 4);
    EXPECT_EQ(raster->count, 4);
    EXPECT_EQ(raster->position, 0);
    EXPECT_EQ(raster->speed, -123);
    EXPECT_EQ(raster->colours[0], 0u);
    RASTER_free(&raster);
}

TEST(Raster, StepWrapsIntoTheTable)
{
    Raster* raster = RASTER_new();
    raster->speed = -0x20000;
    RASTER_step(raster);
    EXPECT_EQ(raster->position, 254 * 65536);
    raster->position = 0;
    raster->speed = -256 * 65536;
    RASTER_step(raster);
    EXPECT_EQ(raster->position, 256 * 65536) << "an exact negative multiple lands on the limit";
    RASTER_resize(raster, 4);
    raster->position = 65536;
    raster->speed = 4 * 65536 + 123;
    RASTER_step(raster);
    EXPECT_EQ(raster->position, 65536 + 123);
    std::mt19937 rng(2);
    for (int i = 0; i < 1000; ++i) {
        raster->speed = static_cast<int32_t>(rng() % 0x100000) - 0x80000;
        RASTER_step(raster);
        ASSERT_GE(raster->position, 0);
        ASSERT_LE(raster->position, 4 * 65536);
    }
    RASTER_free(&raster);
}

TEST(Raster, DrawPaintsEveryColumnFromThePosition)
{
    Raster* raster = RASTER_new();
    RASTER_resize(raster, 4);
    for (int32_t i = 0; i < 4; ++i) raster->colours[i] = 0x110000u * (i + 1) + 0x01;
    raster->position = 5 * 65536 + 123;
    raster->speed = 0;
    RASTER_step(raster);
    Image* image = IMG_new();
    IMG_resize(image, 6, 3);
    IMG_fill(image, 0xFFFFFF);
    RASTER_draw_columns(raster, image);
    for (int32_t r = 0; r < 3; ++r)
        for (int32_t c = 0; c < 6; ++c) ASSERT_EQ(IMG_get(image, c, r), raster->colours[(c + 1) % 4]) << c << "," << r;
    const long before = RASTER_report().count;
    RASTER_draw_columns(raster, nullptr);
    RASTER_draw_columns(nullptr, image);
    RASTER_step(nullptr);
    EXPECT_EQ(RASTER_report().count, before + 3);
    IMG_free(&image);
    RASTER_free(&raster);
}

TEST(Raster, DrawMatchesColumnByColumnReference)
{
    std::mt19937 rng(13);
    Raster* raster = RASTER_new();
    for (int trial = 0; trial < 100; ++trial) {
        RASTER_resize(raster, 1 + rng() % 300);
        for (int32_t i = 0; i < raster->count; ++i) raster->colours[i] = rng();
        raster->speed = static_cast<int32_t>(rng() % 0x400000) - 0x200000;
        RASTER_step(raster);
        Image* image = IMG_new();
        IMG_resize(image, 1 + rng() % 300, 1 + rng() % 5);
        Image* expected = IMG_new();
        IMG_resize(expected, image->width, image->height);
        const int32_t start = raster->position >> 16;
        for (int32_t i = 0; i < image->width; ++i)
            IMG_vline(expected, raster->colours[(start + i) % raster->count], i, 0, image->height - 1);
        RASTER_draw_columns(raster, image);
        ASSERT_EQ(std::vector<uint32_t>(image->pixels.get(), image->pixels.get() + image->width * image->height),
                  std::vector<uint32_t>(expected->pixels.get(), expected->pixels.get() + image->width * image->height))
            << "trial " << trial;
        IMG_free(&image);
        IMG_free(&expected);
    }
    // A position set by hand below zero still reads inside the table.
    RASTER_resize(raster, 3);
    raster->colours[2] = 0x42;
    raster->position = -65536;
    Image* image = IMG_new();
    RASTER_draw_columns(raster, image);
    EXPECT_EQ(IMG_get(image, 0, 0), 0x42u);
    IMG_free(&image);
    RASTER_free(&raster);
}

}  // namespace
