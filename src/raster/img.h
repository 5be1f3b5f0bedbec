// IMG: the frame image and the pixel primitives every picture is drawn with.
// Depends on: base/report, base/record.
// NOTE: pixels are 32-bit words 0x00RRGGBB (red in bits 16..23, blue in 0..7, high byte 0), rows
// back to back from the top-left pixel: pixel (col, row) is pixels[col + row * width]. The word 0
// is the transparent key of every keyed copy. An Image owns its pixel block; whoever creates an
// Image owns it and releases it with IMG_free. Drawing clips silently and never fails.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "base/report.h"

struct Image {
    int32_t x = 0;       // placement column inside another image (half blends, sprites)
    int32_t y = 0;       // placement row
    int32_t width = 0;   // in pixels
    int32_t height = 0;  // in pixels
    std::unique_ptr<uint32_t[]> pixels;  // width * height pixels, or null
};

// The module's error report ("IMG error\n").
ErrorReport& IMG_report();

// A new 16 x 16 black image, or null when memory runs out.
Image* IMG_new();
// Frees the image and its pixels and nulls the owner's pointer.
void IMG_free(Image** image);
// Replaces the pixels by a zeroed block of width x height; the content is always lost.
void IMG_resize(Image* image, int32_t width, int32_t height);
// Copies every pixel of source into destination; both must have the same size.
void IMG_copy(const Image* source, Image* destination);
// Sets every pixel to value.
void IMG_fill(Image* image, uint32_t value);
// Writes value at (col, row) when that lies inside; outside nothing happens.
void IMG_put(Image* image, int32_t col, int32_t row, uint32_t value);
// The pixel at (col, row), or 0 outside the image.
uint32_t IMG_get(const Image* image, int32_t col, int32_t row);
// Keyed copy of a w x h rectangle from (src_col, src_row) of source to (dst_col, dst_row) of
// destination, clipped on both; source pixels equal to 0 are skipped.
void IMG_blit(const Image* source, Image* destination, int32_t src_col, int32_t src_row,
              int32_t dst_col, int32_t dst_row, int32_t w, int32_t h);
// Adds colour to every pixel, channel by channel, each channel saturating at 255.
void IMG_add(Image* image, uint32_t colour);
// Subtracts colour from every pixel, channel by channel, each channel floored at 0.
void IMG_sub(Image* image, uint32_t colour);
// destination[i] &= mask[i] for every pixel index of the mask (both of the same size).
void IMG_and(const Image* mask, Image* destination);
// Copies one source column into one destination column from dst_row down, wrapping from the
// bottom edge to the top; source pixels equal to 0 are skipped.
void IMG_blit_column(const Image* source, Image* destination, int32_t src_col, int32_t dst_col,
                     int32_t dst_row);
// Sets every pixel of the rectangle that lies inside the image.
void IMG_fill_rect(Image* image, int32_t col, int32_t row, int32_t w, int32_t h, uint32_t value);
// Line from (col0, row0) to (col1, row1), both ends included, clipped pixel by pixel.
void IMG_line(Image* image, int32_t col0, int32_t row0, int32_t col1, int32_t row1, uint32_t value);
// Horizontal run between two columns inclusive (in either order), clipped.
void IMG_hline(Image* image, int32_t row, int32_t col0, int32_t col1, uint32_t value);
// Vertical run from row0 down to row1 inclusive, clipped; row1 < row0 draws nothing.
void IMG_vline(Image* image, uint32_t value, int32_t col, int32_t row0, int32_t row1);

// A rectangle to copy: source corner, destination corner and size.
struct ImageRect {
    int64_t sc, sr, dc, dr, w, h;
};
// Clips a rectangle against both images the way the keyed copy does; false when nothing is left.
bool IMG_clip_blit(const Image* source, const Image* destination, ImageRect& rect);

// Hands every point of the line from (col0, row0) to (col1, row1) to plot(col, row), in the
// order IMG_line draws them: integer steps along the longer axis with a halved-error start.
template <class Plot>
void IMG_walk_line(int32_t col0, int32_t row0, int32_t col1, int32_t row1, Plot plot)
{
    const int64_t dx = int64_t{col1} - col0, dy = int64_t{row1} - row0;
    const int64_t sx = dx > 0 ? 1 : (dx < 0 ? -1 : 0), sy = dy > 0 ? 1 : (dy < 0 ? -1 : 0);
    const int64_t ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
    int64_t col = col0, row = row0;
    if (ax > ay) {
        int64_t err = ax >> 1;
        for (int64_t i = 0; i <= ax; ++i) {
            plot(col, row);
            col += sx;
            err -= ay;
            if (err <= 0) err += ax, row += sy;
        }
    } else {
        int64_t err = ay >> 1;
        for (int64_t i = 0; i <= ay; ++i) {
            plot(col, row);
            row += sy;
            err -= ax;
            if (err <= 0) err += ay, col += sx;
        }
    }
}

// Decodes a PNM image (P1..P6) of `size` bytes into a new image owned by the caller; null when
// the data is not a complete PNM image. Never reads past data + size.
Image* IMG_decode_pnm(const unsigned char* data, std::size_t size);

// Channel arithmetic shared by the row loops of the raster modules.
constexpr uint32_t IMG_add_pixel_value(uint32_t p, uint32_t r, uint32_t g, uint32_t b)
{
    uint32_t pr = (p & 0xFF0000) + r, pg = (p & 0xFF00) + g, pb = (p & 0xFF) + b;
    return (pr > 0xFF0000 ? 0xFF0000 : pr) | (pg > 0xFF00 ? 0xFF00 : pg) | (pb > 0xFF ? 0xFF : pb);
}
constexpr uint32_t IMG_sub_pixel_value(uint32_t p, uint32_t r, uint32_t g, uint32_t b)
{
    uint32_t pr = p & 0xFF0000, pg = p & 0xFF00, pb = p & 0xFF;
    return (pr > r ? pr - r : 0) | (pg > g ? pg - g : 0) | (pb > b ? pb - b : 0);
}
