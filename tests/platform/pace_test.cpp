// PACE: the hold on a clock, alone and together with a display's vertical sync.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "platform/pace.h"

namespace {

constexpr int64_t second_us = 1000000;

TEST(Pace, HoldsEachPresentationUntilOneSixtiethAfterTheLastDeadline)
{
    PACE pace;
    PACE_init(&pace, 30, false);
    EXPECT_EQ(PACE_delay(&pace, 1000), 0);      // the first presentation goes at once
    EXPECT_EQ(PACE_delay(&pace, 1000), 16666);  // again at once: held to 1000 + 1/60 s
    EXPECT_EQ(PACE_delay(&pace, 20000), 33333 + 1000 - 20000);
    // Late for its deadline (51000): goes at once, and the next deadline is one hold after it, not
    // the missed ones in a burst.
    EXPECT_EQ(PACE_delay(&pace, 60000), 0);
    EXPECT_EQ(PACE_delay(&pace, 60000), 16666);
    // Presentations that skipped their waits (a test hook timing raw presentation) leave no
    // deadlines far ahead: the first one after them goes at once.
    for (int i = 0; i < 1000; ++i) PACE_delay(&pace, 100000 + i);
    EXPECT_EQ(PACE_delay(&pace, 101000), 0);
    EXPECT_EQ(PACE_delay(&pace, 101000), 16666);
    // A show that never waits gets exactly 60 a second, without drift.
    PACE_init(&pace, 0, false);
    int64_t now = 0;
    for (int i = 0; i < 600; ++i) now += PACE_delay(&pace, now);
    EXPECT_EQ(now, 599 * second_us / 60);
    // Sleeps round up to whole milliseconds; counter readings convert without overflowing.
    EXPECT_EQ(PACE_sleep_ms(-5), 0u);
    EXPECT_EQ(PACE_sleep_ms(16001), 17u);
    EXPECT_EQ(PACE_sleep_ms(16000), 16u);
    EXPECT_EQ(PACE_counter_us(uint64_t{1} << 62, 10000000), (int64_t{1} << 62) / 10);
    EXPECT_EQ(PACE_counter_us(12345, 0), 0);
}

TEST(Pace, VsyncPacesOnlyDisplaysThatKeepUp)
{
    EXPECT_TRUE(PACE_vsync_keeps_up(0));  // unknown: 60 Hz
    EXPECT_TRUE(PACE_vsync_keeps_up(58));
    EXPECT_TRUE(PACE_vsync_keeps_up(144));
    EXPECT_FALSE(PACE_vsync_keeps_up(57));
    EXPECT_FALSE(PACE_vsync_keeps_up(30));
    PACE pace;
    PACE_init(&pace, 144, true);
    EXPECT_EQ(pace.early_us, 1736);  // a quarter refresh
    PACE_set_refresh(&pace, 50, false);
    EXPECT_EQ(pace.early_us, 0);
}

// Presentations a second over 60 s of a show whose frames take work_us: each waits as the hold
// says, sleeping in whole milliseconds and waking up to jitter_us late; with vsync, presenting
// then waits for the display's next refresh, which shows at most one presentation.
struct Presented {
    double rate = 0;
    int64_t skipped = 0;  // refreshes without a presentation while the show was never late
};

Presented present(double refresh_hz, bool vsync, int64_t work_us, int64_t jitter_us)
{
    PACE pace;
    PACE_init(&pace, static_cast<int32_t>(std::lround(refresh_hz)), vsync);
    const double refresh_us = second_us / refresh_hz;
    int64_t now = 12345, last = -1, count = 0, skipped = 0;
    uint32_t seed = 7100;
    while (now < 60 * second_us) {
        if (const uint32_t ms = PACE_sleep_ms(PACE_delay(&pace, now))) {
            seed = seed * 1103515245u + 12345u;
            now += ms * 1000 + (seed >> 8) % (jitter_us + 1);
        }
        if (vsync) {
            int64_t k = static_cast<int64_t>(std::ceil(now / refresh_us));
            if (k <= last) k = last + 1;
            if (last >= 0) skipped += k - last - 1;
            last = k;
            now = static_cast<int64_t>(std::ceil(k * refresh_us));
        }
        ++count;
        now += work_us;
    }
    return {static_cast<double>(count) / 60, skipped};
}

TEST(Pace, HoldAndVsyncNeverStackIntoAHalvedRate)
{
    // Frames of the show take well under a millisecond to draw; 5 ms stands for a slow machine.
    for (const int64_t work_us : {300, 2000, 5000}) {
        for (const int64_t jitter_us : {0, 2000}) {
            SCOPED_TRACE(testing::Message() << "work " << work_us << " us, jitter " << jitter_us << " us");
            // Slow displays: no vsync, the hold alone gives 60 a second.
            for (const double hz : {30.0, 48.0, 50.0}) EXPECT_NEAR(present(hz, false, work_us, jitter_us).rate, 60, 0.05) << hz << " Hz";
            // At 60 Hz exactly one presentation per refresh; faster displays average 60.
            const Presented at60 = present(60, true, work_us, jitter_us);
            EXPECT_NEAR(at60.rate, 60, 0.05);
            EXPECT_EQ(at60.skipped, 0);
            EXPECT_NEAR(present(59.94, true, work_us, jitter_us).rate, 59.94, 0.05);
            for (const double hz : {62.0, 75.0, 120.0, 144.0, 240.0}) EXPECT_NEAR(present(hz, true, work_us, jitter_us).rate, 60, 0.5) << hz << " Hz";
        }
    }
}

}  // namespace
