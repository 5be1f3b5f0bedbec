// RANDOM: the process-wide 15-bit generator and self-contained 24-bit Random records.
// Depends on: base/report, base/record.
// NOTE: all arithmetic wraps on 32-bit words. The process-wide state is 1 until RANDOM_seed15;
// every draw happens in a fixed order, which is what makes the whole show reproducible.
#pragma once
#include <cstdint>

#include "base/report.h"

struct Random {
    uint32_t counter = 0x12345678;  // step counter, incremented before every draw
    uint32_t factor = 0x8175;       // 24-bit multiplicative state
    uint32_t value = 1;             // the last result (24-bit)
};

// The module's error report ("RANDOM error\n").
ErrorReport& RANDOM_report();

// Sets the process-wide state to seed.
void RANDOM_seed15(uint32_t seed);
// One step of the process-wide generator: 0 .. 32767.
int32_t RANDOM_rand15();
// Two steps, the first the high half: 0 .. 2^30 - 1.
int32_t RANDOM_rand30();
// The process-wide state as it stands (tests count draws with it).
uint32_t RANDOM_state();
// A new Random record with the initial values, or null when memory runs out.
Random* RANDOM_new();
// Frees a Random record and nulls the owner's pointer.
void RANDOM_free(Random** random);
// One step of the record's generator: 0 .. 2^24 - 1; 0 for a null record.
uint32_t RANDOM_next(Random* random);
