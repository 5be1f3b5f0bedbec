// Inputs the fuzz targets once tripped over, kept so that the faults they showed stay fixed.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "raster/img.h"
#include "vector/list.h"
#include "vector/obj2d.h"

namespace {

// The set pixels of an image, column and row, in reading order.
std::vector<std::pair<int32_t, int32_t>> set_pixels(const Image* image)
{
    std::vector<std::pair<int32_t, int32_t>> points;
    for (int32_t r = 0; r < image->height; ++r)
        for (int32_t c = 0; c < image->width; ++c)
            if (IMG_get(image, c, r)) points.emplace_back(c, r);
    return points;
}

}  // namespace

// A plain glyph placed at the edge of the 32-bit plane: the moved end points wrap around, so each
// segment runs across the whole plane. Walking it step by step took billions of steps, which the
// fuzzer reported as a hang; only the part over the image is drawn now.
TEST(FuzzRegression, GlyphWrappedAcrossThePlaneDrawsOnlyItsVisiblePart)
{
    const char text[] = "{\nname A\ns 0, 14, 7, 0\ns 7, 0, 14, 14\ns 3, 8, 11, 8\n}\n";
    LIST* set = OBJ2D_parse(text);
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(set->count, 1);
    auto* glyph = static_cast<OBJ2D*>(set->items[0]);
    OBJ2D_set_colour(glyph, 0xFF0000);
    Image* image = IMG_new();
    IMG_resize(image, 24, 17);

    // The placement the fuzzer found: all three segments stay far to the right of the image.
    glyph->position = VEC2D{INT32_MAX, INT32_MIN, 0xFFFFFF};
    glyph->angle = 512;
    OBJ2D_draw(glyph, image);
    EXPECT_TRUE(set_pixels(image).empty());

    // Moved so that both slanted strokes wrap from the bottom of the plane through the image: the
    // points are those of the full step-by-step walk.
    glyph->position = VEC2D{12, INT32_MAX - 3, 0xFFFFFF};
    glyph->angle = 0;
    OBJ2D_draw(glyph, image);
    std::vector<std::pair<int32_t, int32_t>> expected;
    for (int32_t r = 0; r < 17; ++r) {
        expected.emplace_back(r < 3 ? 15 : 16, r);
        expected.emplace_back(r < 4 ? 23 : 22, r);
    }
    EXPECT_EQ(set_pixels(image), expected);
    for (const auto& [c, r] : expected) ASSERT_EQ(IMG_get(image, c, r), 0xFF0000u);

    IMG_free(&image);
    OBJ2D_free_set(&set);
}
