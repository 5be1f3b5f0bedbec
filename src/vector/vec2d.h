// VEC2D: an integer 2-D point with a colour, turned by sine-table angles.
// Depends on: base/report, base/record, base/sine, base/wrap.
// NOTE: x grows to the right and y down the screen; angles are sine-table steps, 1024 to a turn,
// so a growing angle turns clockwise on screen. Products wrap on 32-bit words.
#pragma once
#include <cstdint>

#include "base/report.h"

struct VEC2D {
    int32_t x = 0;
    int32_t y = 0;
    uint32_t colour = 0xFFFFFF;  // 0x00RRGGBB; a line takes the colour of its first point
};

// The module's error report ("VEC2D error\n").
ErrorReport& VEC2D_report();

// A new vector (0, 0), white; null when memory runs out.
VEC2D* VEC2D_new();
// Frees the vector and nulls the owner's pointer.
void VEC2D_free(VEC2D** vector);
// destination takes x, y and colour of source.
void VEC2D_copy(const VEC2D* source, VEC2D* destination);
// target += offset (the second argument changes).
void VEC2D_add(const VEC2D* offset, VEC2D* target);
// target -= offset (the first argument changes).
void VEC2D_sub(VEC2D* target, const VEC2D* offset);
// target.x *= factors.x, target.y *= factors.y.
void VEC2D_mul(VEC2D* target, const VEC2D* factors);
// target.x *= k, target.y *= k.
void VEC2D_scale(VEC2D* target, int32_t k);
// Rotation about the origin by angle steps; angle 0 leaves the vector as it is.
void VEC2D_rotate(VEC2D* target, int32_t angle);
// x*x + y*y (wrapping), or -1 for a null vector.
int32_t VEC2D_length2(const VEC2D* vector);
