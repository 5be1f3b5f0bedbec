// SINEDOTS: a swarm of dots along a writhing Lissajous-like ribbon, each dot the sum of three
// sine waves in x and three in y, added onto an image with per-channel saturation.
// Depends on: vector/vec2d, raster/img, raster/rgb888, base/random, base/record, base/report,
// base/sine, base/wrap.
// NOTE: phases are sine-table steps kept within 0 .. 1023; speeds advance the phases once per
// frame, steps from one dot to the next. The record owns nothing; the image is the caller's.
#pragma once
#include <cstdint>

#include "base/report.h"
#include "raster/img.h"
#include "vector/vec2d.h"

struct SINEDOTS {
    int32_t width = 0, height = 0;  // size of the image last drawn into
    VEC2D phase1, phase2, phase3;   // starting phase of each wave for the first dot (x and y)
    VEC2D speed1, speed2, speed3;   // added to the matching phase each frame
    int32_t step1x = 0, step1y = 0, step2x = 0, step2y = 0, step3x = 0, step3y = 0;  // per dot
    VEC2D amplitude1, amplitude2, amplitude3;  // set from the image size at every draw
    uint32_t colour = 0;                       // added for every dot
    int32_t dots = 0;                          // number of dots
};

// The module's error report ("SINEDOTS error\n").
ErrorReport& SINEDOTS_report();

// A new swarm of 16 red dots with random waves (18 draws); null on failure.
SINEDOTS* SINEDOTS_new();
// Frees the swarm and nulls the owner's pointer.
void SINEDOTS_free(SINEDOTS** swarm);
// Sets the number of dots (> 0).
void SINEDOTS_set_dots(SINEDOTS* swarm, int32_t count);
// Draws new phases, speeds and steps: 18 process-wide 15-bit draws in a fixed order.
void SINEDOTS_randomise(SINEDOTS* swarm);
// Advances the six phases by their speeds.
void SINEDOTS_move(SINEDOTS* swarm);
// Adds every dot's colour into the image, saturating; dots outside are dropped.
void SINEDOTS_draw(SINEDOTS* swarm, Image* image);
