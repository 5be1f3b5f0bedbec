// LRADIAL: a turning set of dithered rays from one centre, like the spokes of a wheel.
// Depends on: raster/img, raster/imgfx, base/random, base/record, base/report, base/sine,
// base/wrap.
// NOTE: positions and the radius are pixels of the target; phase, speed and spacing are 16.16
// fixed-point sine-table steps (1024 steps to a turn), the phase kept within 0 .. 0x3FFFFFF.
// A ray set never owns its target.
#pragma once
#include <cstdint>

#include "base/report.h"
#include "raster/img.h"

struct LRADIAL {
    int32_t x = 0, y = 0;           // centre of the rays
    int32_t width = 0, height = 0;  // size of the target, refreshed at every draw
    uint32_t colour = 0;            // colour of each ray at the centre
    int32_t rays = 0;               // number of rays
    uint32_t phase = 0;             // angle of the first ray
    int32_t speed = 0;              // added to phase each frame; negative turns the other way
    int32_t spacing = 0;            // angle between neighbouring rays
    int32_t radius = 0;             // length of every ray in pixels
    Image* target = nullptr;        // drawn into, not owned
};

// The module's error report ("LRADIAL error\n").
ErrorReport& LRADIAL_report();

// A new ray set of 16 rays about (128, 128) with random speed, radius and colour; null on failure.
LRADIAL* LRADIAL_new();
// Frees the ray set (not its target) and nulls the owner's pointer.
void LRADIAL_free(LRADIAL** rays);
// Sets the number of rays (> 0) and spaces them evenly over a turn, rounding the spacing down.
void LRADIAL_set_rays(LRADIAL* rays, int32_t count);
// Turns the set by its speed.
void LRADIAL_move(LRADIAL* rays);
// Draws every ray into the target, solid at the centre and broken towards the tip.
void LRADIAL_draw(LRADIAL* rays);
