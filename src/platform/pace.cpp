#include "platform/pace.h"

int32_t PACE_rate(int32_t refresh_hz) { return refresh_hz > 0 ? refresh_hz : 60; }

void PACE_init(PACE* pace, int32_t refresh_hz)
{
    if (!pace) return;
    *pace = PACE{};
    pace->period_us = 1000000 / PACE_rate(refresh_hz);
}

uint32_t PACE_sleep_ms(int64_t wait_us) { return wait_us > 0 ? static_cast<uint32_t>((wait_us + 999) / 1000) : 0; }

int64_t PACE_counter_us(uint64_t count, uint64_t frequency)
{
    if (frequency == 0) return 0;
    return static_cast<int64_t>(count / frequency * 1000000 + count % frequency * 1000000 / frequency);
}

int64_t PACE_delay(PACE* pace, int64_t now_us)
{
    if (!pace || pace->period_us <= 0) return 0;
    if (!pace->started) {
        pace->started = true;
        pace->next_us = now_us + pace->period_us;
        return 0;
    }
    // A presentation that missed its slot waits for the first slot after now, like a late frame
    // under vertical sync; slots keep their phase, so the rate never drifts.
    if (now_us > pace->next_us)
        pace->next_us += (now_us - pace->next_us + pace->period_us - 1) / pace->period_us * pace->period_us;
    const int64_t wait = pace->next_us - now_us;
    pace->next_us += pace->period_us;
    return wait;
}
