#include "raster/img.h"

#include <algorithm>
#include <cstring>

#include "base/record.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

static ErrorReport img_errors{"IMG error\n", false, 0};

ErrorReport& IMG_report() { return img_errors; }

static bool has_pixels(const Image* image) { return image && image->pixels; }

// Number of pixels in the block; 0 for an image with a negative side.
static std::size_t pixel_count(const Image* image)
{
    if (image->width <= 0 || image->height <= 0) return 0;
    return static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height);
}

Image* IMG_new()
{
    Image* image = record_new<Image>();
    if (!image) {
        REPORT_raise(img_errors);
        return nullptr;
    }
    image->pixels = block_new<uint32_t>(16 * 16);
    if (!image->pixels) {
        record_free(&image);
        REPORT_raise(img_errors);
        return nullptr;
    }
    image->width = image->height = 16;
    return image;
}

void IMG_free(Image** image)
{
    if (!image || !*image) {
        REPORT_raise(img_errors);
        return;
    }
    record_free(image);
}

void IMG_resize(Image* image, int32_t width, int32_t height)
{
    if (!image || width < 0 || height < 0) {
        REPORT_raise(img_errors);
        return;
    }
    image->pixels.reset();
    image->width = width;
    image->height = height;
    image->pixels = block_new<uint32_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    if (!image->pixels) REPORT_raise(img_errors);
}

void IMG_copy(const Image* source, Image* destination)
{
    if (!has_pixels(source) || !has_pixels(destination) || source->width != destination->width ||
        source->height != destination->height) {
        REPORT_raise(img_errors);
        return;
    }
    std::memcpy(destination->pixels.get(), source->pixels.get(), sizeof(uint32_t) * pixel_count(source));
}

void IMG_fill(Image* image, uint32_t value)
{
    if (!has_pixels(image)) {
        REPORT_raise(img_errors);
        return;
    }
    std::fill_n(image->pixels.get(), pixel_count(image), value);
}

void IMG_put(Image* image, int32_t col, int32_t row, uint32_t value)
{
    if (!has_pixels(image)) {
        REPORT_raise(img_errors);
        return;
    }
    if (col < 0 || row < 0 || col >= image->width || row >= image->height) return;
    image->pixels[static_cast<std::size_t>(col) + static_cast<std::size_t>(row) * static_cast<std::size_t>(image->width)] = value;
}

uint32_t IMG_get(const Image* image, int32_t col, int32_t row)
{
    if (!has_pixels(image)) {
        REPORT_raise(img_errors);
        return 0;
    }
    if (col < 0 || row < 0 || col >= image->width || row >= image->height) return 0;
    return image->pixels[static_cast<std::size_t>(col) + static_cast<std::size_t>(row) * static_cast<std::size_t>(image->width)];
}

bool IMG_clip_blit(const Image* s, const Image* d, ImageRect& r)
{
    // In 64 bits, so that huge sizes cannot overflow.
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

void IMG_blit(const Image* source, Image* destination, int32_t sc, int32_t sr, int32_t dc, int32_t dr,
              int32_t w, int32_t h)
{
    if (!has_pixels(source) || !has_pixels(destination)) {
        REPORT_raise(img_errors);
        return;
    }
    ImageRect r{sc, sr, dc, dr, w, h};
    if (!IMG_clip_blit(source, destination, r)) return;
    const int64_t SC = r.sc, SR = r.sr, DC = r.dc, DR = r.dr, W = r.w, H = r.h;
    // Within one image a pixel written earlier in the copy may be read again later, so only
    // separate images take the four-at-a-time path.
    [[maybe_unused]] const bool separate = source != destination;
    for (int64_t row = 0; row < H; ++row) {
        const uint32_t* s = source->pixels.get() + SC + (SR + row) * source->width;
        uint32_t* d = destination->pixels.get() + DC + (DR + row) * destination->width;
        int64_t col = 0;
#if defined(__SSE2__)
        if (separate) {
            const __m128i zero = _mm_setzero_si128();
            for (; col + 4 <= W; col += 4) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + col));
                __m128i* q = reinterpret_cast<__m128i*>(d + col);
                // Where the source is 0 the destination is kept; elsewhere the source is taken.
                _mm_storeu_si128(q, _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi32(v, zero), _mm_loadu_si128(q)), v));
            }
        }
#endif
        for (; col < W; ++col)
            if (s[col]) d[col] = s[col];
    }
}

// Saturating add of the channel fields cr (colour & 0xFF00FF) and cg (colour & 0xFF00) to a
// pixel. Red and blue travel in 16-bit lanes and green alone, so a channel's carry lands in a bit
// of its own (8, 16 or 24), from which the all-ones mask of a saturated channel is made.
static inline uint32_t add_channels(uint32_t p, uint32_t cr, uint32_t cg)
{
    const uint32_t rb = (p & 0xFF00FF) + cr, g = (p & 0xFF00) + cg;
    const uint32_t rb_over = rb & 0x01000100, g_over = g & 0x10000;
    return ((rb | (rb_over - (rb_over >> 8))) & 0xFF00FF) | ((g | (g_over - (g_over >> 8))) & 0xFF00);
}

// Subtraction floored at 0: each lane starts with a spare 256 above the channel, and the lanes
// that kept it did not go below zero; the others are cleared.
static inline uint32_t sub_channels(uint32_t p, uint32_t cr, uint32_t cg)
{
    const uint32_t rb = ((p & 0xFF00FF) | 0x01000100) - cr, g = ((p & 0xFF00) | 0x10000) - cg;
    const uint32_t rb_keep = rb & 0x01000100, g_keep = g & 0x10000;
    return (rb & (rb_keep - (rb_keep >> 8))) | (g & (g_keep - (g_keep >> 8)));
}

// Saturating add (or floored subtraction) of one colour over n pixels. With SSE2 four pixels go
// at once through the unsigned saturating byte add (subtract), the high byte of each pixel cleared
// first so it comes out 0; the lane version above does the rest and is the whole loop elsewhere.
static void add_run(uint32_t* p, std::size_t n, uint32_t colour)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i c = _mm_set1_epi32(static_cast<int>(colour & 0xFFFFFF)), keep = _mm_set1_epi32(0xFFFFFF);
    for (; i + 4 <= n; i += 4) {
        __m128i* q = reinterpret_cast<__m128i*>(p + i);
        _mm_storeu_si128(q, _mm_adds_epu8(_mm_and_si128(_mm_loadu_si128(q), keep), c));
    }
#endif
    const uint32_t cr = colour & 0xFF00FF, cg = colour & 0xFF00;
    for (; i < n; ++i) p[i] = add_channels(p[i], cr, cg);
}

static void sub_run(uint32_t* p, std::size_t n, uint32_t colour)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i c = _mm_set1_epi32(static_cast<int>(colour & 0xFFFFFF)), keep = _mm_set1_epi32(0xFFFFFF);
    for (; i + 4 <= n; i += 4) {
        __m128i* q = reinterpret_cast<__m128i*>(p + i);
        _mm_storeu_si128(q, _mm_subs_epu8(_mm_and_si128(_mm_loadu_si128(q), keep), c));
    }
#endif
    const uint32_t cr = colour & 0xFF00FF, cg = colour & 0xFF00;
    for (; i < n; ++i) p[i] = sub_channels(p[i], cr, cg);
}

void IMG_add(Image* image, uint32_t colour)
{
    if (!has_pixels(image)) {
        REPORT_raise(img_errors);
        return;
    }
    add_run(image->pixels.get(), pixel_count(image), colour);
}

void IMG_sub(Image* image, uint32_t colour)
{
    if (!has_pixels(image)) {
        REPORT_raise(img_errors);
        return;
    }
    sub_run(image->pixels.get(), pixel_count(image), colour);
}

void IMG_and(const Image* mask, Image* destination)
{
    if (!has_pixels(mask) || !has_pixels(destination)) {
        REPORT_raise(img_errors);
        return;
    }
    // The caller guarantees equal sizes; never touch more pixels than either image holds.
    const std::size_t n = std::min(pixel_count(mask), pixel_count(destination));
    const uint32_t* m = mask->pixels.get();
    uint32_t* d = destination->pixels.get();
    for (std::size_t i = 0; i < n; ++i) d[i] &= m[i];
}

void IMG_blit_column(const Image* source, Image* destination, int32_t sc, int32_t dc, int32_t dr)
{
    if (!has_pixels(source) || !has_pixels(destination) || sc >= source->width || dc >= destination->width || sc < 0 ||
        dc < 0 || destination->height <= 0) {
        REPORT_raise(img_errors);
        return;
    }
    const int32_t dh = destination->height, sh = source->height, sw = source->width, dw = destination->width;
    dr %= dh;
    if (dr < 0) dr += dh;
    const uint32_t* s = source->pixels.get() + sc;
    uint32_t* d = destination->pixels.get() + dc;
    const int32_t first = std::min(dh - dr, sh);
    for (int32_t k = 0; k < first; ++k) {
        const uint32_t v = s[static_cast<std::size_t>(k) * sw];
        if (v) d[static_cast<std::size_t>(dr + k) * dw] = v;
    }
    const int32_t last = std::min(sh, dh);
    for (int32_t k = first; k < last; ++k) {
        const uint32_t v = s[static_cast<std::size_t>(k) * sw];
        if (v) d[static_cast<std::size_t>(k - first) * dw] = v;
    }
}

void IMG_fill_rect(Image* image, int32_t col, int32_t row, int32_t w, int32_t h, uint32_t value)
{
    if (!has_pixels(image)) {
        REPORT_raise(img_errors);
        return;
    }
    int64_t C = col, R = row, W = w, H = h;
    if (C + W <= 0 || R + H <= 0 || C >= image->width || R >= image->height) return;
    if (C < 0) W = C + W, C = 0;
    if (R < 0) H = R + H, R = 0;
    if (C + W > image->width) W = image->width - C;
    if (R + H > image->height) H = image->height - R;
    if (W <= 0 || H <= 0) return;
    for (int64_t r = 0; r < H; ++r) std::fill_n(image->pixels.get() + C + (R + r) * image->width, W, value);
}

// The steps first..last (of 0..steps) at which start + dir * step lies in [0, limit); false when
// there are none. The major coordinate moves by one each step, so the line is inside the image
// for at most `limit` steps and the walk never has to visit the points outside.
static bool steps_inside(int64_t start, int64_t dir, int64_t steps, int64_t limit, int64_t& first, int64_t& last)
{
    if (dir > 0) {
        first = std::max<int64_t>(0, -start), last = std::min(steps, limit - 1 - start);
    } else if (dir < 0) {
        first = std::max<int64_t>(0, start - (limit - 1)), last = std::min(steps, start);
    } else {
        first = 0, last = start >= 0 && start < limit ? 0 : -1;
    }
    return first <= last;
}

// The minor-axis moves and the error term after `i` steps of the walk over `major` steps with
// `minor` (<= major) moves, starting from error major / 2: the state the step loop would reach.
static void state_after(int64_t i, int64_t major, int64_t minor, int64_t& moves, int64_t& err)
{
    const int64_t start = major >> 1;
    if (i == 0) {
        moves = 0, err = start;
    } else if (minor == major) {
        moves = i, err = start;  // every step moves, and the error never changes
    } else {
        // After a step the error lies in (0, major]: moves is the one count that puts it there.
        // i is at most 2^31 (how far the line starts off the image) and minor below 2^32, so the
        // product stays below 2^63.
        const int64_t t = i * minor - start;
        moves = (t >= 0 ? t / major : -1) + 1;
        err = start - i * minor + moves * major;
    }
}

void IMG_line(Image* image, int32_t col0, int32_t row0, int32_t col1, int32_t row1, uint32_t value)
{
    if (!has_pixels(image)) {
        REPORT_raise(img_errors);
        return;
    }
    const int64_t dx = int64_t{col1} - col0, dy = int64_t{row1} - row0;
    const int64_t sx = dx > 0 ? 1 : (dx < 0 ? -1 : 0), sy = dy > 0 ? 1 : (dy < 0 ? -1 : 0);
    const int64_t ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
    const int64_t w = image->width, h = image->height;
    uint32_t* px = image->pixels.get();
    int64_t col = col0, row = row0;
    auto plot = [&] {
        if (col >= 0 && row >= 0 && col < w && row < h) px[col + row * w] = value;
    };
    // The points of IMG_walk_line, but only the steps whose major coordinate is inside the image
    // are walked, starting from the state the full walk has there: a line from far outside does
    // not take billions of steps.
    int64_t first = 0, last = 0, moves = 0, err = 0;
    if (ax > ay) {
        if (!steps_inside(col0, sx, ax, w, first, last)) return;
        state_after(first, ax, ay, moves, err);
        col += sx * first, row += sy * moves;
        for (int64_t i = first; i <= last; ++i) {
            plot();
            col += sx;
            err -= ay;
            if (err <= 0) err += ax, row += sy;
        }
    } else {
        if (!steps_inside(row0, sy, ay, h, first, last)) return;
        state_after(first, ay, ax, moves, err);
        row += sy * first, col += sx * moves;
        for (int64_t i = first; i <= last; ++i) {
            plot();
            row += sy;
            err -= ax;
            if (err <= 0) err += ay, col += sx;
        }
    }
}

void IMG_hline(Image* image, int32_t row, int32_t col0, int32_t col1, uint32_t value)
{
    if (!has_pixels(image)) {
        REPORT_raise(img_errors);
        return;
    }
    if (col1 < col0) std::swap(col0, col1);
    if (row < 0 || row >= image->height) return;
    col0 = std::max(col0, 0);
    col1 = std::min(col1, image->width - 1);
    if (col1 < col0) return;
    std::fill_n(image->pixels.get() + col0 + static_cast<std::size_t>(row) * image->width, col1 - col0 + 1, value);
}

void IMG_vline(Image* image, uint32_t value, int32_t col, int32_t row0, int32_t row1)
{
    if (!has_pixels(image)) {
        REPORT_raise(img_errors);
        return;
    }
    if (col < 0 || col >= image->width) return;
    row0 = std::max(row0, 0);
    row1 = std::min(row1, image->height - 1);
    uint32_t* p = image->pixels.get() + col;
    for (int32_t r = row0; r <= row1; ++r) p[static_cast<std::size_t>(r) * image->width] = value;
}
