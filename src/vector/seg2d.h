// SEG2D: one straight line between two points, the building block of vector objects.
// Depends on: vector/vec2d, raster/img, base/report, base/record.
// NOTE: coordinates are in object units until an object's draw turns them into pixels; the colour
// of the whole line is that of p1. A segment owns its two end points (held in the record, so
// their addresses stay fixed for the segment's life and other lists may point at them).
#pragma once
#include <cstdint>

#include "base/report.h"
#include "raster/img.h"
#include "vector/vec2d.h"

struct SEG2D {
    VEC2D p1{0, 0, 0xFFFFFF};  // first end point; its colour is the line's
    VEC2D p2{1, 1, 0xFFFFFF};  // second end point
};

// The module's error report ("SEG2D error\n").
ErrorReport& SEG2D_report();

// A new segment (0, 0)-(1, 1), white; null when memory runs out.
SEG2D* SEG2D_new();
// Frees the segment and nulls the owner's pointer.
void SEG2D_free(SEG2D** segment);
// Copies both end points (coordinates and colours) of source into destination.
void SEG2D_copy(const SEG2D* source, SEG2D* destination);
// Multiplies both end points per axis by factors.
void SEG2D_mul(SEG2D* segment, const VEC2D* factors);
// Turns both end points about the origin by angle sine-table steps.
void SEG2D_rotate(SEG2D* segment, int32_t angle);
// Adds offset to both end points.
void SEG2D_translate(SEG2D* segment, const VEC2D* offset);
// Draws the line p1-p2 in the colour of p1 into the image, clipped.
void SEG2D_draw(const SEG2D* segment, Image* image);
