// BALL3D: a lit sphere drawn as a dense cloud of points over the facing hemisphere.
// Depends on: raster/img, raster/rgb888, base/random, base/record, base/report, base/sine,
// base/wrap.
// NOTE: positions and the radius are in pixels of the target; angles walk the shared sine table
// (half a turn each, 512 x 512 points per draw); the light vector is not normalised (the show keeps
// each component within -10 .. 10). The caller owns the Ball; the Ball never owns its target.
#pragma once
#include <cstdint>

#include "base/report.h"
#include "raster/img.h"

struct Ball {
    int32_t x = 0;            // screen column of the centre
    int32_t y = 0;            // screen row of the centre
    int32_t radius = 0;       // in pixels
    uint32_t colour = 0;      // base colour; only the three channel bytes are used
    Image* target = nullptr;  // image drawn into, not owned
    int32_t light_x = 0;      // light vector: x to the right,
    int32_t light_y = 0;      // y down the screen,
    int32_t light_z = 0;      // z towards the viewer
};

// The module's error report ("BALL3D error\n").
ErrorReport& BALL3D_report();

// A new ball at a random place with a random radius and colour (six 30-bit draws), or null.
Ball* BALL3D_new();
// Frees the ball (not its target) and nulls the owner's pointer.
void BALL3D_free(Ball** ball);
// Plots the ball's 262,144 shaded points into its target, clipped; the last point on a pixel wins.
void BALL3D_draw(Ball* ball);
