// Text on screen: the line-font writer, the flying logo's draws, the bitmap font, the scroll
// cursors, the scroller and the column distorter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/sine.h"
#include "base/random.h"
#include "raster/font.h"
#include "raster/img.h"
#include "vector/cursor.h"
#include "vector/cursorx.h"
#include "vector/disty.h"
#include "vector/lfont.h"
#include "vector/logofly.h"
#include "vector/obj2d.h"
#include "vector/scroll.h"

namespace {

// A 256-glyph set in which every printable code has a shape of its own: a slanted line whose
// slope depends on the code's low nibble and a foot that depends on its high nibble.
std::string glyph_text()
{
    std::string text = "# a test font\nname test\n";
    for (int code = 0; code < 256; ++code) {
        if (code == 32) {
            text += "{ name space\ncolor $FFFFFF\n}\n";
        } else if (code > 32 && code < 127) {
            text += "{ s 0 0 15 " + std::to_string(code % 16) + " s " + std::to_string(code / 16) + " 15 15 15 }\n";
        } else {
            text += "{ }\n";
        }
    }
    return text;
}

struct Writer {
    LIST* glyphs = OBJ2D_parse(glyph_text().c_str());
    LFONT* font = LFONT_new();
    Image* image = IMG_new();
    Writer()
    {
        IMG_resize(image, 160, 64);
        font->glyphs = glyphs;
        font->target = image;
    }
    ~Writer()
    {
        LFONT_free(&font);
        OBJ2D_free_set(&glyphs);
        IMG_free(&image);
    }
    std::vector<uint32_t> pixels() const { return {image->pixels.get(), image->pixels.get() + 160 * 64}; }
    // The picture of the given codes drawn glyph by glyph with the object drawing itself.
    std::vector<uint32_t> expected(const std::vector<int>& codes, VEC2D pen, VEC2D scale, int32_t angle) const
    {
        Image* reference = IMG_new();
        IMG_resize(reference, 160, 64);
        for (const int code : codes) {
            auto* glyph = static_cast<OBJ2D*>(LIST_get(glyphs, code));
            glyph->scale = scale;
            glyph->angle = angle;
            glyph->position = pen;
            OBJ2D_draw(glyph, reference);
            pen.x += 16 * scale.x;
        }
        std::vector<uint32_t> out(reference->pixels.get(), reference->pixels.get() + 160 * 64);
        IMG_free(&reference);
        return out;
    }
    void write(const std::string& text)
    {
        for (const char c : text) {
            font->code = static_cast<unsigned char>(c);
            LFONT_draw_char(font);
        }
    }
};

TEST(Lfont, PenAdvancesOneCellPerCharacter)
{
    Writer w;
    ASSERT_EQ(256, w.glyphs->count);
    w.write("AB");
    EXPECT_EQ(32, w.font->pen.x);
    EXPECT_EQ(0, w.font->pen.y);
    EXPECT_EQ(w.expected({'A', 'B'}, VEC2D{0, 0, 0}, VEC2D{1, 1, 0}, 0), w.pixels());

    Writer big;
    big.font->scale = VEC2D{2, 3, 0};
    big.font->pen = VEC2D{4, 5, 0};
    big.write("A B");
    EXPECT_EQ(4 + 3 * 32, big.font->pen.x);  // a blank glyph still takes its cell
    EXPECT_EQ(5, big.font->pen.y);
    EXPECT_EQ(big.expected({'A', ' ', 'B'}, VEC2D{4, 5, 0}, VEC2D{2, 3, 0}, 0), big.pixels());
    // The glyph's box is 30 x 45 pixels at this scale: its foot is on row 5 + 45.
    EXPECT_NE(0u, IMG_get(big.image, 4 + 30, 5 + 45));

    Writer turned;
    turned.font->angle = 256;
    turned.font->pen = VEC2D{40, 8, 0};
    turned.write("C");
    EXPECT_EQ(56, turned.font->pen.x);
    EXPECT_EQ(turned.expected({'C'}, VEC2D{40, 8, 0}, VEC2D{1, 1, 0}, 256), turned.pixels());
    EXPECT_EQ(0u, IMG_get(turned.image, 55, 8));  // a quarter turn clockwise: nothing to the right
}

TEST(Lfont, HexDigits)
{
    Writer w;
    LFONT_draw_hex32(w.font, 0x0001A2FF);
    EXPECT_EQ(8 * 16, w.font->pen.x);
    EXPECT_EQ(w.expected({'0', '0', '0', '1', 'A', '2', 'F', 'F'}, VEC2D{0, 0, 0}, VEC2D{1, 1, 0}, 0), w.pixels());

    Writer low;
    LFONT_draw_hex16(low.font, 0x12345);
    LFONT_draw_hex8(low.font, 0x1AB);
    EXPECT_EQ(6 * 16, low.font->pen.x);
    EXPECT_EQ(low.expected({'2', '3', '4', '5', 'A', 'B'}, VEC2D{0, 0, 0}, VEC2D{1, 1, 0}, 0), low.pixels());
}

TEST(Lfont, ColourAndFailures)
{
    Writer w;
    LFONT_set_colour(w.font, 0xFF0010);
    w.write("1");
    EXPECT_EQ(0xFF0010u, IMG_get(w.image, 0, 0));
    LFONT_set_colour(w.font, 0x0000FF);
    w.write("1");
    EXPECT_EQ(0x0000FFu, IMG_get(w.image, 16, 0));
    EXPECT_EQ(0xFF0010u, IMG_get(w.image, 0, 0));

    const long before = LFONT_report().count;
    for (const int code : {256, -1, 1000}) {
        w.font->code = code;
        LFONT_draw_char(w.font);
    }
    EXPECT_EQ(32, w.font->pen.x);  // out-of-range codes leave the pen where it is
    w.font->target = nullptr;
    w.write("2");
    EXPECT_EQ(48, w.font->pen.x);  // no target: nothing drawn, but the text moves on
    EXPECT_EQ(before + 4, LFONT_report().count);

    // A null glyph (a stray brace in the set) draws nothing and leaves the pen.
    LIST* holes = OBJ2D_parse("}\n{ s 0 0 1 1 }\n");
    LFONT* font = LFONT_new();
    font->glyphs = holes;
    font->target = w.image;
    font->code = 0;
    LFONT_draw_char(font);
    EXPECT_EQ(0, font->pen.x);
    font->code = 1;
    LFONT_draw_char(font);
    EXPECT_EQ(16, font->pen.x);
    LFONT_draw_char(nullptr);
    LFONT_draw_hex32(nullptr, 1);
    LFONT_set_colour(nullptr, 1);
    LFONT_free(&font);
    OBJ2D_free_set(&holes);
}

TEST(Logofly, ThreeDrawsInOrder)
{
    RANDOM_seed15(4242);
    const int32_t r1 = RANDOM_rand30(), r2 = RANDOM_rand30(), r3 = RANDOM_rand30();
    const uint32_t after = RANDOM_state();
    RANDOM_seed15(4242);
    LOGOFLY* logo = LOGOFLY_new();
    ASSERT_NE(nullptr, logo);
    EXPECT_EQ(after, RANDOM_state());
    EXPECT_EQ(r1 % 24 + 8, logo->speed);
    EXPECT_EQ(r2 % 8 + 1, logo->step);
    EXPECT_EQ(r3 % 100 + 16, logo->amplitude);
    EXPECT_EQ(0, logo->phase);
    EXPECT_EQ(0xFFFFFFu, logo->colour);
    EXPECT_STREQ("VOXA", logo->text);
    LOGOFLY_free(&logo);
    EXPECT_EQ(nullptr, logo);
}

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

TEST(Cursor, WrapsAroundTheText)
{
    CURSOR* c = CURSOR_new();
    ASSERT_NE(nullptr, c);
    EXPECT_EQ(4, c->length);
    EXPECT_EQ(1, c->speed);
    c->position = 3;
    CURSOR_advance(c);
    EXPECT_EQ(0, c->position);
    c->speed = -1;
    CURSOR_advance(c);
    EXPECT_EQ(3, c->position);
    c->position = 0;
    c->speed = 9;
    CURSOR_advance(c);
    EXPECT_EQ(1, c->position);
    CURSOR_save(c);
    c->speed = INT32_MAX;  // no overflow on the way
    CURSOR_advance(c);
    EXPECT_EQ((1 + int64_t{INT32_MAX}) % 4, c->position);
    CURSOR_restore(c);
    EXPECT_EQ(1, c->position);

    CURSOR_set(c, "", 0, 1);  // an empty text: no step, no division by zero
    const long before = CURSOR_report().count;
    CURSOR_advance(c);
    EXPECT_EQ(0, c->position);
    EXPECT_EQ(before + 1, CURSOR_report().count);
    CURSOR_free(&c);
    EXPECT_EQ(nullptr, c);
}

TEST(Cursorx, CyclicIndex)
{
    CURSORX* c = CURSORX_new();
    ASSERT_NE(nullptr, c);
    EXPECT_EQ(1024, c->modulus);
    EXPECT_EQ(2, c->offset_step);
    c->position = 1020;
    c->speed = 25;
    EXPECT_EQ(21, CURSORX_advance(c));
    EXPECT_EQ(21, c->position);
    c->speed = -50;
    EXPECT_EQ(995, CURSORX_advance(c));
    EXPECT_EQ(997, CURSORX_step_offset(c));
    EXPECT_EQ(2, c->offset);
    EXPECT_EQ(19, CURSORX_set_offset(c, -2000));  // the offset itself is not reduced
    EXPECT_EQ(-2000, c->offset);

    const long before = CURSORX_report().count;
    c->modulus = 0;
    EXPECT_EQ(-1, CURSORX_advance(c));
    c->modulus = -5;
    EXPECT_EQ(-1, CURSORX_step_offset(c));
    EXPECT_EQ(before + 2, CURSORX_report().count);
    CURSORX_free(&c);
}

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
