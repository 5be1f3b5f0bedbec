// IMGFX: image-to-image effects: glare and blur of the frame pipeline, additive and half blits,
// inversion, and lines and runs that mix colours instead of overwriting them.
// Depends on: raster/img, raster/rgb888, base/report.
// NOTE: pixels are 0x00RRGGBB words as in IMG; the half blend of s into d is
// ((s >> 1) & 0x7F7F7F) + ((d >> 1) & 0x7F7F7F); the saturating add limits each channel to 255.
// Source and destination of glare and blur are always different images.
#pragma once
#include <cstdint>

#include "base/report.h"
#include "raster/img.h"

// The module's error report ("IMGFX error\n").
ErrorReport& IMGFX_report();

// Saturating add of a w x h source rectangle onto the destination, clipped like IMG_blit.
void IMGFX_blit_add(const Image* source, Image* destination, int32_t src_col, int32_t src_row,
                    int32_t dst_col, int32_t dst_row, int32_t w, int32_t h);
// Half blend of every non-zero pixel of a source rectangle into the destination, clipped like IMG_blit.
void IMGFX_blit_half(const Image* source, Image* destination, int32_t src_col, int32_t src_row,
                     int32_t dst_col, int32_t dst_row, int32_t w, int32_t h);
// Half blend of every non-zero pixel of the whole source, placed at its own x, y, into the destination.
void IMGFX_blend_at(const Image* source, Image* destination);
// Every pixel p becomes (NOT p) & 0xFFFFFF.
void IMGFX_invert(Image* image);
// Horizontal blur (weights 1 1 4 1 1, sum >> 3 per channel) of source into destination.
void IMGFX_blur(const Image* source, Image* destination);
// Horizontal glare of source into destination: per channel (left >> shift) + (right >> shift) +
// centre, limited to 255.
void IMGFX_glare(const Image* source, Image* destination, int32_t shift);
// Same as IMG_fill_rect, reporting through this module.
void IMGFX_fill_rect(Image* image, int32_t col, int32_t row, int32_t w, int32_t h, uint32_t value);
// Same as IMG_and, reporting through this module.
void IMGFX_and(const Image* mask, Image* destination);
// Vertical run like IMG_vline, the rows put in order first and the value last.
void IMG_vline_ordered(Image* image, int32_t col, int32_t row0, int32_t row1, uint32_t value);
// Vertical run that mixes colour into the pixels with weight alpha of 256.
void IMG_vline_blend(Image* image, int32_t col, int32_t row0, int32_t row1, uint32_t colour, int32_t alpha);
// Line from colour0 to colour1 with a growing density of colour1 points.
void IMGFX_line_dither(Image* image, int32_t col0, int32_t row0, uint32_t colour0, int32_t col1,
                       int32_t row1, uint32_t colour1);
// Line whose colour runs linearly from colour0 to colour1 (16.16 channel steps).
void IMGFX_line_gradient(Image* image, int32_t col0, int32_t row0, uint32_t colour0, int32_t col1,
                         int32_t row1, uint32_t colour1);
// Saturating add of colour to the pixel at (col, row) when it lies inside.
void IMG_add_pixel(Image* image, int32_t col, int32_t row, uint32_t colour);
