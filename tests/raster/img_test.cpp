// IMG: life cycle, clipped pixel access, keyed blit, colour arithmetic, column wrap and lines.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "raster/img.h"
#include "support/images.h"

namespace {

// The keyed blit exactly as worded: reject, clip on the source, clip on the destination, copy.
void reference_blit(const Grid& s, Grid& d, int32_t sc, int32_t sr, int32_t dc, int32_t dr, int32_t w, int32_t h)
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
        for (int32_t c = 0; c < w; ++c)
            if (uint32_t v = s.px[sc + c + (sr + r) * s.width]) d.px[dc + c + (dr + r) * d.width] = v;
}

uint32_t ref_add(uint32_t p, uint32_t colour)
{
    uint32_t out = 0;
    for (uint32_t field : {0xFF0000u, 0xFF00u, 0xFFu}) {
        const uint32_t sum = (p & field) + (colour & field);
        out |= sum > field ? field : sum;
    }
    return out;
}

uint32_t ref_sub(uint32_t p, uint32_t colour)
{
    uint32_t out = 0;
    for (uint32_t field : {0xFF0000u, 0xFF00u, 0xFFu}) {
        const int64_t diff = int64_t{p & field} - int64_t{colour & field};
        out |= diff < 0 ? 0 : static_cast<uint32_t>(diff);
    }
    return out;
}

// The points IMG_line plots on a large empty image, in order of plotting.
std::vector<std::pair<int32_t, int32_t>> plotted(int32_t c0, int32_t r0, int32_t c1, int32_t r1)
{
    Image* image = make_image(16, 16);
    IMG_line(image, c0, r0, c1, r1, 1);
    std::vector<std::pair<int32_t, int32_t>> points;
    for (int32_t r = 0; r < 16; ++r)
        for (int32_t c = 0; c < 16; ++c)
            if (IMG_get(image, c, r)) points.emplace_back(c, r);
    IMG_free(&image);
    return points;
}

TEST(Img, NewResizeAndFree)
{
    Image* image = IMG_new();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 16);
    EXPECT_EQ(image->height, 16);
    EXPECT_EQ(pixels_of(image), std::vector<uint32_t>(256, 0));
    IMG_resize(image, 256, 256);
    EXPECT_EQ(pixels_of(image), std::vector<uint32_t>(65536, 0));
    IMG_fill(image, 0x123456);
    IMG_resize(image, 256, 256);
    EXPECT_EQ(IMG_get(image, 100, 100), 0u) << "resizing to the same size clears";
    IMG_free(&image);
    EXPECT_EQ(image, nullptr);
    const long before = IMG_report().count;
    IMG_free(&image);
    IMG_fill(nullptr, 1);
    EXPECT_EQ(IMG_get(nullptr, 0, 0), 0u);
    EXPECT_EQ(IMG_report().count, before + 3);
}

TEST(Img, PutAndGetClipSilently)
{
    Image* image = make_image(4, 3);
    const long before = IMG_report().count;
    for (auto [c, r] : {std::pair{-1, 0}, {4, 0}, {0, 3}, {0, -1}}) {
        IMG_put(image, c, r, 0xFFFFFF);
        EXPECT_EQ(IMG_get(image, c, r), 0u);
    }
    EXPECT_EQ(pixels_of(image), std::vector<uint32_t>(12, 0));
    IMG_put(image, 3, 2, 0x00FF0001);
    EXPECT_EQ(image->pixels[11], 0x00FF0001u);
    EXPECT_EQ(IMG_report().count, before);
    IMG_free(&image);
}

TEST(Img, CopyNeedsEqualSizes)
{
    Image* a = make_image(3, 2);
    Image* b = make_image(2, 3);
    IMG_fill(a, 0x10);
    const long before = IMG_report().count;
    IMG_copy(a, b);
    EXPECT_EQ(IMG_report().count, before + 1);
    EXPECT_EQ(pixels_of(b), std::vector<uint32_t>(6, 0));
    IMG_resize(b, 3, 2);
    IMG_copy(a, b);
    EXPECT_EQ(pixels_of(b), std::vector<uint32_t>(6, 0x10));
    IMG_free(&a);
    IMG_free(&b);
}

TEST(Img, BlitClipsOnBothImagesAndSkipsBlack)
{
    Image* sprite = make_image(16, 16);
    for (int32_t i = 0; i < 256; ++i) sprite->pixels[i] = 0x010000u * (i % 16) + (i / 16) + 1;
    sprite->pixels[15 * 16 + 15] = 0;
    Image* frame = make_image(256, 256);
    IMG_fill(frame, 0x777777);
    IMG_blit(sprite, frame, 0, 0, -8, -8, 16, 16);
    EXPECT_EQ(IMG_get(frame, 0, 0), IMG_get(sprite, 8, 8));
    EXPECT_EQ(IMG_get(frame, 6, 6), IMG_get(sprite, 14, 14));
    EXPECT_EQ(IMG_get(frame, 7, 7), 0x777777u) << "a black source pixel leaves the destination";
    EXPECT_EQ(IMG_get(frame, 8, 0), 0x777777u);
    EXPECT_EQ(IMG_get(frame, 0, 8), 0x777777u);

    IMG_fill(frame, 0);
    IMG_blit(sprite, frame, -4, 0, 20, 0, 16, 1);
    EXPECT_EQ(IMG_get(frame, 23, 0), 0u);
    EXPECT_EQ(IMG_get(frame, 24, 0), IMG_get(sprite, 0, 0));
    EXPECT_EQ(IMG_get(frame, 35, 0), IMG_get(sprite, 11, 0));
    EXPECT_EQ(IMG_get(frame, 36, 0), 0u);
    IMG_free(&sprite);
    IMG_free(&frame);
}

TEST(Img, BlitMatchesReferenceOnRandomRectangles)
{
    std::mt19937 rng(7);
    for (int trial = 0; trial < 400; ++trial) {
        Image* s = make_image(1 + rng() % 40, 1 + rng() % 40);
        Image* d = make_image(1 + rng() % 40, 1 + rng() % 40);
        randomise(s, rng);
        randomise(d, rng);
        auto coord = [&] { return static_cast<int32_t>(rng() % 100) - 50; };
        const int32_t sc = coord(), sr = coord(), dc = coord(), dr = coord();
        const int32_t w = static_cast<int32_t>(rng() % 70) - 5, h = static_cast<int32_t>(rng() % 70) - 5;
        Grid expected(d);
        reference_blit(Grid(s), expected, sc, sr, dc, dr, w, h);
        IMG_blit(s, d, sc, sr, dc, dr, w, h);
        ASSERT_EQ(pixels_of(d), expected.px) << "trial " << trial;
        IMG_free(&s);
        IMG_free(&d);
    }
}

TEST(Img, BlitWithinOneImageKeepsPixelOrder)
{
    // Overlapping rectangles of one image: pixels copied earlier in the same blit are read again.
    std::mt19937 rng(9);
    for (int trial = 0; trial < 200; ++trial) {
        Image* image = make_image(1 + rng() % 24, 1 + rng() % 24);
        randomise(image, rng);
        auto coord = [&] { return static_cast<int32_t>(rng() % 12) - 4; };
        const int32_t sc = coord(), sr = coord(), dc = sc + static_cast<int32_t>(rng() % 7) - 3,
                      dr = sr + static_cast<int32_t>(rng() % 3) - 1;
        const int32_t w = 1 + static_cast<int32_t>(rng() % 24), h = 1 + static_cast<int32_t>(rng() % 24);
        Grid expected(image);
        reference_blit(expected, expected, sc, sr, dc, dr, w, h);
        IMG_blit(image, image, sc, sr, dc, dr, w, h);
        ASSERT_EQ(pixels_of(image), expected.px) << "trial " << trial;
        IMG_free(&image);
    }
}

TEST(Img, AddAndSubSaturatePerChannel)
{
    Image* image = make_image(1, 1);
    image->pixels[0] = 0x00C01020;
    IMG_add(image, 0x808080);
    EXPECT_EQ(image->pixels[0], 0x00FF90A0u);
    image->pixels[0] = 0x00201010;
    IMG_sub(image, 0x302000);
    EXPECT_EQ(image->pixels[0], 0x00000010u);
    image->pixels[0] = 0xAB102030;
    IMG_add(image, 0xFF000000);
    EXPECT_EQ(image->pixels[0], 0x00102030u) << "the high bytes are not channels";
    IMG_free(&image);
}

TEST(Img, AddAndSubMatchReferenceOnRandomPixels)
{
    std::mt19937 rng(11);
    for (int trial = 0; trial < 40; ++trial) {
        // Odd sizes leave pixels for the tail of the four-at-a-time loop.
        Image* image = make_image(1 + rng() % 37, 1 + rng() % 5);
        randomise(image, rng);
        const uint32_t colour = rng();
        std::vector<uint32_t> added = pixels_of(image), subtracted = added;
        for (uint32_t& p : added) p = ref_add(p, colour);
        for (uint32_t& p : subtracted) p = ref_sub(p, colour);
        Image* copy = make_image(image->width, image->height);
        IMG_copy(image, copy);
        IMG_add(image, colour);
        IMG_sub(copy, colour);
        ASSERT_EQ(pixels_of(image), added) << "colour " << colour;
        ASSERT_EQ(pixels_of(copy), subtracted) << "colour " << colour;
        IMG_free(&image);
        IMG_free(&copy);
    }
}

TEST(Img, AndMasksEveryPixel)
{
    Image* mask = make_image(2, 1);
    Image* image = make_image(2, 1);
    mask->pixels[0] = 0xFF00FF;
    mask->pixels[1] = 0;
    IMG_fill(image, 0x123456);
    IMG_and(mask, image);
    EXPECT_EQ(image->pixels[0], 0x120056u);
    EXPECT_EQ(image->pixels[1], 0u);
    IMG_free(&mask);
    IMG_free(&image);
}

TEST(Img, BlitColumnWrapsAroundTheBottom)
{
    Image* strip = make_image(2, 16);
    for (int32_t r = 0; r < 16; ++r) IMG_put(strip, 1, r, 0x100 + r);
    IMG_put(strip, 1, 3, 0);
    Image* frame = make_image(256, 256);
    for (int32_t start : {250, -6}) {
        IMG_fill(frame, 0xABCDEF);
        IMG_blit_column(strip, frame, 1, 7, start);
        // Source rows 0..5 land on rows 250..255, rows 6..15 on rows 0..9; black row 3 is skipped.
        for (int32_t k = 0; k < 16; ++k) {
            const int32_t r = (250 + k) % 256;
            EXPECT_EQ(IMG_get(frame, 7, r), k == 3 ? 0xABCDEFu : 0x100u + k) << "start " << start << " row " << r;
        }
        EXPECT_EQ(IMG_get(frame, 7, 10), 0xABCDEFu);
        EXPECT_EQ(IMG_get(frame, 7, 249), 0xABCDEFu);
        EXPECT_EQ(IMG_get(frame, 6, 250), 0xABCDEFu);
    }
    const long before = IMG_report().count;
    IMG_blit_column(strip, frame, 2, 7, 0);
    IMG_blit_column(strip, frame, 0, 256, 0);
    EXPECT_EQ(IMG_report().count, before + 2);
    IMG_free(&strip);
    IMG_free(&frame);
}

TEST(Img, FillRectClipsToTheImage)
{
    Image* image = make_image(5, 4);
    IMG_fill_rect(image, -2, 3, 4, 9, 7);
    std::vector<uint32_t> expected(20, 0);
    expected[15] = expected[16] = 7;
    EXPECT_EQ(pixels_of(image), expected);
    IMG_fill_rect(image, 5, 0, 3, 3, 9);
    IMG_fill_rect(image, 0, 0, -1, 3, 9);
    EXPECT_EQ(pixels_of(image), expected);
    IMG_free(&image);
}

TEST(Img, LinePlotsBresenhamPoints)
{
    using P = std::vector<std::pair<int32_t, int32_t>>;
    EXPECT_EQ(plotted(0, 0, 3, 1), (P{{0, 0}, {1, 1}, {2, 1}, {3, 1}}));
    EXPECT_EQ(plotted(0, 0, 2, 2), (P{{0, 0}, {1, 1}, {2, 2}}));
    EXPECT_EQ(plotted(3, 1, 0, 0), (P{{0, 0}, {1, 0}, {2, 0}, {3, 1}})) << "the error starts at the first end";
    EXPECT_EQ(plotted(5, 5, 5, 5), (P{{5, 5}}));
    EXPECT_EQ(plotted(-1000, 2, 1000, 2).size(), 16u) << "clipped point by point";
}

// Every step of the line walk, plotting the points that fall inside: the definition the clipped
// walk of IMG_line must match.
void reference_line(Image* image, int32_t c0, int32_t r0, int32_t c1, int32_t r1, uint32_t value)
{
    const int64_t dx = int64_t{c1} - c0, dy = int64_t{r1} - r0;
    const int64_t sx = (dx > 0) - (dx < 0), sy = (dy > 0) - (dy < 0);
    const int64_t ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
    const bool x_major = ax > ay;
    const int64_t major = x_major ? ax : ay, minor = x_major ? ay : ax;
    int64_t c = c0, r = r0, err = major >> 1;
    for (int64_t i = 0; i <= major; ++i) {
        if (c >= 0 && r >= 0 && c < image->width && r < image->height) image->pixels[c + r * image->width] = value;
        (x_major ? c : r) += x_major ? sx : sy;
        err -= minor;
        if (err <= 0) err += major, (x_major ? r : c) += x_major ? sy : sx;
    }
}

TEST(Img, LinesFromFarOutsideMatchTheFullWalk)
{
    std::mt19937 rng(71);
    Image* fast = make_image(13, 9);
    Image* slow = make_image(13, 9);
    // Ends near the image, then ever farther off, so lines enter and leave at every slope.
    for (const int32_t reach : {20, 3000, 200000}) {
        const int cases = reach > 5000 ? 100 : 1500;
        std::uniform_int_distribution<int32_t> end(-reach, reach);
        for (int n = 0; n < cases; ++n) {
            const int32_t c0 = end(rng), r0 = end(rng), c1 = end(rng) / (n % 3 + 1), r1 = end(rng) / (n % 5 + 1);
            const uint32_t colour = rng() & 0xFFFFFF;
            IMG_line(fast, c0, r0, c1, r1, colour);
            reference_line(slow, c0, r0, c1, r1, colour);
            ASSERT_EQ(pixels_of(fast), pixels_of(slow)) << c0 << "," << r0 << " to " << c1 << "," << r1;
        }
    }
    // Diagonals whose error starts at 0 and lines where the steep axis moves every step.
    for (const auto& [c0, r0, c1, r1] : std::vector<std::array<int32_t, 4>>{
             {-1, -1, 0, 0}, {-7, 20, 3, 10}, {30, -30, -2, 2}, {-5, -3, 20, 6}, {14, -100, 12, 100}}) {
        IMG_line(fast, c0, r0, c1, r1, 0x0000FF);
        reference_line(slow, c0, r0, c1, r1, 0x0000FF);
        ASSERT_EQ(pixels_of(fast), pixels_of(slow)) << c0 << "," << r0 << " to " << c1 << "," << r1;
    }
    IMG_free(&fast);
    IMG_free(&slow);
}

TEST(Img, LinesAcrossThe32BitPlaneDrawOnlyTheirVisiblePart)
{
    constexpr int32_t lo = INT32_MIN, hi = INT32_MAX;
    using P = std::vector<std::pair<int32_t, int32_t>>;
    // The row through the middle and the main diagonal, each from one corner of the plane to the other.
    EXPECT_EQ(plotted(lo, 7, hi, 7).size(), 16u);
    P diagonal;
    for (int32_t i = 0; i < 16; ++i) diagonal.emplace_back(i, i);
    EXPECT_EQ(plotted(lo, lo, hi, hi), diagonal);
    EXPECT_EQ(plotted(hi, hi, lo, lo), diagonal);
    EXPECT_EQ(plotted(lo, hi, hi, lo).size(), 0u) << "the other diagonal misses the image by one";
    EXPECT_EQ(plotted(hi, 3, hi - 5, 3).size(), 0u);
}

TEST(Img, HorizontalAndVerticalRuns)
{
    Image* image = make_image(256, 256);
    IMG_hline(image, 4, 300, -5, 0xFF);
    for (int32_t c : {0, 128, 255}) EXPECT_EQ(IMG_get(image, c, 4), 0xFFu);
    IMG_hline(image, 256, 0, 10, 0xEE);
    IMG_vline(image, 0x11, 9, 300, -5);
    for (int32_t r = 0; r < 256; ++r) ASSERT_EQ(IMG_get(image, 9, r), r == 4 ? 0xFFu : 0u);
    IMG_vline(image, 0x22, 9, -5, 300);
    for (int32_t r = 0; r < 256; ++r) ASSERT_EQ(IMG_get(image, 9, r), 0x22u);
    IMG_vline(image, 0x33, 256, 0, 10);
    EXPECT_EQ(IMG_get(image, 255, 0), 0u);
    IMG_free(&image);
}

}  // namespace
