// IMGFX: blur, glare, the additive and half blits and blends, inversion, and the colour-mixing
// lines and runs, each fast path checked against a per-pixel reference on random inputs.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "raster/img.h"
#include "raster/imgfx.h"
#include "support/images.h"

namespace {

uint32_t ch(uint32_t p, int shift) { return (p >> shift) & 0xFF; }
uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return r << 16 | g << 8 | b; }
uint32_t sat_add(uint32_t a, uint32_t b)
{
    auto one = [&](int s) { return std::min(ch(a, s) + ch(b, s), 255u); };
    return rgb(one(16), one(8), one(0));
}
uint32_t half(uint32_t s, uint32_t d) { return ((s >> 1) & 0x7F7F7F) + ((d >> 1) & 0x7F7F7F); }

void reference_blur(const Grid& s, Grid& d)
{
    for (int32_t r = s.height - 1; r >= 0; --r)
        for (int32_t c = s.width - 1; c >= 0; --c) {
            auto one = [&](int sh) {
                return (ch(s.get(c - 2, r), sh) + ch(s.get(c - 1, r), sh) + ch(s.get(c + 1, r), sh) +
                        ch(s.get(c + 2, r), sh) + 4 * ch(s.get(c, r), sh)) >> 3;
            };
            d.put(c, r, rgb(one(16), one(8), one(0)));
        }
}

void reference_glare(const Grid& s, Grid& d, int shift)
{
    for (int32_t r = s.height - 1; r >= 0; --r)
        for (int32_t c = s.width - 1; c >= 0; --c) {
            auto one = [&](int sh) {
                return std::min((ch(s.get(c - 1, r), sh) >> shift) + (ch(s.get(c + 1, r), sh) >> shift) + ch(s.get(c, r), sh), 255u);
            };
            d.put(c, r, rgb(one(16), one(8), one(0)));
        }
}

// Clipping shared by the blits, as worded for the keyed blit; calls mix(src index, dst index).
template <class Mix>
void reference_rect(const Grid& s, const Grid& d, int32_t sc, int32_t sr, int32_t dc, int32_t dr, int32_t w, int32_t h, Mix mix)
{
    if (dc >= d.width || dc + w < 0 || dr >= d.height || dr + h < 0) return;
    if (sc >= s.width || sc + w < 0 || sr >= s.height || sr + h < 0) return;
    if (sc < 0) w += sc, dc -= sc, sc = 0;
    if (sr < 0) h += sr, dr -= sr, sr = 0;
    if (sc + w > s.width) w = s.width - sc;
    if (sr + h > s.height) h = s.height - sr;
    if (dc < 0) w += dc, sc -= dc, dc = 0;
    if (dr < 0) h += dr, sr -= dr, dr = 0;
    if (dc + w > d.width) w = d.width - dc;
    if (dr + h > d.height) h = d.height - dr;
    for (int32_t r = 0; r < h; ++r)
        for (int32_t c = 0; c < w; ++c) mix(sc + c + (sr + r) * s.width, dc + c + (dr + r) * d.width);
}

// The walk of IMG_line, handing each point to plot.
template <class Plot>
void reference_walk(int32_t c0, int32_t r0, int32_t c1, int32_t r1, Plot plot)
{
    const int32_t dx = c1 - c0, dy = r1 - r0, sx = (dx > 0) - (dx < 0), sy = (dy > 0) - (dy < 0);
    const int32_t ax = std::abs(dx), ay = std::abs(dy);
    int32_t c = c0, r = r0;
    if (ax > ay) {
        int32_t err = ax >> 1;
        for (int32_t i = 0; i <= ax; ++i) {
            plot(c, r);
            c += sx, err -= ay;
            if (err <= 0) err += ax, r += sy;
        }
    } else {
        int32_t err = ay >> 1;
        for (int32_t i = 0; i <= ay; ++i) {
            plot(c, r);
            r += sy, err -= ax;
            if (err <= 0) err += ay, c += sx;
        }
    }
}

TEST(Imgfx, BlurOfOneWhitePixel)
{
    Image* s = make_image(20, 8);
    Image* d = make_image(20, 8);
    IMG_put(s, 10, 5, 0xFFFFFF);
    IMGFX_blur(s, d);
    for (int32_t r = 0; r < 8; ++r)
        for (int32_t c = 0; c < 20; ++c) {
            uint32_t expected = 0;
            if (r == 5 && (c == 8 || c == 9 || c == 11 || c == 12)) expected = 0x1F1F1F;
            if (r == 5 && c == 10) expected = 0x7F7F7F;
            ASSERT_EQ(IMG_get(d, c, r), expected) << c << "," << r;
        }
    IMG_fill(s, 0xFFFFFF);
    IMGFX_blur(s, d);
    EXPECT_EQ(IMG_get(d, 0, 0), 0xBFBFBFu);
    EXPECT_EQ(IMG_get(d, 1, 0), 0xDFDFDFu);
    EXPECT_EQ(IMG_get(d, 2, 0), 0xFFFFFFu);
    EXPECT_EQ(IMG_get(d, 17, 0), 0xFFFFFFu);
    EXPECT_EQ(IMG_get(d, 18, 0), 0xDFDFDFu);
    EXPECT_EQ(IMG_get(d, 19, 0), 0xBFBFBFu);
    IMG_free(&s);
    IMG_free(&d);
}

TEST(Imgfx, GlareBleedsSideways)
{
    Image* s = make_image(5, 1);
    Image* d = make_image(5, 1);
    IMG_put(s, 2, 0, 0x808080);
    IMGFX_glare(s, d, 3);
    EXPECT_EQ(pixels_of(d), (std::vector<uint32_t>{0, 0x101010, 0x808080, 0x101010, 0}));
    IMG_fill(s, 0xFFFFFF);
    IMGFX_glare(s, d, 3);
    EXPECT_EQ(pixels_of(d), std::vector<uint32_t>(5, 0xFFFFFF));
    IMG_free(&s);
    IMG_free(&d);
}

TEST(Imgfx, BlurAndGlareMatchReferenceOnRandomImages)
{
    std::mt19937 rng(3);
    for (int trial = 0; trial < 120; ++trial) {
        // Sizes from 1 up, the destination sometimes narrower or shorter than the source.
        Image* s = make_image(1 + rng() % 40, 1 + rng() % 6);
        Image* d = make_image(trial % 3 ? s->width : 1 + rng() % 40, trial % 4 ? s->height : 1 + rng() % 6);
        randomise(s, rng);
        randomise(d, rng);
        Grid expected(d);
        reference_blur(Grid(s), expected);
        IMGFX_blur(s, d);
        ASSERT_EQ(pixels_of(d), expected.px) << "blur trial " << trial;
        const int shift = static_cast<int>(trial % 10);
        expected = Grid(d);
        reference_glare(Grid(s), expected, shift);
        IMGFX_glare(s, d, shift);
        ASSERT_EQ(pixels_of(d), expected.px) << "glare trial " << trial << " shift " << shift;
        IMG_free(&s);
        IMG_free(&d);
    }
}

TEST(Imgfx, AddAndHalfBlitExamples)
{
    Image* s = make_image(2, 1);
    Image* d = make_image(2, 1);
    s->pixels[0] = 0x808080;
    d->pixels[0] = 0xA0A0A0;
    d->pixels[1] = 0x123456;
    IMGFX_blit_add(s, d, 0, 0, 0, 0, 2, 1);
    EXPECT_EQ(pixels_of(d), (std::vector<uint32_t>{0xFFFFFF, 0x123456}));
    s->pixels[0] = 0xFFFFFF;
    d->pixels[0] = 0;
    IMGFX_blit_half(s, d, 0, 0, 0, 0, 2, 1);
    EXPECT_EQ(pixels_of(d), (std::vector<uint32_t>{0x7F7F7F, 0x123456}));
    IMGFX_invert(d);
    EXPECT_EQ(pixels_of(d), (std::vector<uint32_t>{0x808080, 0xEDCBA9}));
    IMGFX_invert(d);
    EXPECT_EQ(d->pixels[1], 0x123456u);
    IMG_free(&s);
    IMG_free(&d);
}

TEST(Imgfx, BlitsMatchReferenceOnRandomRectangles)
{
    std::mt19937 rng(17);
    for (int trial = 0; trial < 300; ++trial) {
        Image* s = make_image(1 + rng() % 30, 1 + rng() % 30);
        Image* d = make_image(1 + rng() % 30, 1 + rng() % 30);
        randomise(s, rng);
        randomise(d, rng);
        auto coord = [&] { return static_cast<int32_t>(rng() % 80) - 40; };
        const int32_t sc = coord(), sr = coord(), dc = coord(), dr = coord();
        const int32_t w = static_cast<int32_t>(rng() % 50) - 5, h = static_cast<int32_t>(rng() % 50) - 5;
        const Grid src(s), before(d);
        Grid added = before, halved = before;
        reference_rect(src, added, sc, sr, dc, dr, w, h, [&](int32_t i, int32_t j) { added.px[j] = sat_add(src.px[i], added.px[j]); });
        reference_rect(src, halved, sc, sr, dc, dr, w, h, [&](int32_t i, int32_t j) {
            if (src.px[i]) halved.px[j] = half(src.px[i], halved.px[j]);
        });
        IMGFX_blit_add(s, d, sc, sr, dc, dr, w, h);
        ASSERT_EQ(pixels_of(d), added.px) << "add trial " << trial;
        std::copy(before.px.begin(), before.px.end(), d->pixels.get());
        IMGFX_blit_half(s, d, sc, sr, dc, dr, w, h);
        ASSERT_EQ(pixels_of(d), halved.px) << "half trial " << trial;
        IMG_free(&s);
        IMG_free(&d);
    }
}

// The blend as worded: clip by the placement, then bottom row first, each row from the right.
void reference_blend_at(const Grid& s, int32_t x, int32_t y, Grid& d, bool same)
{
    int32_t w = s.width, h = s.height, sx = 0, sy = 0;
    if (x + w <= 0 || y + h <= 0 || x >= d.width || y >= d.height) return;
    if (x < 0) sx = -x, w += x, x = 0;
    if (y < 0) sy = -y, h += y, y = 0;
    if (x + w >= d.width) w = d.width - x;
    if (y + h >= d.height) h = d.height - y;
    for (int32_t r = h - 1; r >= 0; --r)
        for (int32_t c = w - 1; c >= 0; --c) {
            const uint32_t v = same ? d.get(sx + c, sy + r) : s.get(sx + c, sy + r);
            if (v) d.put(x + c, y + r, half(v, d.get(x + c, y + r)));
        }
}

TEST(Imgfx, BlendAtMatchesReferenceIncludingSelfBlend)
{
    std::mt19937 rng(23);
    for (int trial = 0; trial < 300; ++trial) {
        const bool same = trial % 5 == 0;
        Image* d = make_image(1 + rng() % 30, 1 + rng() % 30);
        Image* s = same ? d : make_image(1 + rng() % 30, 1 + rng() % 30);
        randomise(d, rng);
        if (!same) randomise(s, rng);
        s->x = static_cast<int32_t>(rng() % 60) - 30;
        s->y = static_cast<int32_t>(rng() % 60) - 30;
        Grid expected(d);
        reference_blend_at(Grid(s), s->x, s->y, expected, same);
        IMGFX_blend_at(s, d);
        ASSERT_EQ(pixels_of(d), expected.px) << "trial " << trial;
        if (!same) IMG_free(&s);
        IMG_free(&d);
    }
}

TEST(Imgfx, DitherLineOfLengthTen)
{
    constexpr uint32_t A = 0x0000FF, B = 0xFF0000;
    Image* image = make_image(16, 4);
    IMGFX_line_dither(image, 0, 1, A, 10, 1, B);
    const std::vector<uint32_t> expected{A, A, A, A, B, A, B, A, B, B, B};
    for (int32_t c = 0; c <= 10; ++c) EXPECT_EQ(IMG_get(image, c, 1), expected[c]) << "point " << c;
    IMGFX_line_dither(image, 3, 3, A, 3, 3, B);
    EXPECT_EQ(IMG_get(image, 3, 3), A) << "a single point takes the first colour";
    IMG_free(&image);
}

TEST(Imgfx, GradientLineRisesOneLevelPerPoint)
{
    Image* image = make_image(256, 2);
    IMGFX_line_gradient(image, 0, 0, 0x000000, 255, 0, 0xFF0000);
    for (int32_t c = 0; c < 256; ++c) ASSERT_EQ(IMG_get(image, c, 0), static_cast<uint32_t>(c) << 16) << "point " << c;
    IMGFX_line_gradient(image, 7, 1, 0x102030, 7, 1, 0x305071);
    EXPECT_EQ(IMG_get(image, 7, 1), 0x203850u) << "a single point takes the average";
    IMG_free(&image);
}

TEST(Imgfx, ColourLinesMatchReferenceOnRandomEnds)
{
    std::mt19937 rng(29);
    for (int trial = 0; trial < 300; ++trial) {
        Image* image = make_image(24, 20);
        randomise(image, rng);
        auto coord = [&] { return static_cast<int32_t>(rng() % 60) - 20; };
        const int32_t c0 = coord(), r0 = coord(), c1 = coord(), r1 = coord();
        const uint32_t k0 = rng(), k1 = rng();
        const int32_t ax = std::abs(c1 - c0), ay = std::abs(r1 - r0), L = ax > ay ? ax : ay;

        Grid dither(image);
        if (L == 0) {
            dither.put(c0, r0, k0);
        } else {
            int32_t acc = L, k = 0;
            reference_walk(c0, r0, c1, r1, [&](int32_t c, int32_t r) {
                acc -= k;
                ++k;
                if (acc > 0) {
                    dither.put(c, r, k0);
                } else {
                    dither.put(c, r, k1);
                    acc += L;
                }
            });
        }
        Grid gradient(image);
        if (L == 0) {
            auto avg = [&](int s) { return (ch(k0, s) + ch(k1, s)) >> 1; };
            gradient.put(c0, r0, rgb(avg(16), avg(8), avg(0)));
        } else {
            int32_t R = ch(k0, 16) * 65536, G = ch(k0, 8) * 65536, B = ch(k0, 0) * 65536;
            const int32_t dR = (int32_t(ch(k1, 16)) - int32_t(ch(k0, 16))) * 65536 / L;
            const int32_t dG = (int32_t(ch(k1, 8)) - int32_t(ch(k0, 8))) * 65536 / L;
            const int32_t dB = (int32_t(ch(k1, 0)) - int32_t(ch(k0, 0))) * 65536 / L;
            reference_walk(c0, r0, c1, r1, [&](int32_t c, int32_t r) {
                gradient.put(c, r, (R & 0xFF0000) | ((G & 0xFF0000) >> 8) | ((B & 0xFF0000) >> 16));
                R += dR, G += dG, B += dB;
            });
        }
        Image* copy = make_image(24, 20);
        IMG_copy(image, copy);
        IMGFX_line_dither(image, c0, r0, k0, c1, r1, k1);
        ASSERT_EQ(pixels_of(image), dither.px) << "dither trial " << trial;
        IMGFX_line_gradient(copy, c0, r0, k0, c1, r1, k1);
        ASSERT_EQ(pixels_of(copy), gradient.px) << "gradient trial " << trial;
        IMG_free(&image);
        IMG_free(&copy);
    }
}

TEST(Imgfx, VlineBlendMatchesReference)
{
    std::mt19937 rng(31);
    for (int trial = 0; trial < 300; ++trial) {
        Image* image = make_image(6, 12);
        randomise(image, rng);
        const int32_t col = static_cast<int32_t>(rng() % 8) - 1, row0 = static_cast<int32_t>(rng() % 20) - 4,
                      row1 = static_cast<int32_t>(rng() % 20) - 4;
        // Mostly 0 .. 256; now and then outside, where channels spill but must still agree.
        const int32_t alpha = trial % 10 ? static_cast<int32_t>(rng() % 257) : static_cast<int32_t>(rng() % 600) - 300;
        const uint32_t colour = rng();
        Grid expected(image);
        int32_t lo = row0, hi = row1;
        if (hi < lo) std::swap(lo, hi);
        if (col >= 0 && col < expected.width) {
            if (hi >= expected.height) hi = expected.height - 1;
            const uint32_t a = static_cast<uint32_t>(alpha), b = 256u - a;
            for (int32_t r = lo < 0 ? 0 : lo; r <= hi; ++r) {
                const uint32_t d = expected.get(col, r);
                expected.put(col, r, ((((d & 0xFF0000) * b + (colour & 0xFF0000) * a) >> 8) & 0xFF0000) |
                                         ((((d & 0xFF00) * b + (colour & 0xFF00) * a) >> 8) & 0xFF00) |
                                         (((d & 0xFF) * b + (colour & 0xFF) * a) >> 8));
            }
        }
        IMG_vline_blend(image, col, row0, row1, colour, alpha);
        ASSERT_EQ(pixels_of(image), expected.px) << "trial " << trial;
        IMG_free(&image);
    }
}

TEST(Imgfx, NullImagesReportThroughTheirModule)
{
    Image* image = make_image(2, 2);
    const long fx = IMGFX_report().count, img = IMG_report().count;
    IMGFX_blur(nullptr, image);
    IMGFX_glare(image, nullptr, 3);
    IMGFX_blend_at(nullptr, image);
    IMG_vline_blend(nullptr, 0, 0, 1, 0, 128);
    IMG_add_pixel(nullptr, 0, 0, 1);
    EXPECT_EQ(IMGFX_report().count, fx + 3);
    EXPECT_EQ(IMG_report().count, img + 2);
    IMG_add_pixel(image, 1, 1, 0x808080);
    IMG_add_pixel(image, 1, 1, 0x8090A0);
    IMG_add_pixel(image, 2, 1, 0xFFFFFF);
    EXPECT_EQ(pixels_of(image), (std::vector<uint32_t>{0, 0, 0, 0xFFFFFF}));
    IMG_free(&image);
}

}  // namespace
