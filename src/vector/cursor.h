// CURSOR: a position in a text that steps forward or backward and wraps around at either end.
// Depends on: base/report, base/record.
// NOTE: positions and lengths count bytes; `position` stays in 0 .. length - 1. The cursor points
// at its text and does not own it.
#pragma once
#include <cstdint>

#include "base/report.h"

struct CURSOR {
    int32_t position = 0;        // index of the current character
    int32_t speed = 0;           // characters per CURSOR_advance, may be negative
    int32_t length = 0;          // bytes in text
    const char* text = nullptr;  // not owned
    int32_t saved = 0;           // position remembered by CURSOR_save
};

// The module's error report ("CURSOR Error.\n").
ErrorReport& CURSOR_report();

// A new cursor over "VOXA" (length 4), speed 1, position 0; null when memory runs out.
CURSOR* CURSOR_new();
// Frees the cursor (not its text) and nulls the owner's pointer.
void CURSOR_free(CURSOR** cursor);
// Binds the text with its length and speed and goes back to position 0.
void CURSOR_set(CURSOR* cursor, const char* text, int32_t length, int32_t speed);
// Moves by speed characters, wrapping around the text; an empty text is a failure.
void CURSOR_advance(CURSOR* cursor);
// Remembers the position.
void CURSOR_save(CURSOR* cursor);
// Goes back to the remembered position.
void CURSOR_restore(CURSOR* cursor);
