#include "platform/pace.h"

// Deadlines are whole holds from the run's origin, computed afresh each time, so that the 1/60 s
// that microseconds cannot hold exactly never adds up to a drift.
static int64_t deadline(const PACE* pace) { return pace->origin_us + pace->count * 1000000 / PACE_hold_rate; }

int32_t PACE_rate(int32_t refresh_hz) { return refresh_hz > 0 ? refresh_hz : 60; }

bool PACE_vsync_keeps_up(int32_t refresh_hz) { return PACE_rate(refresh_hz) >= PACE_vsync_min_hz; }

void PACE_init(PACE* pace, int32_t refresh_hz, bool vsync)
{
    if (!pace) return;
    *pace = PACE{};
    PACE_set_refresh(pace, refresh_hz, vsync);
}

void PACE_set_refresh(PACE* pace, int32_t refresh_hz, bool vsync)
{
    if (!pace) return;
    // A quarter refresh: the jitter of waking up never makes a presentation miss its refresh.
    pace->early_us = vsync ? 1000000 / PACE_rate(refresh_hz) / 4 : 0;
}

int64_t PACE_delay(PACE* pace, int64_t now_us)
{
    if (!pace) return 0;
    // A sleep may end a little before its moment; a call well before it skipped the wait.
    constexpr int64_t skipped_us = 2000;
    if (!pace->started || now_us > deadline(pace) || now_us < pace->go_us - skipped_us) {
        // The first presentation, or a late one: at once, and the next deadline one hold after it.
        // (Deadlines of presentations that never waited would run ahead of the clock unbounded.)
        pace->started = true;
        pace->origin_us = pace->go_us = now_us;
        pace->count = 1;
        return 0;
    }
    const int64_t go = deadline(pace) - pace->early_us;
    ++pace->count;
    pace->go_us = go > now_us ? go : now_us;
    return pace->go_us - now_us;
}

uint32_t PACE_sleep_ms(int64_t wait_us) { return wait_us > 0 ? static_cast<uint32_t>((wait_us + 999) / 1000) : 0; }

int64_t PACE_counter_us(uint64_t count, uint64_t frequency)
{
    if (frequency == 0) return 0;
    return static_cast<int64_t>(count / frequency * 1000000 + count % frequency * 1000000 / frequency);
}
