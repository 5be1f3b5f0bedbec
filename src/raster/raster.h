// RASTER: scrolling colour bars: a table of colours painted one per image column, sliding by a
// fixed-point speed every step.
// Depends on: base/report, base/record, base/wrap, raster/img, base/random.
// NOTE: position and speed are 16.16 fixed point in table entries; position >> 16 is the entry
// painted in column 0. A Raster owns its colour table (count colours, 0x00RRGGBB); callers write
// the entries and the speed directly. count stays below 32768 so that count x 65536 fits a position.
#pragma once
#include <cstdint>
#include <memory>

#include "base/report.h"
#include "raster/img.h"

struct Raster {
    int32_t position = 0;                 // 16.16; within 0 .. count x 65536 after a step
    int32_t speed = 0;                    // 16.16, added at every step; negative scrolls back
    int32_t count = 0;                    // colours in the table
    std::unique_ptr<uint32_t[]> colours;  // count colours
};

// The module's error report ("RASTER error\n").
ErrorReport& RASTER_report();

// A new raster of 256 black colours at position 0, its speed 65536 plus one 15-bit random draw;
// null when memory runs out.
Raster* RASTER_new();
// Replaces the table by n black colours (1 <= n <= 32767) and rewinds the position; the speed stays.
void RASTER_resize(Raster* raster, int32_t n);
// Frees the table and the record and nulls the owner's pointer.
void RASTER_free(Raster** raster);
// Advances the position by the speed, wrapped into 0 .. count x 65536.
void RASTER_step(Raster* raster);
// Paints every column of the image with one table colour, from entry position >> 16 onward.
void RASTER_draw_columns(const Raster* raster, Image* image);
