// FONT: the bitmap font: glyph cells cut from the sheet and placed along the row.
#include <gtest/gtest.h>

#include "raster/font.h"
#include "raster/img.h"

namespace {

TEST(Font, PutGlyphCutsCellsFromTheSheet)
{
    Image* sheet = IMG_new();
    IMG_resize(sheet, 256, 256);
    for (int row = 0; row < 256; ++row)
        for (int col = 0; col < 256; ++col) IMG_put(sheet, col, row, static_cast<uint32_t>(row << 8 | col) + 1);
    Image* target = IMG_new();
    IMG_resize(target, 40, 20);
    Font* font = FONT_new();
    ASSERT_NE(nullptr, font);
    EXPECT_EQ(6, font->glyph_width);
    EXPECT_EQ(6, font->glyph_height);
    font->glyph_width = font->glyph_height = 16;
    font->sheet = sheet;
    font->target = target;
    font->x = 3;
    font->y = 2;
    font->code = 65;  // column 16, row 64 of the sheet
    FONT_put_glyph(font);
    EXPECT_EQ(19, font->x);
    EXPECT_EQ(IMG_get(sheet, 16, 64), IMG_get(target, 3, 2));
    EXPECT_EQ(IMG_get(sheet, 31, 79), IMG_get(target, 18, 17));
    EXPECT_EQ(0u, IMG_get(target, 19, 2));
    EXPECT_EQ(0u, IMG_get(target, 2, 2));

    IMG_fill(target, 0);
    font->code = -1;  // lands left of the sheet: nothing drawn, the cell still taken
    FONT_put_glyph(font);
    EXPECT_EQ(35, font->x);
    for (int i = 0; i < 40 * 20; ++i) ASSERT_EQ(0u, target->pixels[i]);

    const long before = FONT_report().count;
    FONT_put_glyph(nullptr);
    font->sheet = nullptr;
    FONT_put_glyph(font);
    EXPECT_EQ(35, font->x);
    EXPECT_EQ(before + 2, FONT_report().count);
    FONT_free(&font);
    IMG_free(&target);
    IMG_free(&sheet);
}

}  // namespace
