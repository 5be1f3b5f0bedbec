// DISTY: the column distorter, copying an image column by column into another image, each column
// moved up or down by a sine of its own phase.
// Depends on: vector/cursorx, raster/img, base/record, base/report, base/sine, base/wrap.
// NOTE: x and y are pixels in the destination; the wave's phase is in sine-table steps and moves
// by wave.offset_step from column to column and by wave.speed per DISTY_advance. A column moves by
// at most amplitude / 2 rows either way. The distorter points at its source and does not own it.
#pragma once
#include <cstdint>

#include "base/report.h"
#include "raster/img.h"
#include "vector/cursorx.h"

struct DISTY {
    int32_t x = 0;  // destination column of source column 0
    int32_t y = 0;  // destination row of the undistorted top edge
    CURSORX wave{1024, 0, 0, 1, 0, 16};  // sine phase: modulus = the table's size, offset step 16
    int32_t amplitude = 16;
    Image* source = nullptr;  // not owned
};

// The module's error report (it counts failures and never prints).
ErrorReport& DISTY_report();

// A new distorter: x = y = 0, amplitude 16, the wave above, no source; null on failure.
DISTY* DISTY_new();
// Frees the distorter (not its source) and nulls the owner's pointer.
void DISTY_free(DISTY** disty);
// Copies every source column into destination, moved down by its sine and wrapped at the bottom
// edge; black source pixels are left out and columns outside the destination dropped.
void DISTY_draw(DISTY* disty, Image* destination);
// Moves the whole wave on by wave.speed phase steps.
void DISTY_advance(DISTY* disty);
