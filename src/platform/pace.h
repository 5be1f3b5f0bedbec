// PACE: the hold that paces every presentation of the show on a real display: at most 60 a
// second whatever the refresh rate, so that the show's time follows the clock. Each presentation
// is held until its deadline, 1/60 s after the previous one; a late presentation goes at once and
// the next deadline is one hold after it (no catching up, no burst). Where the display's vertical
// sync keeps up (58 Hz or more), presentations also wait for the refresh, and the hold lets each go
// a quarter refresh early, so that it lands on the first refresh at or after its deadline.
// Depends on: nothing.
// NOTE: times are microseconds on any monotonic clock; the caller sleeps what PACE_delay returns
// and then presents. A refresh rate of 0 or less (unknown) is taken as 60 Hz.
#pragma once
#include <cstdint>

// Presentations a second at most, on every display.
inline constexpr int32_t PACE_hold_rate = 60;
// The slowest refresh that vertical sync may pace: below it, waiting for the refresh would slow
// the show, so the hold alone paces.
inline constexpr int32_t PACE_vsync_min_hz = 58;

struct PACE {
    int64_t origin_us = 0;  // the presentation that began the current run of deadlines
    int64_t count = 0;      // holds from origin_us to the next deadline
    int64_t early_us = 0;   // how long before its deadline a presentation may go
    int64_t go_us = 0;      // the moment PACE_delay gave the last presentation
    bool started = false;
};

// The refresh rate taken for refresh_hz (60 for an unknown rate).
int32_t PACE_rate(int32_t refresh_hz);
// Whether vertical sync paces presentations at a refresh of refresh_hz (unknown counts as 60 Hz).
bool PACE_vsync_keeps_up(int32_t refresh_hz);
// Starts the hold afresh: the next presentation goes at once. vsync tells whether presenting also
// waits for the display's refresh of refresh_hz.
void PACE_init(PACE* pace, int32_t refresh_hz, bool vsync);
// Follows a new refresh rate or vsync state without moving the deadlines (a fresh record, PACE{},
// starts them at its first presentation).
void PACE_set_refresh(PACE* pace, int32_t refresh_hz, bool vsync);
// Microseconds to wait from now_us before presenting; takes the deadline and sets the next. A call
// before the last presentation's moment (its wait was skipped, as a test hook does) starts afresh.
int64_t PACE_delay(PACE* pace, int64_t now_us);
// Whole milliseconds to sleep for a wait of wait_us, rounded up so that a presentation is never
// early for its deadline (0 for no wait).
uint32_t PACE_sleep_ms(int64_t wait_us);
// Microseconds of a high-resolution counter reading at frequency counts a second, split so that
// the product cannot overflow (0 for an unknown frequency).
int64_t PACE_counter_us(uint64_t count, uint64_t frequency);
