#include "vector/cursor.h"

#include "base/record.h"

static ErrorReport cursor_errors{"CURSOR Error.\n", false, 0};

ErrorReport& CURSOR_report() { return cursor_errors; }

CURSOR* CURSOR_new()
{
    CURSOR* cursor = record_new<CURSOR>();
    if (!cursor) {
        REPORT_raise(cursor_errors);
        return nullptr;
    }
    CURSOR_set(cursor, "VOXA", 4, 1);
    return cursor;
}

void CURSOR_free(CURSOR** cursor)
{
    if (!cursor || !*cursor) {
        REPORT_raise(cursor_errors);
        return;
    }
    record_free(cursor);
}

void CURSOR_set(CURSOR* cursor, const char* text, int32_t length, int32_t speed)
{
    if (!cursor) {
        REPORT_raise(cursor_errors);
        return;
    }
    cursor->text = text;
    cursor->length = length;
    cursor->speed = speed;
    cursor->position = 0;
}

void CURSOR_advance(CURSOR* cursor)
{
    // Without a character to stand on there is nothing to wrap around (and nothing to divide by).
    if (!cursor || cursor->length <= 0) {
        REPORT_raise(cursor_errors);
        return;
    }
    int64_t p = (int64_t{cursor->position} + cursor->speed) % cursor->length;
    if (p < 0) p += cursor->length;
    cursor->position = static_cast<int32_t>(p);
}

void CURSOR_save(CURSOR* cursor)
{
    if (!cursor) {
        REPORT_raise(cursor_errors);
        return;
    }
    cursor->saved = cursor->position;
}

void CURSOR_restore(CURSOR* cursor)
{
    if (!cursor) {
        REPORT_raise(cursor_errors);
        return;
    }
    cursor->position = cursor->saved;
}
