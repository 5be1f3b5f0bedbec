// MOUSE: the 16 x 16 mouse sprite drawn into the frame at the pointer position.
// Depends on: platform/windpy, platform/winptr, raster/img, base/record, base/report.
// NOTE: the sprite's top-left corner sits at the pointer; its black pixels are transparent; it is
// clipped at the target's edges. pointer, sprite and target are not owned.
#pragma once
#include <cstdint>

#include "base/report.h"
#include "platform/winptr.h"
#include "raster/img.h"

struct MOUSE {
    int32_t screen_x = 0, screen_y = 0;
    int32_t window_x = 0, window_y = 0;
    WINPTR* pointer = nullptr;
    Image* sprite = nullptr;
    Image* target = nullptr;
};

// The module's error report ("MOUSE error\n").
ErrorReport& MOUSE_report();

// A new zeroed mouse record; null while no display exists.
MOUSE* MOUSE_new();
// Copies the four positions of the pointer record.
void MOUSE_update(MOUSE* mouse);
// Keyed copy of the whole sprite into the target at (window_x, window_y).
void MOUSE_draw(MOUSE* mouse);
