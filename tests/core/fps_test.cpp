// Frame pacing on the headless backend's virtual millisecond clock.
#include <gtest/gtest.h>

#include "core/fps.h"
#include "backends/headless.h"
#include "platform/os.h"

namespace {

// One frame that takes `work_ms` of virtual time, measured and paced; returns the ms slept.
uint32_t paced_frame(FPS* timer, uint32_t work_ms)
{
    FPS_begin(timer);
    OS_sleep(work_ms);
    FPS_end(timer);
    const uint32_t before = HEADLESS_now();
    FPS_wait(timer);
    return HEADLESS_now() - before;
}

TEST(Fps, SleepsTheRestOfThePeriodInWholeMilliseconds)
{
    HEADLESS_reset();
    FPS* timer = FPS_new();
    ASSERT_NE(timer, nullptr);
    timer->target_rate = 50;
    EXPECT_EQ(paced_frame(timer, 7), 13u);
    EXPECT_EQ(timer->effective_rate, 50);
    EXPECT_EQ(timer->measured_rate, 142);  // 1,000,000 / 7000 truncated
    EXPECT_EQ(paced_frame(timer, 19), 1u);
    EXPECT_EQ(paced_frame(timer, 20), 0u);
    EXPECT_EQ(timer->effective_rate, 50);  // measured 20000 us: wait 0, so the own rate is shown
    EXPECT_EQ(paced_frame(timer, 25), 0u);
    EXPECT_EQ(timer->effective_rate, 40);
    EXPECT_EQ(timer->wait_us, -5000);
    EXPECT_EQ(timer->frame_count, 4);
    timer->target_rate = 100;
    EXPECT_EQ(paced_frame(timer, 3), 7u);
    FPS_free(&timer);
}

TEST(Fps, AFrameUnderOneMillisecondCountsAsOneMicrosecond)
{
    HEADLESS_reset();
    FPS* timer = FPS_new();
    timer->target_rate = 50;
    // 20,000 - 1 us left: 19 whole milliseconds are slept, the remainder is not.
    EXPECT_EQ(paced_frame(timer, 0), 19u);
    EXPECT_EQ(timer->elapsed_us, 1.0);
    EXPECT_EQ(timer->measured_rate, 1000000);
    EXPECT_EQ(timer->effective_rate, 50);
    FPS_free(&timer);
}

TEST(Fps, ATickCounterThatWrapsDuringAFrameCountsAsOneMicrosecond)
{
    HEADLESS_reset();
    FPS* timer = FPS_new();
    timer->target_rate = 50;
    OS_sleep(0xFFFFFFFFu);  // the counter now stands at its maximum
    FPS_begin(timer);
    OS_sleep(2);            // and wraps to 1
    FPS_end(timer);
    EXPECT_EQ(timer->elapsed_us, 1.0);
    FPS_free(&timer);
}

TEST(Fps, NullTimerIsIgnored)
{
    FPS_begin(nullptr);
    FPS_end(nullptr);
    FPS_wait(nullptr);
    SUCCEED();
}

}  // namespace
