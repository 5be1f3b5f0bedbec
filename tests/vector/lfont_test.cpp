// LFONT: the line-font writer: the pen's advance at any scale and angle, hex digits, colours,
// and the codes and glyphs it cannot draw.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "raster/img.h"
#include "vector/lfont.h"
#include "vector/obj2d.h"

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

}  // namespace
