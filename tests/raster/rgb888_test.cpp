// RGB888: colour arithmetic on the channels, and the conversion of a frame into the bottom-up
// 24-bit bitmap.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "raster/rgb888.h"

namespace {

TEST(Rgb888, ChannelArithmetic)
{
    EXPECT_EQ(RGB888_add(0x00F01020, 0x00202020), 0x00FF3040u);
    EXPECT_EQ(RGB888_sub(0x00102030, 0x00201010), 0x00001020u);
    EXPECT_EQ(RGB888_average(0x00FF0001, 0x00010003), 0x00800002u);
    EXPECT_EQ(RGB888_add_grey(0x00F0F0F0, 0x140), 0x00FFFFFFu);
    EXPECT_EQ(RGB888_add_grey(0x00000102, 0x101), 0x00010203u) << "only the low byte of the level counts";
    // High bytes are not channels and never reach the result.
    EXPECT_EQ(RGB888_add(0xFF000001, 0xFF000002), 0x00000003u);
    EXPECT_EQ(RGB888_sub(0x80000005, 0x01000001), 0x00000004u);
    EXPECT_EQ(RGB888_average(0xFF000000, 0xFF000002), 0x00000001u);
}

TEST(Windpy, BitmapIsBottomUpBlueGreenRed)
{
    // Ten pixels a row cover both the eight-pixel packing and the pixels after it.
    constexpr int32_t width = 10, height = 3;
    std::vector<uint32_t> pixels(width * height);
    std::mt19937 rng(5);
    for (uint32_t& p : pixels) p = rng();
    pixels[0] = 0xFF112233;
    std::vector<uint8_t> out(width * height * 3 + 1, 0xEE);
    RGB888_to_bgr24(pixels.data(), width, height, out.data());
    EXPECT_EQ(out[(height - 1) * width * 3 + 0], 0x33) << "the top row lands in the last bitmap row, blue first";
    EXPECT_EQ(out[(height - 1) * width * 3 + 1], 0x22);
    EXPECT_EQ(out[(height - 1) * width * 3 + 2], 0x11);
    for (int32_t r = 0; r < height; ++r)
        for (int32_t c = 0; c < width; ++c) {
            const uint32_t p = pixels[c + r * width];
            const uint8_t* b = &out[((height - 1 - r) * width + c) * 3];
            ASSERT_EQ(b[0], p & 0xFF) << c << "," << r;
            ASSERT_EQ(b[1], (p >> 8) & 0xFF) << c << "," << r;
            ASSERT_EQ(b[2], (p >> 16) & 0xFF) << c << "," << r;
        }
    EXPECT_EQ(out.back(), 0xEE) << "nothing is written past the bitmap";
}

}  // namespace
