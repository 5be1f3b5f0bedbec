// DISTY: the column distorter: each source column shifted down by the sine, wrapping at the
// bottom edge.
#include <gtest/gtest.h>

#include "base/sine.h"
#include "raster/img.h"
#include "vector/disty.h"

namespace {

TEST(Disty, ColumnsFollowTheSine)
{
    DISTY* d = DISTY_new();
    ASSERT_NE(nullptr, d);
    EXPECT_EQ(16, d->amplitude);
    EXPECT_EQ(1024, d->wave.modulus);
    EXPECT_EQ(16, d->wave.offset_step);
    Image* source = IMG_new();
    IMG_resize(source, 6, 4);
    for (int col = 0; col < 6; ++col)
        for (int row = 0; row < 4; ++row) IMG_put(source, col, row, static_cast<uint32_t>(col << 8 | (row + 1)));
    IMG_put(source, 2, 1, 0);  // black is left out
    Image* dest = IMG_new();
    IMG_resize(dest, 5, 64);
    d->source = source;
    d->amplitude = 64;
    d->y = 40;
    d->x = -1;  // source column 0 falls off the left edge
    d->wave.offset_step = 256;
    d->wave.position = 7;
    const long img_errors = IMG_report().count;
    DISTY_draw(d, dest);
    EXPECT_EQ(img_errors, IMG_report().count);  // dropped columns are not errors
    Image* expected = IMG_new();
    IMG_resize(expected, 5, 64);
    for (int col = 1; col < 6; ++col) {
        const int k = (7 + 256 * (col + 1)) % 1024;
        const int shift = ((SINE_table[k] * 64) >> 16) + 40;
        for (int row = 0; row < 4; ++row) {
            const uint32_t v = IMG_get(source, col, row);
            if (v) IMG_put(expected, col - 1, (shift + row) % 64, v);
        }
    }
    for (int i = 0; i < 5 * 64; ++i) ASSERT_EQ(expected->pixels[i], dest->pixels[i]) << "pixel " << i;
    // Phase 256 + 7 on source column 0 was dropped; column 3 has phase 7 + 1024: shift 40 + 0.
    EXPECT_EQ(0x301u, IMG_get(dest, 2, 40 + ((SINE_table[7] * 64) >> 16)));

    // Phase 256 moves the top edge down by (32766 * 64) >> 16 = 31 rows, plus y, wrapping at
    // the bottom edge.
    DISTY* one = DISTY_new();
    Image* column = IMG_new();
    IMG_resize(column, 1, 3);
    IMG_fill(column, 0x0000FF);
    Image* frame = IMG_new();
    IMG_resize(frame, 2, 40);
    one->source = column;
    one->amplitude = 64;
    one->y = 7;
    one->wave.offset_step = 256;
    DISTY_draw(one, frame);
    EXPECT_EQ(0u, IMG_get(frame, 0, 37));
    EXPECT_EQ(0x0000FFu, IMG_get(frame, 0, 38));
    EXPECT_EQ(0x0000FFu, IMG_get(frame, 0, 39));
    EXPECT_EQ(0x0000FFu, IMG_get(frame, 0, 0));
    EXPECT_EQ(0u, IMG_get(frame, 0, 1));
    IMG_free(&frame);
    IMG_free(&column);
    DISTY_free(&one);

    DISTY_advance(d);
    EXPECT_EQ(8, d->wave.position);
    const long before = DISTY_report().count;
    DISTY_draw(d, nullptr);
    d->source = nullptr;
    DISTY_draw(d, dest);
    DISTY_advance(nullptr);
    EXPECT_EQ(before + 3, DISTY_report().count);
    IMG_free(&expected);
    IMG_free(&dest);
    IMG_free(&source);
    DISTY_free(&d);
}

}  // namespace
