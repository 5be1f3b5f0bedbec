// PACE: presentation paced like a display's refresh, for platforms whose renderer does not wait
// for the display itself: presentations fall on the refresh's slots, at most one per slot, and a
// late one waits for the next slot, as with a display's vertical sync.
// Depends on: nothing.
// NOTE: times are microseconds on any monotonic clock; the caller sleeps what PACE_delay returns
// and then presents. A refresh rate of 0 or less (unknown) is taken as 60 Hz.
#pragma once
#include <cstdint>

struct PACE {
    int64_t period_us = 0;  // one refresh
    int64_t next_us = 0;    // the earliest slot for the next presentation
    bool started = false;
};

// Sets the refresh rate in Hz and forgets earlier presentations.
void PACE_init(PACE* pace, int32_t refresh_hz);
// The refresh rate PACE_init used for refresh_hz (60 for an unknown rate).
int32_t PACE_rate(int32_t refresh_hz);
// Microseconds to wait from now_us until the presentation's slot; takes that slot. The first
// presentation waits for nothing and starts the slots.
int64_t PACE_delay(PACE* pace, int64_t now_us);
// Whole milliseconds to sleep for a wait of wait_us, rounded up so that a presentation is never
// early for its slot (0 for no wait).
uint32_t PACE_sleep_ms(int64_t wait_us);
// Microseconds of a high-resolution counter reading at frequency counts a second, split so that
// the product cannot overflow (0 for an unknown frequency).
int64_t PACE_counter_us(uint64_t count, uint64_t frequency);
