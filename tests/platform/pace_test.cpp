// PACE: the fallback pacing on a clock: presentations on refresh slots, sleeps in whole
// milliseconds.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/pace.h"

namespace {

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

}  // namespace
