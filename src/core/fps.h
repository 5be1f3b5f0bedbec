// FPS: the frame timer: measures each frame, counts frames and sleeps away the rest of the period.
// Depends on: platform/os, base/record, base/report.
// NOTE: times are microseconds held in doubles but with the millisecond resolution of the tick
// counter; frame_count counts finished frames since start-up and is the show's animation clock.
#pragma once
#include <cstdint>

#include "base/report.h"

struct FPS {
    int32_t target_rate = 0;     // wanted frames per second (50 or 100)
    int32_t measured_rate = 0;   // 1,000,000 / elapsed_us of the last finished frame
    int32_t effective_rate = 0;  // the rate the overlay shows
    int32_t wait_us = 0;         // microseconds left in the last frame's period
    double start_us = 0;         // start of the current frame
    double end_us = 0;           // end of the last finished frame
    double elapsed_us = 0;       // whole microseconds of the last finished frame, at least 1
    int32_t frame_count = 0;     // frames finished since start-up
};

// The module's error report (silent).
ErrorReport& FPS_report();

// The tick counter in microseconds (millisecond resolution).
double FPS_now();
// A new zeroed timer, or null when memory runs out.
FPS* FPS_new();
// Frees the timer and nulls the owner's pointer.
void FPS_free(FPS** timer);
// Notes the start of a frame.
void FPS_begin(FPS* timer);
// Counts and measures the frame.
void FPS_end(FPS* timer);
// Sleeps for the rest of the period and sets effective_rate.
void FPS_wait(FPS* timer);
