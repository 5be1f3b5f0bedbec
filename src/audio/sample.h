// SAMPLE: a growable array of signed 32-bit values with value-wise arithmetic.
// Depends on: base/report, base/record, base/wrap.
// NOTE: audio code reads a buffer as mono sound at 44100 values per second in the 16-bit range,
// with 32-bit headroom while sounds are summed; other code uses it as a plain integer table.
// Products wrap modulo 2^32. Values beyond `length` stay stored and come back when the length
// grows within the capacity; a reservation keeps only the first `length` values. The creator owns
// a buffer (a list owner may take it over) and releases it with SAMPLE_free.
#pragma once
#include <cstdint>
#include <memory>

#include "base/report.h"

struct SAMPLE {
    int32_t length = 0;                // valid values, 0 .. capacity
    int32_t capacity = 0;              // values held in data
    std::unique_ptr<int32_t[]> data;   // capacity values; null exactly when capacity is 0
};

// The module's error report ("SAMPLE error\n").
ErrorReport& SAMPLE_report();

// A new empty buffer with capacity 32 (zeroed), or null when memory runs out.
SAMPLE* SAMPLE_new();
// Frees the buffer and its values and nulls the owner's pointer.
void SAMPLE_free(SAMPLE** sample);
// Makes the capacity exactly n, keeping the first min(length, n) values; new storage is zeroed.
void SAMPLE_reserve(SAMPLE* sample, int32_t n);
// Sets the length to n, growing the capacity to exactly n when it is smaller.
void SAMPLE_set_length(SAMPLE* sample, int32_t n);
// The value at i, or 0 outside 0 .. length - 1.
int32_t SAMPLE_get(const SAMPLE* sample, int32_t i);
// Stores v at i when i lies in 0 .. length - 1.
void SAMPLE_set(SAMPLE* sample, int32_t i, int32_t v);
// Stores v after the last value, doubling the capacity first when the buffer is full.
void SAMPLE_append(SAMPLE* sample, int32_t v);
// Sets all length values to 0.
void SAMPLE_clear(SAMPLE* sample);
// destination[d + k] = source[s + k] for k = 0 .. n - 1; overlapping runs in one buffer move intact.
void SAMPLE_copy_range(const SAMPLE* source, SAMPLE* destination, int32_t n, int32_t s, int32_t d);
// destination[i] += source[i] below the smaller length.
void SAMPLE_add(SAMPLE* destination, const SAMPLE* source);
// destination[i] *= source[i] below the smaller length, wrapping to 32 bits.
void SAMPLE_multiply(SAMPLE* destination, const SAMPLE* source);
// Every value times k, wrapping to 32 bits.
void SAMPLE_scale(SAMPLE* sample, int32_t k);
// Every value divided by k, truncating toward zero.
void SAMPLE_divide(SAMPLE* sample, int32_t k);
// Every value shifted right arithmetically by n (0 .. 31) places.
void SAMPLE_shift_right(SAMPLE* sample, int32_t n);
// Scales the values by a 32.32 gain so that the largest magnitude becomes peak; silence stays.
void SAMPLE_normalise(SAMPLE* sample, int32_t peak);
// Circular shift toward higher indices by k (negative k shifts toward lower ones).
void SAMPLE_rotate(SAMPLE* sample, int32_t k);
// The smallest / largest value; 0 for an empty buffer.
int32_t SAMPLE_min(const SAMPLE* sample);
int32_t SAMPLE_max(const SAMPLE* sample);
// Index of the smallest / largest value, the lowest among equals; 0 for an empty buffer.
int32_t SAMPLE_index_of_min(const SAMPLE* sample);
int32_t SAMPLE_index_of_max(const SAMPLE* sample);
// Writes a Bresenham line of values from (x0, y0) to (x1, y1) into indices x0 .. x1.
void SAMPLE_line(SAMPLE* sample, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
