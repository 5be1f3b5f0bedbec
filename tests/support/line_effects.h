// Shared by the tests of the line effects (radial lines, sine dots, sine lines): a canvas to draw
// on and the sum of three sine waves that the dots and the bands are made of.
#pragma once
#include <cstdint>

#include "base/sine.h"
#include "base/wrap.h"
#include "raster/img.h"

struct Canvas {
    Image* image = IMG_new();
    Canvas(int32_t w, int32_t h, uint32_t fill = 0)
    {
        IMG_resize(image, w, h);
        IMG_fill(image, fill);
    }
    ~Canvas() { IMG_free(&image); }
    uint32_t at(int32_t c, int32_t r) const { return IMG_get(image, c, r); }
    int count_not(uint32_t v) const
    {
        int n = 0;
        for (int64_t k = 0; k < int64_t{image->width} * image->height; ++k) n += image->pixels[k] != v;
        return n;
    }
};

// Sum of three waves as the dots and the bands define it.
inline int32_t wave(int32_t a1, int32_t p1, int32_t a2, int32_t p2, int32_t a3, int32_t p3)
{
    return wrap_add(wrap_add(wrap_mul(a1, SINE_at(p1)), wrap_mul(a2, SINE_at(p2))), wrap_mul(a3, SINE_at(p3))) >> 16;
}
