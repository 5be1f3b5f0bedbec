// The recorder's enlargement of a presentation: rows built once and copied, compared with a
// straightforward per-pixel version.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "app/recorder/upscale.h"
#include "support/child.h"

namespace {

// Every output pixel looked up on its own: the source pixel under it, as R, G, B.
std::vector<uint8_t> reference(const std::vector<uint32_t>& pixels, int32_t width, int32_t height, int32_t scale)
{
    std::vector<uint8_t> out(static_cast<std::size_t>(width * scale) * (height * scale) * 3);
    for (int32_t y = 0; y < height * scale; ++y)
        for (int32_t x = 0; x < width * scale; ++x) {
            const uint32_t p = pixels[(y / scale) * width + x / scale];
            uint8_t* o = &out[(static_cast<std::size_t>(y) * width * scale + x) * 3];
            o[0] = (p >> 16) & 0xFF, o[1] = (p >> 8) & 0xFF, o[2] = p & 0xFF;
        }
    return out;
}

TEST(Upscale, EveryPixelBecomesAScaleByScaleBlockAsThePerPixelVersionSays)
{
    std::mt19937 rng(12);
    struct Size {
        int32_t w, h;
    };
    for (const Size size : {Size{1, 1}, Size{3, 5}, Size{17, 2}, Size{256, 256}}) {
        // Random words, high byte included, which must not reach the picture.
        std::vector<uint32_t> pixels(static_cast<std::size_t>(size.w) * size.h);
        for (uint32_t& p : pixels) p = rng();
        for (int32_t scale = 1; scale <= UPSCALE_max; ++scale) {
            const std::vector<uint8_t> want = reference(pixels, size.w, size.h, scale);
            // One guard byte past the end shows that nothing is written beyond the picture.
            std::vector<uint8_t> got(want.size() + 1, 0xA5);
            const long before = allocation_count();
            UPSCALE_picture(pixels.data(), size.w, size.h, scale, got.data());
            EXPECT_EQ(allocation_count(), before);
            EXPECT_EQ(got.back(), 0xA5) << size.w << "x" << size.h << " at " << scale;
            got.pop_back();
            EXPECT_TRUE(got == want) << size.w << "x" << size.h << " at " << scale;
            // A row alone is the picture's first row.
            std::vector<uint8_t> row(static_cast<std::size_t>(size.w) * scale * 3);
            UPSCALE_row(pixels.data(), size.w, scale, row.data());
            EXPECT_TRUE(std::equal(row.begin(), row.end(), want.begin())) << size.w << " at " << scale;
        }
    }
}

TEST(Upscale, BadArgumentsAreReportedAndWriteNothing)
{
    const uint32_t pixels[4] = {0x112233, 0x445566, 0x778899, 0xAABBCC};
    std::vector<uint8_t> out(4 * 9 * 9 * 3, 0x5A);
    const long before = UPSCALE_report().count;
    UPSCALE_picture(nullptr, 2, 2, 2, out.data());
    UPSCALE_picture(pixels, 2, 2, 2, nullptr);
    UPSCALE_picture(pixels, 0, 2, 2, out.data());
    UPSCALE_picture(pixels, 2, -1, 2, out.data());
    UPSCALE_picture(pixels, 2, 2, 0, out.data());
    UPSCALE_picture(pixels, 2, 2, UPSCALE_max + 1, out.data());
    UPSCALE_row(pixels, 2, UPSCALE_max + 1, out.data());
    UPSCALE_row(nullptr, 2, 1, out.data());
    EXPECT_EQ(UPSCALE_report().count, before + 8);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](uint8_t b) { return b == 0x5A; }));
}

}  // namespace
