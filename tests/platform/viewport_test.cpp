// VIEWPORT: the arithmetic the backends share to show the frame on any screen: the scale and
// placement, and output pixels mapped back to frame pixels.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/viewport.h"

namespace {

TEST(Viewport, LargestWholeScaleCentredWithTheOddPixelRightAndBelow)
{
    struct Case {
        int32_t w, h, scale, x, y;
    };
    const Case cases[] = {
        {256, 256, 1, 0, 0},     {511, 511, 1, 127, 127}, {512, 512, 2, 0, 0},
        {700, 600, 2, 94, 44},   {701, 601, 2, 94, 44},   // 189 and 89 left over: the odd one right and below
        {1024, 768, 3, 128, 0},  {3840, 2160, 8, 896, 56}, {600, 2000, 2, 44, 744},
        {200, 100, 1, -28, -78}, {201, 101, 1, -28, -78}, // smaller than the frame: its middle, cut evenly
        {0, 0, 1, -128, -128},
    };
    for (const Case& c : cases) {
        const Viewport v = VIEWPORT_fit(c.w, c.h, 256, 256);
        EXPECT_EQ(v.scale, c.scale) << c.w << "x" << c.h;
        EXPECT_EQ(v.x, c.x) << c.w << "x" << c.h;
        EXPECT_EQ(v.y, c.y) << c.w << "x" << c.h;
        EXPECT_EQ(v.width, 256 * c.scale);
        EXPECT_EQ(v.height, 256 * c.scale);
        // Whatever is left over is split with at most one more pixel on the right and below.
        const int32_t right = c.w - v.x - v.width, below = c.h - v.y - v.height;
        EXPECT_TRUE(right == v.x || right == v.x + 1) << c.w << ": left " << v.x << ", right " << right;
        EXPECT_TRUE(below == v.y || below == v.y + 1) << c.h << ": above " << v.y << ", below " << below;
    }
}

TEST(Viewport, PointerMapsToTheFramePixelUnderItBothWaysAtEveryScale)
{
    for (int32_t w : {256, 700, 1024, 2000, 190}) {
        const Viewport v = VIEWPORT_fit(w, w * 3 / 4, 256, 256);
        // Every output pixel of a frame pixel's block maps back to it, borders included.
        for (int32_t fx : {-3, -1, 0, 1, 128, 255, 256, 300}) {
            int32_t ox = 0, oy = 0;
            VIEWPORT_to_output(&v, fx, fx, &ox, &oy);
            for (int32_t d : {0, v.scale - 1}) {
                int32_t gx = 99999, gy = 99999;
                VIEWPORT_to_frame(&v, ox + d, oy + d, &gx, &gy);
                EXPECT_EQ(gx, fx) << "width " << w << ", output " << ox + d;
                EXPECT_EQ(gy, fx) << "width " << w << ", output " << oy + d;
            }
            int32_t before = 0;
            VIEWPORT_to_frame(&v, ox - 1, oy, &before, nullptr);
            EXPECT_EQ(before, fx - 1) << "the pixel left of a block belongs to the frame pixel before";
        }
    }
    // At 2x in 700 x 600 the frame starts at (94, 44): the pixel just left of it is frame pixel -1.
    const Viewport v = VIEWPORT_fit(700, 600, 256, 256);
    int32_t x = 0, y = 0;
    VIEWPORT_to_frame(&v, 93, 43, &x, &y);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    VIEWPORT_to_frame(&v, 94 + 2 * 100 + 1, 44 + 2 * 40, &x, &y);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 40);
}

TEST(Viewport, LogicalUnitsBecomeRealPixelsOnHighDensityScreens)
{
    // A 256-unit window with 512 real pixels: unit 10 is real pixel 20, and frame pixel 10 at 2x.
    EXPECT_EQ(VIEWPORT_logical_to_real(10, 256, 512), 20);
    EXPECT_EQ(VIEWPORT_logical_to_real(-1, 256, 512), -2);
    // 1.5 real pixels per unit: floors, also left of the window.
    EXPECT_EQ(VIEWPORT_logical_to_real(3, 2, 3), 4);
    EXPECT_EQ(VIEWPORT_logical_to_real(-3, 2, 3), -5);
    EXPECT_EQ(VIEWPORT_logical_to_real(7, 0, 0), 7);
    const Viewport v = VIEWPORT_fit(512, 512, 256, 256);
    EXPECT_EQ(v.scale, 2);
    int32_t x = 0;
    VIEWPORT_to_frame(&v, VIEWPORT_logical_to_real(10, 256, 512), 0, &x, nullptr);
    EXPECT_EQ(x, 10);
}

}  // namespace
