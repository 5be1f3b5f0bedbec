// SINELINE: a rolling band: a wavy line, the sum of three sine waves, with the ground below it
// tinted in the line's colour.
// Depends on: raster/img, raster/imgfx, vector/vec2d, base/sine, base/wrap, base/random,
// base/report, base/record.
// NOTE: phases are sine-table steps kept within 0 .. 1023. The record owns its point array,
// allocated by SINELINE_set_points and rewritten by every SINELINE_compute (never per frame).
// y is the band's top row in the target; the points' y values are relative to it.
#pragma once
#include <cstdint>
#include <memory>

#include "base/report.h"
#include "raster/img.h"
#include "vector/vec2d.h"

struct SINELINE_point {
    int32_t x = 0, y = 0;
};

struct SINELINE {
    int32_t x = 0, y = 0;           // y: top row of the band; x is not used
    int32_t width = 0, height = 0;  // band size; height sets the vertical amplitudes and the fill
    int32_t phase1x = 0, phase1y = 0, phase2x = 0, phase2y = 0, phase3x = 0, phase3y = 0;
    int32_t speed1x = 0, speed1y = 0, speed2x = 0, speed2y = 0, speed3x = 0, speed3y = 0;  // per frame
    int32_t step1x = 0, step1y = 0, step2x = 0, step2y = 0, step3x = 0, step3y = 0;        // per point
    VEC2D amplitude1, amplitude2, amplitude3;  // halves, quarters and eighths of the size
    uint32_t colour = 0;                       // line and fill colour
    int32_t point_count = 0;
    std::unique_ptr<SINELINE_point[]> point_array;  // point_count points, owned
};

// The module's error report ("SINELINE error\n").
ErrorReport& SINELINE_report();

// A new red 256 x 256 band of 16 points, randomised twice (36 draws); null on failure.
SINELINE* SINELINE_new();
// Frees the band and its points and nulls the owner's pointer.
void SINELINE_free(SINELINE** line);
// Replaces the point array by a zeroed one of count (> 0) points, then randomises.
void SINELINE_set_points(SINELINE* line, int32_t count);
// Draws new phases, speeds and steps: 18 process-wide 15-bit draws in a fixed order.
void SINELINE_randomise(SINELINE* line);
// Fills the point array from the waves, then advances the phases by their speeds.
void SINELINE_compute(SINELINE* line);
// Draws the line with point k at column k * column_step and tints each point's column below it.
void SINELINE_draw(SINELINE* line, Image* image, int32_t column_step);
