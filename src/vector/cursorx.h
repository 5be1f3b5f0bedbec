// CURSORX: a cyclic index, a position that wraps modulo a fixed size plus a free-running offset.
// Depends on: base/report, base/record, base/wrap.
// NOTE: all values are plain integers (typically sine-table phases); `position` and `index` stay
// in 0 .. modulus - 1, `offset` is never reduced and wraps on 32 bits. The modulus must be at
// least 1; operations on a record with a smaller one fail and return -1.
#pragma once
#include <cstdint>

#include "base/report.h"

struct CURSORX {
    int32_t modulus = 1024;   // size of the cycle
    int32_t index = 0;        // (position + offset) reduced into 0 .. modulus - 1
    int32_t position = 0;     // kept in 0 .. modulus - 1
    int32_t speed = 1;        // added to position by CURSORX_advance
    int32_t offset = 0;       // free-running
    int32_t offset_step = 2;  // added to offset by CURSORX_step_offset
};

// The module's error report (it counts failures and never prints).
ErrorReport& CURSORX_report();

// A new cyclic index: modulus 1024, speed 1, offset step 2, the rest 0; null on failure.
CURSORX* CURSORX_new();
// Frees the record and nulls the owner's pointer.
void CURSORX_free(CURSORX** cursor);
// index = (position + offset) mod modulus, never negative.
void CURSORX_update(CURSORX* cursor);
// position += speed, wrapped into the cycle; returns the new index.
int32_t CURSORX_advance(CURSORX* cursor);
// offset += offset_step; returns the new index.
int32_t CURSORX_step_offset(CURSORX* cursor);
// offset = value; returns the new index.
int32_t CURSORX_set_offset(CURSORX* cursor, int32_t value);
