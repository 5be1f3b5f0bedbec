// WINDPY: the display: the window with its 256 x 256 client area and presentation of frames.
// Depends on: platform/os, raster/img, base/record, base/report.
// NOTE: frames are shown 1:1 at the client area's top-left corner; the module keeps the single
// display record.
#pragma once
#include <cstdint>

#include "base/report.h"
#include "raster/img.h"

struct WINDPY {
    int32_t width = 0;   // client width in pixels
    int32_t height = 0;  // client height in pixels
};

// The module's error report ("WINDPY error\n").
ErrorReport& WINDPY_report();

// Creates the display and opens the 256 x 256 window; null when no window can be made.
WINDPY* WINDPY_new();
// Frees the display record and stores null in *display; the module forgets it, so that a later
// WINDPY_new opens its window anew. The show never calls it (its display lives until the end).
void WINDPY_free(WINDPY** display);
// Opens (or re-places) the window with a client area of width x height.
bool WINDPY_open(WINDPY* display, int32_t width, int32_t height);
// Presents an image of exactly the display's size.
void WINDPY_show(WINDPY* display, const Image* image);
// The display record, or null before WINDPY_new.
WINDPY* WINDPY_current();
