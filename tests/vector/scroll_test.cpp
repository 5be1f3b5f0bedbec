// SCROLL: the scroller: moving by fine steps and whole characters, and drawing the visible
// glyphs.
#include <gtest/gtest.h>

#include "raster/font.h"
#include "raster/img.h"
#include "vector/cursor.h"
#include "vector/scroll.h"

namespace {

// A glyph sheet whose 32 x 32 cell of code k is filled with k + 1.
struct Scroller {
    Image* sheet = IMG_new();
    Image* strip = IMG_new();
    Font* font = FONT_new();
    SCROLL* scroll = SCROLL_new();
    Scroller(const char* text, int32_t width)
    {
        IMG_resize(sheet, 256, 512);
        for (int k = 0; k < 128; ++k) IMG_fill_rect(sheet, (k % 8) * 32, (k / 8) * 32, 32, 32, static_cast<uint32_t>(k + 1));
        IMG_resize(strip, width, 32);
        font->glyph_width = font->glyph_height = 32;
        font->sheet = sheet;
        SCROLL_bind(scroll, text, font, strip);
    }
    ~Scroller()
    {
        SCROLL_free(&scroll);
        FONT_free(&font);
        IMG_free(&strip);
        IMG_free(&sheet);
    }
};

TEST(Scroll, MovesByWholeCharacters)
{
    Scroller s("ABCDEFGH", 256);
    EXPECT_EQ(256, s.scroll->width);
    s.scroll->speed = 4;
    for (int move = 1; move <= 16; ++move) {
        SCROLL_move(s.scroll);
        EXPECT_EQ(move % 8 * 4, s.scroll->fine) << "move " << move;
        EXPECT_EQ(move / 8, s.scroll->cursor->position) << "move " << move;
    }

    Scroller back("ABCDEFGH", 256);
    back.scroll->speed = -4;
    SCROLL_move(back.scroll);
    EXPECT_EQ(28, back.scroll->fine);
    EXPECT_EQ(7, back.scroll->cursor->position);
    back.scroll->fine = 0;
    back.scroll->speed = -32;  // an exact multiple backwards: fine stays at the cell width
    SCROLL_move(back.scroll);
    EXPECT_EQ(32, back.scroll->fine);
    EXPECT_EQ(5, back.scroll->cursor->position);
    back.scroll->speed = 4;
    SCROLL_move(back.scroll);
    EXPECT_EQ(4, back.scroll->fine);
    EXPECT_EQ(6, back.scroll->cursor->position);

    SCROLL* bare = SCROLL_new();  // no font: nothing to divide by, nothing done
    ASSERT_NE(nullptr, bare);
    EXPECT_EQ(1, bare->speed);
    const long before = SCROLL_report().count;
    SCROLL_move(bare);
    SCROLL_draw(bare);
    EXPECT_EQ(0, bare->fine);
    back.font->glyph_width = 0;
    SCROLL_move(back.scroll);
    SCROLL_draw(back.scroll);
    EXPECT_EQ(before + 4, SCROLL_report().count);
    SCROLL_free(&bare);
}

TEST(Scroll, DrawsTheVisibleGlyphs)
{
    Scroller s("ABC", 256);
    s.scroll->cursor->position = 1;
    s.scroll->fine = 5;
    SCROLL_draw(s.scroll);
    // 256 / 32 = 8 cells plus one at each end: ten glyphs, the last one past the right edge.
    EXPECT_EQ(-5 + 10 * 32, s.font->x);
    EXPECT_EQ(1, s.scroll->cursor->position);  // restored
    EXPECT_EQ(1, s.scroll->cursor->speed);
    const char text[] = "ABC";
    for (int col = 0; col < 256; ++col) {
        const int cell = (col + 5) / 32;
        const uint32_t code = static_cast<uint32_t>(text[(1 + cell) % 3]);
        ASSERT_EQ(code + 1, IMG_get(s.strip, col, 0)) << "column " << col;
        ASSERT_EQ(code + 1, IMG_get(s.strip, col, 31)) << "column " << col;
    }

    Scroller empty("", 64);
    const long before = SCROLL_report().count, cursor_before = CURSOR_report().count;
    SCROLL_draw(empty.scroll);
    empty.scroll->speed = 40;
    SCROLL_move(empty.scroll);  // fine moves on; the empty cursor refuses to step
    EXPECT_EQ(8, empty.scroll->fine);
    EXPECT_EQ(before + 1, SCROLL_report().count);
    EXPECT_EQ(cursor_before + 1, CURSOR_report().count);
    for (int i = 0; i < 64 * 32; ++i) ASSERT_EQ(0u, empty.strip->pixels[i]);
}

}  // namespace
