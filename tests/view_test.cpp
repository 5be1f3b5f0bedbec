// Showing the frame on any screen: the viewport arithmetic the backends share, the fallback pacing
// on a clock, and the desktop programs' command line.
#include <gtest/gtest.h>

#include "app/options.h"
#include "platform/pace.h"
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

TEST(Pace, PresentationsFallOnRefreshSlotsAndALateOneWaitsForTheNext)
{
    PACE pace;
    PACE_init(&pace, 0);  // unknown rate: 60 Hz
    EXPECT_EQ(PACE_rate(0), 60);
    EXPECT_EQ(pace.period_us, 16666);
    EXPECT_EQ(PACE_delay(&pace, 1000), 0);          // the first presentation starts the slots
    EXPECT_EQ(PACE_delay(&pace, 1000), 16666);      // at once again: waits one refresh
    EXPECT_EQ(PACE_delay(&pace, 20000), 33332 + 1000 - 20000);  // the next slot, not now + period
    EXPECT_EQ(PACE_delay(&pace, 60000), 67664 - 60000);         // late for 50998: waits for 67664
    EXPECT_EQ(PACE_delay(&pace, 84330), 0);         // exactly on its slot
    // However the show calls, presentations are never more frequent than the refresh.
    PACE_init(&pace, 144);
    int64_t now = 0, last = -1;
    for (int i = 0; i < 2000; ++i) {
        now += (i * 7919) % 9000;  // busy and idle frames alike
        now += PACE_delay(&pace, now);
        if (last >= 0) {
            ASSERT_GE(now - last, 1000000 / 144) << "presentation " << i;
        }
        last = now;
    }
    // Sleeps round up to whole milliseconds; counter readings convert without overflowing.
    EXPECT_EQ(PACE_sleep_ms(-5), 0u);
    EXPECT_EQ(PACE_sleep_ms(16001), 17u);
    EXPECT_EQ(PACE_sleep_ms(16000), 16u);
    EXPECT_EQ(PACE_counter_us(uint64_t{1} << 62, 10000000), (int64_t{1} << 62) / 10);
    EXPECT_EQ(PACE_counter_us(12345, 0), 0);
    // A show that never waits runs at the refresh rate, with no drift.
    PACE_init(&pace, 50);
    now = 0;
    for (int i = 0; i < 500; ++i) now += PACE_delay(&pace, now);
    EXPECT_EQ(now, 499 * 20000);
}

TEST(Options, ParseTheDesktopCommandLine)
{
    auto parse = [](std::initializer_list<const char*> args, DesktopView* view, std::string* text) {
        std::vector<const char*> argv{"voxa7100"};
        argv.insert(argv.end(), args);
        return OPTIONS_parse(static_cast<int>(argv.size()), argv.data(), view, text);
    };
    DesktopView view;
    std::string text;
    EXPECT_EQ(parse({}, &view, &text), OPTIONS_RUN);
    EXPECT_EQ(view.scale, 0);
    EXPECT_TRUE(view.vsync);
    EXPECT_FALSE(view.fullscreen || view.verbose);
    EXPECT_EQ(parse({"--scale", "3", "--fullscreen", "--no-vsync", "--verbose"}, &view, &text), OPTIONS_RUN);
    EXPECT_EQ(view.scale, 3);
    EXPECT_TRUE(view.fullscreen && !view.vsync && view.verbose);
    EXPECT_EQ(parse({"--scale=2"}, &view, &text), OPTIONS_RUN);
    EXPECT_EQ(view.scale, 2);
    EXPECT_EQ(parse({"--help"}, &view, &text), OPTIONS_SHOW);
    EXPECT_NE(text.find("usage: voxa7100"), std::string::npos);
    EXPECT_NE(text.find("SPACE         next part"), std::string::npos);
    EXPECT_NE(text.find("F11, Alt+Enter"), std::string::npos);
    EXPECT_EQ(parse({"--version"}, &view, &text), OPTIONS_SHOW);
    EXPECT_EQ(text, std::string("voxa7100 ") + VOXA_VERSION + "\n");
    for (auto bad : {std::initializer_list<const char*>{"--scale"}, {"--scale", "0"}, {"--scale", "2x"},
                     {"--scale", "-1"}, {"--scale", "99999999999"}, {"--bogus"}, {"-x"}}) {
        view = DesktopView{};
        EXPECT_EQ(parse(bad, &view, &text), OPTIONS_BAD) << *bad.begin();
        EXPECT_EQ(text.rfind("voxa7100: ", 0), 0u) << text;
        EXPECT_NE(text.find("usage: voxa7100"), std::string::npos);
        EXPECT_EQ(view.scale, 0) << "a bad command line leaves the view as it was";
    }
}

}  // namespace
