// WINPTR: the pointer position, in screen pixels and in the window's client pixels.
// Depends on: platform/os, platform/windpy, base/record, base/report.
// NOTE: window_x, window_y are the frame's pixel grid (0, 0 at the client area's top-left) and
// may lie outside it; the module keeps one record; creating it hides the system cursor.
#pragma once
#include <cstdint>

#include "base/report.h"

struct WINPTR {
    int32_t screen_x = 0, screen_y = 0;
    int32_t window_x = 0, window_y = 0;
};

// The module's error report ("WINPTR error\n").
ErrorReport& WINPTR_report();

// The pointer record (made on the first call); null while no display exists.
WINPTR* WINPTR_new();
// Reads the pointer; the record is left as it is when it cannot be read.
void WINPTR_update(WINPTR* pointer);
