#include "raster/imgfx.h"

#include <algorithm>
#include <utility>

#include "raster/rgb888.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

static ErrorReport imgfx_errors{"IMGFX error\n", false, 0};

ErrorReport& IMGFX_report() { return imgfx_errors; }

static bool has_pixels(const Image* image) { return image && image->pixels; }

static constexpr uint32_t half_blend(uint32_t s, uint32_t d) { return ((s >> 1) & 0x7F7F7F) + ((d >> 1) & 0x7F7F7F); }

// Turns the lanes of rb (red and blue, 16 bits each) and g (green) whose channel sum went above
// 255 into 255. Sums stay below 1024, so bits 8 and 9 of a lane tell whether it overflowed.
static inline uint32_t saturate_lanes(uint32_t rb, uint32_t g)
{
    const uint32_t rb_hi = (rb >> 8) & 0x00030003, g_hi = (g >> 16) & 3;
    const uint32_t rb_over = (rb_hi | (rb_hi >> 1)) & 0x00010001, g_over = (g_hi | (g_hi >> 1)) & 1;
    return ((rb | ((rb_over << 8) - rb_over)) & 0xFF00FF) | ((g | ((g_over << 16) - (g_over << 8))) & 0xFF00);
}

// Per-channel saturating add of two pixels, their high bytes ignored; same as RGB888_add.
static inline uint32_t add_pixels(uint32_t a, uint32_t b)
{
    return saturate_lanes((a & 0xFF00FF) + (b & 0xFF00FF), (a & 0xFF00) + (b & 0xFF00));
}

void IMGFX_blit_add(const Image* source, Image* destination, int32_t src_col, int32_t src_row,
                    int32_t dst_col, int32_t dst_row, int32_t w, int32_t h)
{
    if (!has_pixels(source) || !has_pixels(destination)) {
        REPORT_raise(imgfx_errors);
        return;
    }
    ImageRect r{src_col, src_row, dst_col, dst_row, w, h};
    if (!IMG_clip_blit(source, destination, r)) return;
    // Row by row from the top, so a source and destination that are one image work when the
    // rectangles do not overlap.
    for (int64_t row = 0; row < r.h; ++row) {
        const uint32_t* s = source->pixels.get() + r.sc + (r.sr + row) * source->width;
        uint32_t* d = destination->pixels.get() + r.dc + (r.dr + row) * destination->width;
        for (int64_t col = 0; col < r.w; ++col) d[col] = add_pixels(s[col], d[col]);
    }
}

void IMGFX_blit_half(const Image* source, Image* destination, int32_t src_col, int32_t src_row,
                     int32_t dst_col, int32_t dst_row, int32_t w, int32_t h)
{
    if (!has_pixels(source) || !has_pixels(destination)) {
        REPORT_raise(imgfx_errors);
        return;
    }
    ImageRect r{src_col, src_row, dst_col, dst_row, w, h};
    if (!IMG_clip_blit(source, destination, r)) return;
    for (int64_t row = 0; row < r.h; ++row) {
        const uint32_t* s = source->pixels.get() + r.sc + (r.sr + row) * source->width;
        uint32_t* d = destination->pixels.get() + r.dc + (r.dr + row) * destination->width;
        for (int64_t col = 0; col < r.w; ++col) d[col] = s[col] ? half_blend(s[col], d[col]) : d[col];
    }
}

void IMGFX_blend_at(const Image* source, Image* destination)
{
    if (!has_pixels(source) || !has_pixels(destination)) {
        REPORT_raise(imgfx_errors);
        return;
    }
    int64_t x = source->x, y = source->y, w = source->width, h = source->height, sx = 0, sy = 0;
    if (x + w <= 0 || y + h <= 0 || x >= destination->width || y >= destination->height) return;
    if (x < 0) sx = -x, w += x, x = 0;
    if (y < 0) sy = -y, h += y, y = 0;
    if (x + w >= destination->width) w = destination->width - x;
    if (y + h >= destination->height) h = destination->height - y;
    if (source == destination) {
        // Blending an image into itself reads pixels that may already be blended, so keep the
        // order exactly: bottom row first, each row from the right.
        uint32_t* px = destination->pixels.get();
        const int64_t width = destination->width;
        for (int64_t row = h - 1; row >= 0; --row)
            for (int64_t col = w - 1; col >= 0; --col) {
                const uint32_t v = px[sx + col + (sy + row) * width];
                uint32_t& d = px[x + col + (y + row) * width];
                if (v) d = half_blend(v, d);
            }
        return;
    }
    for (int64_t row = 0; row < h; ++row) {
        const uint32_t* s = source->pixels.get() + sx + (sy + row) * source->width;
        uint32_t* d = destination->pixels.get() + x + (y + row) * destination->width;
        for (int64_t col = 0; col < w; ++col) d[col] = s[col] ? half_blend(s[col], d[col]) : d[col];
    }
}

void IMGFX_invert(Image* image)
{
    if (!has_pixels(image)) {
        REPORT_raise(imgfx_errors);
        return;
    }
    uint32_t* p = image->pixels.get();
    const int64_t n = int64_t{image->width} * image->height;
    for (int64_t i = 0; i < n; ++i) p[i] = ~p[i] & 0xFFFFFF;
}

// Blur of one source row of sw pixels into the first n (<= sw) pixels of a destination row: per
// channel (p[c-2] + p[c-1] + p[c+1] + p[c+2] + 4 p[c]) >> 3, pixels outside the row counting as
// black. Red and blue travel together in 16-bit lanes, green on its own; no lane can carry into
// the next (8 x 255 < 2^16).
static inline uint32_t blur_mix(uint32_t a, uint32_t b, uint32_t centre, uint32_t c, uint32_t e)
{
    const uint32_t rb = (a & 0xFF00FF) + (b & 0xFF00FF) + (c & 0xFF00FF) + (e & 0xFF00FF) + ((centre & 0xFF00FF) << 2);
    const uint32_t g = (a & 0xFF00) + (b & 0xFF00) + (c & 0xFF00) + (e & 0xFF00) + ((centre & 0xFF00) << 2);
    return ((rb >> 3) & 0xFF00FF) | ((g >> 3) & 0xFF00);
}

static void blur_row(const uint32_t* __restrict s, uint32_t* __restrict d, int32_t sw, int32_t n)
{
    auto at = [&](int32_t c) -> uint32_t { return c >= 0 && c < sw ? s[c] : 0u; };
    auto edge = [&](int32_t c) { d[c] = blur_mix(at(c - 2), at(c - 1), s[c], at(c + 1), at(c + 2)); };
    // Columns 2 .. sw - 3 have all four neighbours inside the row.
    const int32_t inner_end = std::max(2, std::min(n, sw - 2));
    for (int32_t c = 0; c < std::min(2, n); ++c) edge(c);
    for (int32_t c = 2; c < inner_end; ++c) d[c] = blur_mix(s[c - 2], s[c - 1], s[c], s[c + 1], s[c + 2]);
    for (int32_t c = inner_end; c < n; ++c) edge(c);
}

void IMGFX_blur(const Image* source, Image* destination)
{
    if (!has_pixels(source) || !has_pixels(destination)) {
        REPORT_raise(imgfx_errors);
        return;
    }
    // Every source pixel is blurred, but only those that land inside the destination are written.
    const int32_t n = std::min(source->width, destination->width), h = std::min(source->height, destination->height);
    if (n <= 0) return;
    for (int32_t row = 0; row < h; ++row)
        blur_row(source->pixels.get() + int64_t{row} * source->width,
                 destination->pixels.get() + int64_t{row} * destination->width, source->width, n);
}

// Glare of one pixel: per channel min((left >> shift) + (right >> shift) + centre, 255). keep
// clears the bits that the shift moves from one channel into the next.
static inline uint32_t glare_mix(uint32_t l, uint32_t centre, uint32_t r, int32_t shift, uint32_t keep)
{
    const uint32_t a = (l >> shift) & keep, b = (r >> shift) & keep;
    return saturate_lanes((a & 0xFF00FF) + (b & 0xFF00FF) + (centre & 0xFF00FF), (a & 0xFF00) + (b & 0xFF00) + (centre & 0xFF00));
}

// Glare of one source row of sw pixels into the first n (<= sw) pixels of a destination row.
static void glare_row(const uint32_t* __restrict s, uint32_t* __restrict d, int32_t sw, int32_t n, int32_t shift)
{
    const uint32_t keep = (0xFFu >> shift) * 0x010101u;
    auto at = [&](int32_t c) -> uint32_t { return c >= 0 && c < sw ? s[c] : 0u; };
    const int32_t inner_end = std::max(1, std::min(n, sw - 1));
    if (n > 0) d[0] = glare_mix(0, s[0], at(1), shift, keep);
    int32_t c = 1;
#if defined(__SSE2__)
    // Four pixels at once: the shifted neighbours and the centre (high byte cleared) have channel
    // bytes only, and min(a + b + centre, 255) is the saturating byte add applied twice.
    const __m128i count = _mm_cvtsi32_si128(shift), keep4 = _mm_set1_epi32(static_cast<int>(keep)),
                  low24 = _mm_set1_epi32(0xFFFFFF);
    for (; c + 4 <= inner_end; c += 4) {
        const __m128i l = _mm_and_si128(_mm_srl_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + c - 1)), count), keep4);
        const __m128i r = _mm_and_si128(_mm_srl_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + c + 1)), count), keep4);
        const __m128i m = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + c)), low24);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + c), _mm_adds_epu8(_mm_adds_epu8(l, r), m));
    }
#endif
    for (; c < inner_end; ++c) d[c] = glare_mix(s[c - 1], s[c], s[c + 1], shift, keep);
    for (int32_t c = inner_end; c < n; ++c) d[c] = glare_mix(at(c - 1), s[c], at(c + 1), shift, keep);
}

void IMGFX_glare(const Image* source, Image* destination, int32_t shift)
{
    if (!has_pixels(source) || !has_pixels(destination)) {
        REPORT_raise(imgfx_errors);
        return;
    }
    // A channel shifted by 8 or more is 0; a negative shift is taken as 0 (no dimming).
    shift = std::clamp(shift, 0, 8);
    const int32_t n = std::min(source->width, destination->width), h = std::min(source->height, destination->height);
    if (n <= 0) return;
    for (int32_t row = 0; row < h; ++row)
        glare_row(source->pixels.get() + int64_t{row} * source->width,
                  destination->pixels.get() + int64_t{row} * destination->width, source->width, n, shift);
}

void IMGFX_fill_rect(Image* image, int32_t col, int32_t row, int32_t w, int32_t h, uint32_t value)
{
    if (!has_pixels(image)) {
        REPORT_raise(imgfx_errors);
        return;
    }
    IMG_fill_rect(image, col, row, w, h, value);
}

void IMGFX_and(const Image* mask, Image* destination)
{
    if (!has_pixels(mask) || !has_pixels(destination)) {
        REPORT_raise(imgfx_errors);
        return;
    }
    IMG_and(mask, destination);
}

void IMG_vline_ordered(Image* image, int32_t col, int32_t row0, int32_t row1, uint32_t value)
{
    if (row1 < row0) std::swap(row0, row1);
    IMG_vline(image, value, col, row0, row1);
}

void IMG_vline_blend(Image* image, int32_t col, int32_t row0, int32_t row1, uint32_t colour, int32_t alpha)
{
    if (!has_pixels(image)) {
        REPORT_raise(IMG_report());
        return;
    }
    if (row1 < row0) std::swap(row0, row1);
    if (col < 0 || col >= image->width) return;
    if (row1 >= image->height) row1 = image->height - 1;
    if (row0 < 0) row0 = 0;
    // 32-bit words that wrap; alpha outside 0 .. 256 spills into the neighbouring channels.
    const uint32_t a = static_cast<uint32_t>(alpha), b = 256u - a;
    const uint32_t cr = (colour & 0xFF0000) * a, cg = (colour & 0xFF00) * a, cb = (colour & 0xFF) * a;
    uint32_t* p = image->pixels.get() + col;
    for (int32_t row = row0; row <= row1; ++row) {
        uint32_t& d = p[int64_t{row} * image->width];
        d = ((((d & 0xFF0000) * b + cr) >> 8) & 0xFF0000) | ((((d & 0xFF00) * b + cg) >> 8) & 0xFF00) |
            (((d & 0xFF) * b + cb) >> 8);
    }
}


static void put_clipped(Image* image, int64_t col, int64_t row, uint32_t value)
{
    if (col >= 0 && row >= 0 && col < image->width && row < image->height) image->pixels[col + row * image->width] = value;
}

void IMGFX_line_dither(Image* image, int32_t col0, int32_t row0, uint32_t colour0, int32_t col1, int32_t row1,
                       uint32_t colour1)
{
    if (!has_pixels(image)) {
        REPORT_raise(IMG_report());
        return;
    }
    const int64_t ax = std::abs(int64_t{col1} - col0), ay = std::abs(int64_t{row1} - row0);
    const int64_t L = ax > ay ? ax : ay;
    int64_t acc = L, k = 0;
    IMG_walk_line(col0, row0, col1, row1, [&](int64_t col, int64_t row) {
        acc -= k;
        ++k;
        if (acc > 0 || L == 0) {
            put_clipped(image, col, row, colour0);
        } else {
            put_clipped(image, col, row, colour1);
            acc += L;
        }
    });
}

void IMGFX_line_gradient(Image* image, int32_t col0, int32_t row0, uint32_t colour0, int32_t col1, int32_t row1,
                         uint32_t colour1)
{
    if (!has_pixels(image)) {
        REPORT_raise(IMG_report());
        return;
    }
    const int64_t ax = std::abs(int64_t{col1} - col0), ay = std::abs(int64_t{row1} - row0);
    const int64_t L = ax > ay ? ax : ay;
    if (L == 0) {
        put_clipped(image, col0, row0, RGB888_average(colour0, colour1));
        return;
    }
    const int32_t r0 = (colour0 >> 16) & 0xFF, g0 = (colour0 >> 8) & 0xFF, b0 = colour0 & 0xFF;
    const int32_t r1 = (colour1 >> 16) & 0xFF, g1 = (colour1 >> 8) & 0xFF, b1 = colour1 & 0xFF;
    int64_t R = int64_t{r0} * 65536, G = int64_t{g0} * 65536, B = int64_t{b0} * 65536;
    const int64_t dr = (int64_t{r1} - r0) * 65536 / L, dg = (int64_t{g1} - g0) * 65536 / L, db = (int64_t{b1} - b0) * 65536 / L;
    IMG_walk_line(col0, row0, col1, row1, [&](int64_t col, int64_t row) {
        const uint32_t c = (static_cast<uint32_t>(R) & 0xFF0000) | ((static_cast<uint32_t>(G) & 0xFF0000) >> 8) |
                           ((static_cast<uint32_t>(B) & 0xFF0000) >> 16);
        put_clipped(image, col, row, c);
        R += dr, G += dg, B += db;
    });
}

void IMG_add_pixel(Image* image, int32_t col, int32_t row, uint32_t colour)
{
    if (!has_pixels(image)) {
        REPORT_raise(IMG_report());
        return;
    }
    if (col < 0 || row < 0 || col >= image->width || row >= image->height) return;
    uint32_t& d = image->pixels[int64_t{col} + int64_t{row} * image->width];
    d = RGB888_add(d, colour);
}
