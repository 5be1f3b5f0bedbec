// CIRCLE: circles with an integer outline drawer and a filled-disc drawer sharing one stepping
// rule, a copy operation and an overlap test.
// Depends on: vector/vec2d, raster/img, base/record, base/report, base/wrap.
// NOTE: centre and radius are in pixels; the drawers use the radius's magnitude and clip through
// the image's pixel writes. A circle owns its centre vector and frees it with itself.
#pragma once
#include <cstdint>

#include "base/report.h"
#include "raster/img.h"
#include "vector/vec2d.h"

struct CIRCLE {
    VEC2D* centre = nullptr;  // owned
    int32_t radius = 0;       // the drawers use its magnitude
    uint32_t colour = 0;      // drawing colour
};

// The module's error report ("CIRCLE error\n").
ErrorReport& CIRCLE_report();

// A new white circle of radius 1 at (0, 0); null on failure.
CIRCLE* CIRCLE_new();
// Frees the circle and its centre and nulls the owner's pointer.
void CIRCLE_free(CIRCLE** circle);
// Copies centre, radius and colour of source into destination's own records.
void CIRCLE_copy(const CIRCLE* source, CIRCLE* destination);
// Plots the outline into the image.
void CIRCLE_draw(const CIRCLE* circle, Image* image);
// Fills the disc into the image (failures are reported through the image module).
void CIRCLE_fill(const CIRCLE* circle, Image* image);
// True when the circles overlap or touch: (ra + rb)^2 >= squared distance of the centres.
bool CIRCLE_overlaps(const CIRCLE* a, const CIRCLE* b);
