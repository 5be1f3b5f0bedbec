// Shared by the tests of the line effects (radial lines, sine dots, sine lines): a canvas to draw
// on and the sum of three sine waves that the dots and the bands are made of.
#pragma once
#include <cstdint>

#include "base/sine.h"
#include "base/wrap.h"
#include "raster/img.h"
#include "support/images.h"

// Sum of three waves as the dots and the bands define it.
inline int32_t wave(int32_t a1, int32_t p1, int32_t a2, int32_t p2, int32_t a3, int32_t p3)
{
    return wrap_add(wrap_add(wrap_mul(a1, SINE_at(p1)), wrap_mul(a2, SINE_at(p2))), wrap_mul(a3, SINE_at(p3))) >> 16;
}
