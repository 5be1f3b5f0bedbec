#include "effects/sineline.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/record.h"
#include "base/sine.h"
#include "base/wrap.h"
#include "base/random.h"
#include "raster/imgfx.h"

static ErrorReport sineline_errors{"SINELINE error\n", false, 0};

ErrorReport& SINELINE_report() { return sineline_errors; }

namespace {

constexpr int32_t fill_alpha = 40;  // of 256

int32_t draw_mod(int32_t m) { return RANDOM_rand15() % m; }

// (phase + step) mod 1024 with a negative remainder raised by 1024.
int32_t advance(int32_t phase, int32_t step) { return wrap_add(phase, step) & SINE_mask; }

int32_t wave(int32_t a1, int32_t p1, int32_t a2, int32_t p2, int32_t a3, int32_t p3)
{
    return wrap_add(wrap_add(wrap_mul(a1, SINE_at(p1)), wrap_mul(a2, SINE_at(p2))), wrap_mul(a3, SINE_at(p3))) >> 16;
}

void set(VEC2D& v, int32_t x, int32_t y) { v.x = x, v.y = y; }

uint32_t tint(uint32_t d, uint32_t b, uint32_t cr, uint32_t cg, uint32_t cb)
{
    return ((((d & 0xFF0000) * b + cr) >> 8) & 0xFF0000) | ((((d & 0xFF00) * b + cg) >> 8) & 0xFF00) |
           (((d & 0xFF) * b + cb) >> 8);
}

// Tints p[k] for k in [0, n) whose start[k] <= row (all of them when every is set).
void tint_run(uint32_t* p, const int32_t* start, int32_t n, int32_t row, bool every, uint32_t colour)
{
    const uint32_t b = 256 - fill_alpha;
    const uint32_t cr = (colour & 0xFF0000) * fill_alpha, cg = (colour & 0xFF00) * fill_alpha,
                   cb = (colour & 0xFF) * fill_alpha;
    int32_t k = 0;
#if defined(__SSE2__)
    // Per channel x*216 + c*40 stays below 65536, so 16-bit lanes give the same bytes; the fourth
    // byte is multiplied and offset by 0, which clears it as the scalar form does.
    const __m128i zero = _mm_setzero_si128();
    const __m128i keep = _mm_set_epi16(0, static_cast<short>(b), static_cast<short>(b), static_cast<short>(b), 0,
                                       static_cast<short>(b), static_cast<short>(b), static_cast<short>(b));
    const short r40 = static_cast<short>(((colour >> 16) & 0xFF) * fill_alpha);
    const short g40 = static_cast<short>(((colour >> 8) & 0xFF) * fill_alpha);
    const short b40 = static_cast<short>((colour & 0xFF) * fill_alpha);
    const __m128i add = _mm_set_epi16(0, r40, g40, b40, 0, r40, g40, b40);
    const __m128i rows = _mm_set1_epi32(row);
    for (; k + 4 <= n; k += 4) {
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k));
        const __m128i lo = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), keep), add), 8);
        const __m128i hi = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), keep), add), 8);
        __m128i t = _mm_packus_epi16(lo, hi);
        if (!every) {
            const __m128i above = _mm_cmpgt_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(start + k)), rows);
            t = _mm_or_si128(_mm_and_si128(above, d), _mm_andnot_si128(above, t));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + k), t);
    }
#endif
    for (; k < n; ++k)
        if (every || start[k] <= row) p[k] = tint(p[k], b, cr, cg, cb);
}

// The fill is a per-pixel blend of independent pixels, so tinting row by row across the columns
// gives the same pixels as tinting column by column; rows keep the memory accesses sequential.
// Columns go in chunks whose start rows are gathered first.
void fill_rows(Image* image, const SINELINE& line, int32_t bottom, int32_t step)
{
    constexpr int32_t chunk = 256;
    const int32_t w = image->width, h = image->height;
    if (w <= 0 || h <= 0) return;
    const uint32_t b = 256 - fill_alpha, c = line.colour;
    const uint32_t cr = (c & 0xFF0000) * fill_alpha, cg = (c & 0xFF00) * fill_alpha, cb = (c & 0xFF) * fill_alpha;
    const int32_t last_row = bottom < h - 1 ? bottom : h - 1;
    int32_t visible = (w - 1) / step + 1;  // points whose column lies inside the image
    if (visible > line.point_count) visible = line.point_count;
    int32_t start[chunk];
    for (int32_t k0 = 0; k0 < visible; k0 += chunk) {
        const int32_t n = visible - k0 < chunk ? visible - k0 : chunk;
        int32_t first_row = last_row + 1, all_from = -1;
        for (int32_t k = 0; k < n; ++k) {
            start[k] = line.y + line.point_array[k0 + k].y;
            first_row = start[k] < first_row ? start[k] : first_row;
            all_from = start[k] > all_from ? start[k] : all_from;
        }
        if (first_row < 0) first_row = 0;
        for (int32_t row = first_row; row <= last_row; ++row) {
            uint32_t* p = image->pixels.get() + int64_t{row} * w + int64_t{k0} * step;
            if (step == 1) {
                tint_run(p, start, n, row, row >= all_from, c);
            } else {
                for (int32_t k = 0; k < n; ++k)
                    if (start[k] <= row) p[k * step] = tint(p[k * step], b, cr, cg, cb);
            }
        }
    }
}

}  // namespace

SINELINE* SINELINE_new()
{
    SINELINE* line = record_new<SINELINE>();
    if (!line) {
        REPORT_raise(sineline_errors);
        return nullptr;
    }
    line->width = line->height = 256;
    set(line->amplitude1, 128, 128);
    set(line->amplitude2, 64, 64);
    set(line->amplitude3, 32, 32);
    SINELINE_set_points(line, 16);
    if (!line->point_array) {
        record_free(&line);
        REPORT_raise(sineline_errors);
        return nullptr;
    }
    line->colour = 0xFF0000;
    SINELINE_randomise(line);
    return line;
}

void SINELINE_free(SINELINE** line)
{
    if (!line || !*line) {
        REPORT_raise(sineline_errors);
        return;
    }
    record_free(line);
}

void SINELINE_set_points(SINELINE* line, int32_t count)
{
    if (!line || count <= 0) {
        REPORT_raise(sineline_errors);
        return;
    }
    // The new array is made before the old one goes, so a failure leaves the band as it was.
    auto points = block_new<SINELINE_point>(static_cast<std::size_t>(count));
    if (!points) {
        REPORT_raise(sineline_errors);
        return;
    }
    line->point_array = std::move(points);
    line->point_count = count;
    SINELINE_randomise(line);
}

void SINELINE_randomise(SINELINE* line)
{
    if (!line) {
        REPORT_raise(sineline_errors);
        return;
    }
    // Each statement is one draw; the order is part of the show's reproducibility.
    line->phase1x = draw_mod(1024);
    line->phase1y = draw_mod(1024);
    line->speed1x = draw_mod(16) + 3;
    line->speed1y = draw_mod(16) + 3;
    line->step1x = draw_mod(8) + 3;
    line->step1y = draw_mod(8) + 4;
    set(line->amplitude1, line->width / 2, line->height / 2);
    line->phase2x = draw_mod(1024);
    line->phase2y = draw_mod(1024);
    line->speed2x = -draw_mod(8) - 2;
    line->speed2y = -draw_mod(8) - 2;
    line->step2x = -draw_mod(16) - 4;
    line->step2y = -draw_mod(16) - 5;
    set(line->amplitude2, line->width / 4, line->height / 4);
    line->phase3x = draw_mod(1024);
    line->phase3y = draw_mod(1024);
    line->speed3x = draw_mod(4) + 1;
    line->speed3y = draw_mod(4) + 1;
    line->step3x = draw_mod(32) + 5;
    line->step3y = draw_mod(32) + 6;
    set(line->amplitude3, line->width / 8, line->height / 8);
}

void SINELINE_compute(SINELINE* line)
{
    if (!line || !line->point_array) {
        REPORT_raise(sineline_errors);
        return;
    }
    const int32_t w = line->width, h = line->height;
    set(line->amplitude1, w >> 1, h >> 1);
    set(line->amplitude2, w >> 2, h >> 2);
    set(line->amplitude3, w >> 3, h >> 3);
    int32_t p1x = line->phase1x, p1y = line->phase1y, p2x = line->phase2x, p2y = line->phase2y, p3x = line->phase3x,
            p3y = line->phase3y;
    for (int32_t k = 0; k < line->point_count; ++k) {
        SINELINE_point& point = line->point_array[k];
        point.x = wrap_add(w >> 1, wave(w >> 1, p1x, w >> 2, p2x, w >> 3, p3x));
        point.y = wrap_add(h >> 1, wave(h >> 1, p1y, h >> 2, p2y, h >> 3, p3y));
        p1x = advance(p1x, line->step1x), p1y = advance(p1y, line->step1y);
        p2x = advance(p2x, line->step2x), p2y = advance(p2y, line->step2y);
        p3x = advance(p3x, line->step3x), p3y = advance(p3y, line->step3y);
    }
    line->phase1x = advance(line->phase1x, line->speed1x), line->phase1y = advance(line->phase1y, line->speed1y);
    line->phase2x = advance(line->phase2x, line->speed2x), line->phase2y = advance(line->phase2y, line->speed2y);
    line->phase3x = advance(line->phase3x, line->speed3x), line->phase3y = advance(line->phase3y, line->speed3y);
}

void SINELINE_draw(SINELINE* line, Image* image, int32_t column_step)
{
    if (!line || !image || !image->pixels || !line->point_array) {
        REPORT_raise(sineline_errors);
        return;
    }
    const int32_t n = line->point_count, s = column_step, top = line->y;
    const int32_t bottom = wrap_sub(wrap_add(top, line->height), 1);
    const SINELINE_point* p = line->point_array.get();
    // With a positive step no line piece reaches back into a column already tinted, and every
    // line pixel has the same colour, so all pieces can go first and the tint after them.
    // Small values keep every column, row and product inside 32 bits.
    const bool rows_first = s >= 1 && s <= 0x8000 && n <= 0x8000 && top > -0x40000000 && top < 0x40000000 &&
                            line->height > -0x40000000 && line->height < 0x40000000 && line->height > 0;
    bool points_small = rows_first;
    for (int32_t k = 0; points_small && k < n; ++k) points_small = p[k].y > -0x20000000 && p[k].y < 0x20000000;
    if (points_small) {
        bool below_bottom = false;
        for (int32_t k = 0; k < n; ++k) below_bottom = below_bottom || top + p[k].y > bottom;
        points_small = !below_bottom;  // a tint starting below the bottom runs upwards; kept in order
    }
    if (points_small) {
        for (int32_t k = 0; k + 1 < n; ++k)
            IMG_line(image, k * s, p[k].y + top, (k + 1) * s, p[k + 1].y + top, line->colour);
        fill_rows(image, *line, bottom, s);
        return;
    }
    for (int32_t k = 0; k + 1 < n; ++k) {
        const int32_t c0 = wrap_mul(k, s), c1 = wrap_mul(k + 1, s);
        IMG_line(image, c0, wrap_add(p[k].y, top), c1, wrap_add(p[k + 1].y, top), line->colour);
        IMG_vline_blend(image, c0, wrap_add(p[k].y, top), bottom, line->colour, fill_alpha);
    }
    // The last column is tinted from the last point's own row, which is where the last line
    // piece ends; a single point is tinted the same way.
    IMG_vline_blend(image, wrap_mul(n - 1, s), wrap_add(p[n - 1].y, top), bottom, line->colour, fill_alpha);
}
