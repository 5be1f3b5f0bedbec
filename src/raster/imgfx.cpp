#include "raster/imgfx.h"

#include <algorithm>
#include <utility>

#include "raster/rgb888.h"

static ErrorReport imgfx_errors{"IMGFX error\n", false, 0};

ErrorReport& IMGFX_report() { return imgfx_errors; }

static bool has_pixels(const Image* image) { return image && image->pixels; }

static constexpr uint32_t half_blend(uint32_t s, uint32_t d) { return ((s >> 1) & 0x7F7F7F) + ((d >> 1) & 0x7F7F7F); }

// Clips a w x h rectangle exactly as IMG_blit does; false when nothing is left.
struct BlitRect {
    int64_t sc, sr, dc, dr, w, h;
};
static bool clip_blit(const Image* s, const Image* d, BlitRect& r)
{
    if (r.dc >= d->width || r.dc + r.w < 0 || r.dr >= d->height || r.dr + r.h < 0) return false;
    if (r.sc >= s->width || r.sc + r.w < 0 || r.sr >= s->height || r.sr + r.h < 0) return false;
    if (r.sc < 0) r.w += r.sc, r.dc -= r.sc, r.sc = 0;
    if (r.sr < 0) r.h += r.sr, r.dr -= r.sr, r.sr = 0;
    if (r.sc + r.w > s->width) r.w = s->width - r.sc;
    if (r.sr + r.h > s->height) r.h = s->height - r.sr;
    if (r.dc < 0) r.w += r.dc, r.sc -= r.dc, r.dc = 0;
    if (r.dr < 0) r.h += r.dr, r.sr -= r.dr, r.dr = 0;
    if (r.dc + r.w > d->width) r.w = d->width - r.dc;
    if (r.dr + r.h > d->height) r.h = d->height - r.dr;
    return r.w > 0 && r.h > 0;
}

void IMGFX_blit_add(const Image* source, Image* destination, int32_t src_col, int32_t src_row,
                    int32_t dst_col, int32_t dst_row, int32_t w, int32_t h)
{
    if (!has_pixels(source) || !has_pixels(destination)) {
        REPORT_raise(imgfx_errors);
        return;
    }
    BlitRect r{src_col, src_row, dst_col, dst_row, w, h};
    if (!clip_blit(source, destination, r)) return;
    // Row by row from the top, so a source and destination that are one image work when the
    // rectangles do not overlap.
    for (int64_t row = 0; row < r.h; ++row) {
        const uint32_t* s = source->pixels.get() + r.sc + (r.sr + row) * source->width;
        uint32_t* d = destination->pixels.get() + r.dc + (r.dr + row) * destination->width;
        for (int64_t col = 0; col < r.w; ++col) d[col] = RGB888_add(s[col], d[col]);
    }
}

void IMGFX_blit_half(const Image* source, Image* destination, int32_t src_col, int32_t src_row,
                     int32_t dst_col, int32_t dst_row, int32_t w, int32_t h)
{
    if (!has_pixels(source) || !has_pixels(destination)) {
        REPORT_raise(imgfx_errors);
        return;
    }
    BlitRect r{src_col, src_row, dst_col, dst_row, w, h};
    if (!clip_blit(source, destination, r)) return;
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

// Blur of one row: per channel (p[c-2] + p[c-1] + p[c+1] + p[c+2] + 4 p[c]) >> 3, outside pixels
// counting as black. Red and blue travel together in 16-bit lanes, green on its own; no lane can
// carry into the next (8 x 255 < 2^16).
static void blur_row(const uint32_t* s, uint32_t* d, int32_t w)
{
    auto at = [&](int32_t c) -> uint32_t { return c >= 0 && c < w ? s[c] : 0u; };
    auto mix = [](uint32_t a, uint32_t b, uint32_t c, uint32_t e, uint32_t centre) -> uint32_t {
        const uint32_t rb = (a & 0xFF00FF) + (b & 0xFF00FF) + (c & 0xFF00FF) + (e & 0xFF00FF) + 4 * (centre & 0xFF00FF);
        const uint32_t g = (a & 0xFF00) + (b & 0xFF00) + (c & 0xFF00) + (e & 0xFF00) + 4 * (centre & 0xFF00);
        return ((rb >> 3) & 0xFF00FF) | ((g >> 3) & 0xFF00);
    };
    const int32_t inner_end = w - 2;
    for (int32_t c = 0; c < std::min(2, w); ++c) d[c] = mix(at(c - 2), at(c - 1), at(c + 1), at(c + 2), s[c]);
    for (int32_t c = 2; c < inner_end; ++c) d[c] = mix(s[c - 2], s[c - 1], s[c + 1], s[c + 2], s[c]);
    for (int32_t c = std::max(2, inner_end); c < w; ++c) d[c] = mix(at(c - 2), at(c - 1), at(c + 1), at(c + 2), s[c]);
}

void IMGFX_blur(const Image* source, Image* destination)
{
    if (!has_pixels(source) || !has_pixels(destination)) {
        REPORT_raise(imgfx_errors);
        return;
    }
    const int32_t w = std::min(source->width, destination->width), h = std::min(source->height, destination->height);
    for (int32_t row = 0; row < h; ++row)
        blur_row(source->pixels.get() + int64_t{row} * source->width,
                 destination->pixels.get() + int64_t{row} * destination->width, w);
}

// Glare of one row: per channel min((left >> shift) + (right >> shift) + centre, 255).
static void glare_row(const uint32_t* s, uint32_t* d, int32_t w, int32_t shift)
{
    const uint32_t keep = (0xFFu >> shift) * 0x010101u;
    auto mix = [&](uint32_t l, uint32_t r, uint32_t c) -> uint32_t {
        const uint32_t a = (l >> shift) & keep, b = (r >> shift) & keep;
        uint32_t rb = (a & 0xFF00FF) + (b & 0xFF00FF) + (c & 0xFF00FF);
        uint32_t g = (a & 0xFF00) + (b & 0xFF00) + (c & 0xFF00);
        uint32_t red = rb & 0xFFFF0000, blue = rb & 0xFFFF;
        red = red > 0xFF0000 ? 0xFF0000 : red;
        blue = blue > 0xFF ? 0xFF : blue;
        g = g > 0xFF00 ? 0xFF00 : g;
        return red | g | blue;
    };
    if (w <= 0) return;
    if (w == 1) {
        d[0] = mix(0, 0, s[0]);
        return;
    }
    d[0] = mix(0, s[1], s[0]);
    for (int32_t c = 1; c < w - 1; ++c) d[c] = mix(s[c - 1], s[c + 1], s[c]);
    d[w - 1] = mix(s[w - 2], 0, s[w - 1]);
}

void IMGFX_glare(const Image* source, Image* destination, int32_t shift)
{
    if (!has_pixels(source) || !has_pixels(destination)) {
        REPORT_raise(imgfx_errors);
        return;
    }
    shift = std::clamp(shift, 0, 31);
    const int32_t w = std::min(source->width, destination->width), h = std::min(source->height, destination->height);
    for (int32_t row = 0; row < h; ++row)
        glare_row(source->pixels.get() + int64_t{row} * source->width,
                  destination->pixels.get() + int64_t{row} * destination->width, w, shift);
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
    const uint32_t a = static_cast<uint32_t>(alpha), b = static_cast<uint32_t>(256 - alpha);
    const uint32_t cr = (colour & 0xFF0000) * a, cg = (colour & 0xFF00) * a, cb = (colour & 0xFF) * a;
    uint32_t* p = image->pixels.get() + col;
    for (int32_t row = row0; row <= row1; ++row) {
        uint32_t& d = p[int64_t{row} * image->width];
        d = ((((d & 0xFF0000) * b + cr) >> 8) & 0xFF0000) | ((((d & 0xFF00) * b + cg) >> 8) & 0xFF00) |
            (((d & 0xFF) * b + cb) >> 8);
    }
}

// Walks the points of IMG_line's stepping and hands each to plot(col, row, index).
template <class Plot>
static void walk_line(int32_t col0, int32_t row0, int32_t col1, int32_t row1, Plot plot)
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
    walk_line(col0, row0, col1, row1, [&](int64_t col, int64_t row) {
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
    walk_line(col0, row0, col1, row1, [&](int64_t col, int64_t row) {
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
