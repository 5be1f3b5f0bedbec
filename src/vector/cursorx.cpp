#include "vector/cursorx.h"

#include "base/record.h"
#include "base/wrap.h"

// Counts failures but has no line to print, even with its switch on.
static ErrorReport cursorx_errors{"", false, 0};

ErrorReport& CURSORX_report() { return cursorx_errors; }

static bool usable(const CURSORX* cursor) { return cursor && cursor->modulus > 0; }

// The mathematical remainder in 0 .. modulus - 1.
static int32_t reduce(int64_t value, int32_t modulus)
{
    int64_t r = value % modulus;
    if (r < 0) r += modulus;
    return static_cast<int32_t>(r);
}

CURSORX* CURSORX_new()
{
    CURSORX* cursor = record_new<CURSORX>();
    if (!cursor) REPORT_raise(cursorx_errors);
    return cursor;
}

void CURSORX_free(CURSORX** cursor)
{
    if (!cursor || !*cursor) {
        REPORT_raise(cursorx_errors);
        return;
    }
    record_free(cursor);
}

void CURSORX_update(CURSORX* cursor)
{
    if (!usable(cursor)) {
        REPORT_raise(cursorx_errors);
        return;
    }
    cursor->index = reduce(wrap_add(cursor->position, cursor->offset), cursor->modulus);
}

int32_t CURSORX_advance(CURSORX* cursor)
{
    if (!usable(cursor)) {
        REPORT_raise(cursorx_errors);
        return -1;
    }
    // Same result as subtracting or adding the modulus until the position is back in range.
    cursor->position = reduce(int64_t{cursor->position} + cursor->speed, cursor->modulus);
    CURSORX_update(cursor);
    return cursor->index;
}

int32_t CURSORX_step_offset(CURSORX* cursor)
{
    if (!usable(cursor)) {
        REPORT_raise(cursorx_errors);
        return -1;
    }
    cursor->offset = wrap_add(cursor->offset, cursor->offset_step);
    CURSORX_update(cursor);
    return cursor->index;
}

int32_t CURSORX_set_offset(CURSORX* cursor, int32_t value)
{
    if (!usable(cursor)) {
        REPORT_raise(cursorx_errors);
        return -1;
    }
    cursor->offset = value;
    CURSORX_update(cursor);
    return cursor->index;
}
