#include "core/fps.h"

#include "base/record.h"
#include "platform/os.h"

static ErrorReport fps_errors{"FPS error\n", false, 0};

ErrorReport& FPS_report() { return fps_errors; }

double FPS_now() { return static_cast<double>(OS_ticks()) * 1000.0; }

FPS* FPS_new()
{
    FPS* timer = record_new<FPS>();
    if (!timer) REPORT_raise(fps_errors);
    return timer;
}

void FPS_free(FPS** timer)
{
    if (!timer || !*timer) {
        REPORT_raise(fps_errors);
        return;
    }
    record_free(timer);
}

void FPS_begin(FPS* timer)
{
    if (!timer) return;
    timer->start_us = FPS_now();
}

// A double truncated toward zero into a 32-bit integer, saturating instead of overflowing.
static int32_t truncate_i32(double v)
{
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(v);
}

void FPS_end(FPS* timer)
{
    if (!timer) return;
    timer->frame_count = static_cast<int32_t>(static_cast<uint32_t>(timer->frame_count) + 1u);
    timer->end_us = FPS_now();
    // A tick counter that wrapped during the frame gives a negative difference: count it as 1 us.
    timer->elapsed_us = truncate_i32(timer->end_us - timer->start_us);
    if (timer->elapsed_us <= 0) timer->elapsed_us = 1.0;
    timer->measured_rate = truncate_i32(1000000.0 / timer->elapsed_us);
}

void FPS_wait(FPS* timer)
{
    if (!timer || timer->target_rate == 0) return;
    const int32_t period = 1000000 / timer->target_rate;
    timer->wait_us = truncate_i32(period - timer->elapsed_us);
    if (timer->wait_us > 0) {
        OS_sleep(static_cast<uint32_t>(timer->wait_us / 1000));
        timer->effective_rate = timer->target_rate;
    } else {
        timer->effective_rate = truncate_i32(1000000.0 / timer->elapsed_us);
    }
}
