// UPSCALE: nearest-neighbour enlargement of a presentation for the recorder's writers: every pixel
// becomes a scale x scale block of 24-bit RGB.
// Depends on: base/report.
// NOTE: source pixels are 0x00RRGGBB words, top row first (the high byte is ignored); the output is
// packed R, G, B bytes, top row first, width * scale * 3 bytes a row. The caller owns both buffers;
// nothing here allocates, so the writers can scale every frame into buffers made once.
#pragma once
#include <cstdint>

#include "base/report.h"

// The largest scale. 8 makes 2048 x 2048 pictures of the 256 x 256 frame: the largest that fits a
// 3840 x 2160 screen, and within what H.264 decoders of level 5.1 take (36,864 macroblocks, such as
// 4096 x 2304); 16 would make 4096 x 4096, which no common screen shows whole and many decoders
// refuse, at four times the encoding time.
inline constexpr int32_t UPSCALE_max = 8;

ErrorReport& UPSCALE_report();

// Writes one row of width pixels as width * scale RGB pixels (width * scale * 3 bytes).
void UPSCALE_row(const uint32_t* row, int32_t width, int32_t scale, uint8_t* out);
// Writes a width x height picture as (width * scale) x (height * scale) RGB pixels: each scaled row
// is built once and copied scale - 1 times below itself.
void UPSCALE_picture(const uint32_t* pixels, int32_t width, int32_t height, int32_t scale, uint8_t* out);
