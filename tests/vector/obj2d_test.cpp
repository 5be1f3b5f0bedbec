// Vector objects: the object text parser and drawing with scale, rotation and translation. Every
// text is parsed from a heap block that ends at its terminating zero, so the sanitizers catch any
// read beyond it.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "raster/img.h"
#include "vector/obj2d.h"

namespace {

struct Set {
    LIST* list = nullptr;
    explicit Set(const std::string& text)
    {
        auto block = std::make_unique<char[]>(text.size() + 1);
        std::memcpy(block.get(), text.c_str(), text.size() + 1);
        list = OBJ2D_parse(block.get());
    }
    ~Set()
    {
        if (list) OBJ2D_free_set(&list);
    }
    int count() const { return list ? list->count : -1; }
    OBJ2D* at(int i) const { return static_cast<OBJ2D*>(LIST_get(list, i)); }
};

const SEG2D* segment_of(const OBJ2D* object, int i) { return static_cast<const SEG2D*>(LIST_get(object->segments, i)); }

void expect_segment(const OBJ2D* object, int i, int x1, int y1, int x2, int y2)
{
    const SEG2D* s = segment_of(object, i);
    ASSERT_NE(nullptr, s);
    EXPECT_EQ(x1, s->p1.x);
    EXPECT_EQ(y1, s->p1.y);
    EXPECT_EQ(x2, s->p2.x);
    EXPECT_EQ(y2, s->p2.y);
}

std::string name_of(const OBJ2D* object) { return object && object->name ? object->name.get() : "(null)"; }

TEST(Obj2dParse, BlocksAndSegments)
{
    Set empty("{ }\n");
    ASSERT_EQ(1, empty.count());
    ASSERT_NE(nullptr, empty.at(0));
    EXPECT_EQ(0, empty.at(0)->segments->count);
    EXPECT_EQ(nullptr, empty.at(0)->name);

    Set one("{\nname x\ns 1, 2, 3, 4\n}\n");
    ASSERT_EQ(1, one.count());
    const OBJ2D* x = one.at(0);
    EXPECT_EQ("x", name_of(x));
    ASSERT_EQ(1, x->segments->count);
    expect_segment(x, 0, 1, 2, 3, 4);
    const SEG2D* s = segment_of(x, 0);
    EXPECT_EQ(0u, s->p1.colour);  // black: no colour was set
    EXPECT_EQ(0u, s->p2.colour);
    // The point list holds the segment's own end points.
    ASSERT_EQ(2, x->points->count);
    EXPECT_EQ(&s->p1, LIST_get(x->points, 0));
    EXPECT_EQ(&s->p2, LIST_get(x->points, 1));
    EXPECT_EQ(1, x->scale.x);
    EXPECT_EQ(1, x->scale.y);

    // A stray "}" appends a null entry and shifts later objects by one; numbers outside a
    // segment and an open block at the end leave no trace.
    Set stray("}\n7 8 {name a}\n}\n{ name b\n}\n{ s 1 2 3 4\n");
    ASSERT_EQ(3, stray.count());
    EXPECT_EQ(nullptr, stray.at(0));
    EXPECT_EQ("a}", name_of(stray.at(1)));  // a name runs to the line end
    EXPECT_EQ("b", name_of(stray.at(2)));
}

TEST(Obj2dParse, SignsAndNumbers)
{
    Set set("{ s -3, 4, 5, - 6 s - - 1 2x 12ab -x 4\n}\n");
    ASSERT_EQ(1, set.count());
    ASSERT_EQ(2, set.at(0)->segments->count);
    expect_segment(set.at(0), 0, -3, 4, 5, -6);
    // "- -" negates once; "2x" reads 2, "12ab" 12; a sign waits over a word for its number.
    expect_segment(set.at(0), 1, -1, 2, 12, -4);

    // A segment begun outside a block is completed and dropped; the coordinate cycle goes on.
    Set outside("s 1 2 3 4 { S 5 6 segment 7 8 }\n");
    ASSERT_EQ(1, outside.count());
    ASSERT_EQ(1, outside.at(0)->segments->count);
    expect_segment(outside.at(0), 0, 5, 6, 7, 8);

    // A pending segment carries over a block boundary and lands in the block that completes it.
    Set across("{ s 1 2 } { 3 4 }\n");
    ASSERT_EQ(2, across.count());
    EXPECT_EQ(0, across.at(0)->segments->count);
    ASSERT_EQ(1, across.at(1)->segments->count);
    expect_segment(across.at(1), 0, 1, 2, 3, 4);
}

TEST(Obj2dParse, Colours)
{
    Set set("# header\n{ name a\ncolor $AACCEE\ns 0 0 1 1\n}\n{ name b\ns 2 2 3 3\n}\n"
            "{ s 1 2 C x123456 3 4 }\n{ c $ s 5 5 6 6 }\n");
    ASSERT_EQ(4, set.count());
    EXPECT_EQ(0xAACCEEu, segment_of(set.at(0), 0)->p1.colour);
    EXPECT_EQ(0xAACCEEu, segment_of(set.at(1), 0)->p2.colour);  // carried into the next block
    // The colour is taken when a coordinate pair completes: p1 before the change, p2 after it.
    EXPECT_EQ(0xAACCEEu, segment_of(set.at(2), 0)->p1.colour);
    EXPECT_EQ(0x123456u, segment_of(set.at(2), 0)->p2.colour);
    EXPECT_EQ(0u, segment_of(set.at(3), 0)->p1.colour);  // "$" with no digits gives 0

    Set unasked("{ $FF0000 s 5 5 6 6 }\n");  // "$" without a pending colour is ignored
    ASSERT_EQ(1, unasked.count());
    EXPECT_EQ(0u, segment_of(unasked.at(0), 0)->p1.colour);

    Set long_colour("{ c $00ffffff s 1 1 2 2 }\n{ c $12-34 s 1 1 2 2 }\n");
    ASSERT_EQ(2, long_colour.count());
    EXPECT_EQ(0xFFFFFFu, segment_of(long_colour.at(0), 0)->p1.colour);
    EXPECT_EQ(0x12u, segment_of(long_colour.at(1), 0)->p1.colour);
}

TEST(Obj2dParse, TextKeys)
{
    Set set("name file\nversion 1\n"
            "{ name\nwhole next line\n}\n"
            "{ name ,\n}\n{ name ;\n}\n"
            "{ NAME Upper\nVersion , ;  2.0 beta\nauthor;me\ntype\tfont2D-16\n}\n"
            "{ names x\n}\n");
    ASSERT_EQ(5, set.count());
    EXPECT_EQ("whole next line", name_of(set.at(0)));
    EXPECT_EQ(",", name_of(set.at(1)));
    EXPECT_EQ(";", name_of(set.at(2)));
    const OBJ2D* o = set.at(3);
    EXPECT_EQ("Upper", name_of(o));
    ASSERT_NE(nullptr, o->version);
    EXPECT_STREQ("2.0 beta", o->version.get());
    ASSERT_NE(nullptr, o->author);
    EXPECT_STREQ("me", o->author.get());
    ASSERT_NE(nullptr, o->type);
    EXPECT_STREQ("font2D-16", o->type.get());
    EXPECT_EQ(nullptr, set.at(4)->name);  // keys match in full length only
}

TEST(Obj2dParse, TheEndOfTheText)
{
    // The last token is acted on only when one more byte follows it.
    EXPECT_EQ(0, Set("{ name x\ns 1 2 3 4\n}").count());
    EXPECT_EQ(1, Set("{ name x\ns 1 2 3 4\n}\n").count());
    // Keys, comments and colours at the very end read nothing beyond the terminating zero.
    const char* endings[] = {"{ name", "{ name\n", "{ name   ", "{ version ,;", "{ type x", "# comment",
                             "{ c $", "{ c $1", "{ c $-", "{ s 1 2 3", "{ -", "x", "{ name x\n} ",
                             "\xC3\xA9\x7F\x01", ""};
    for (const char* text : endings) {
        Set set(text);
        EXPECT_NE(nullptr, set.list) << "text: " << text;
    }
    Set tail("{ name x\n} ");
    ASSERT_EQ(1, tail.count());
    EXPECT_EQ("x", name_of(tail.at(0)));
    Set blank_name("{ name\n}\n}\n");
    ASSERT_EQ(1, blank_name.count());
    EXPECT_EQ("}", name_of(blank_name.at(0)));  // the key took the next line, brace and all
    EXPECT_EQ(nullptr, OBJ2D_parse(nullptr));
}

TEST(Obj2dParse, LongWords)
{
    // A word holds 255 characters; the 255th is also the first of the next token.
    Set cut("{ " + std::string(254, 'q') + "s 1 2 3 4 }\n");
    ASSERT_EQ(1, cut.count());
    ASSERT_EQ(1, cut.at(0)->segments->count);
    expect_segment(cut.at(0), 0, 1, 2, 3, 4);
    Set whole("{ " + std::string(253, 'q') + "s 1 2 3 4 }\n");
    ASSERT_EQ(1, whole.count());
    EXPECT_EQ(0, whole.at(0)->segments->count);

    Set huge("{ c $" + std::string(1000, 'f') + " s " + std::string(600, '9') + " 1 1 1 }" + std::string(700, 'z'));
    EXPECT_EQ(1, huge.count());
    Set long_name("{ name " + std::string(5000, 'n') + "\n}\n");
    ASSERT_EQ(1, long_name.count());
    EXPECT_EQ(5000u, std::strlen(long_name.at(0)->name.get()));
}

// A reference drawing: transform the segment's points by hand and draw the line.
void reference_line(Image* image, const SEG2D& s, const VEC2D& scale, int32_t angle, const VEC2D& position)
{
    VEC2D a = s.p1, b = s.p2;
    VEC2D_mul(&a, &scale);
    VEC2D_mul(&b, &scale);
    VEC2D_rotate(&a, angle);
    VEC2D_rotate(&b, angle);
    VEC2D_add(&position, &a);
    VEC2D_add(&position, &b);
    IMG_line(image, a.x, a.y, b.x, b.y, s.p1.colour);
}

struct Canvas {
    Image* image = IMG_new();
    Canvas() { IMG_resize(image, 64, 48); }
    ~Canvas() { IMG_free(&image); }
    std::vector<uint32_t> pixels() const { return {image->pixels.get(), image->pixels.get() + 64 * 48}; }
};

TEST(Obj2dDraw, ScaleRotateTranslate)
{
    Set set("{ c $FF0000 s 1 2 3 4 c $0000FF s 0 0 5 0 }\n");
    ASSERT_EQ(1, set.count());
    OBJ2D* o = set.at(0);
    o->scale = VEC2D{2, 2, 0};
    o->position = VEC2D{10, 20, 0};
    Canvas canvas;
    OBJ2D_draw(o, canvas.image);
    Canvas line;
    IMG_line(line.image, 12, 24, 16, 28, 0xFF0000);
    IMG_line(line.image, 10, 20, 20, 20, 0x0000FF);
    EXPECT_EQ(line.pixels(), canvas.pixels());
    expect_segment(o, 0, 1, 2, 3, 4);  // the stored segments never change

    for (const int32_t angle : {256, 100, -37, 512}) {
        for (const VEC2D scale : {VEC2D{1, 1, 0}, VEC2D{3, 2, 0}}) {
            o->angle = angle;
            o->scale = scale;
            o->position = VEC2D{30, 20, 0};
            Canvas drawn, expected;
            OBJ2D_draw(o, drawn.image);
            // Last segment first: the first one ends on top where they cross.
            reference_line(expected.image, *segment_of(o, 1), scale, angle, o->position);
            reference_line(expected.image, *segment_of(o, 0), scale, angle, o->position);
            EXPECT_EQ(expected.pixels(), drawn.pixels()) << "angle " << angle;
        }
    }
    // A quarter turn sends the x axis down the screen: (0,0)-(5,0) becomes a column.
    o->angle = 256;
    o->scale = VEC2D{1, 1, 0};
    Canvas turned;
    OBJ2D_draw(o, turned.image);
    EXPECT_EQ(0x0000FFu, IMG_get(turned.image, 30, 24));
    EXPECT_EQ(0u, IMG_get(turned.image, 34, 20));
}

TEST(Obj2dDraw, OverlapOrderColourAndShift)
{
    Set set("{ c $FF0000 s 0 1 7 1 c $0000FF s 0 1 7 1 }\n");
    OBJ2D* o = set.at(0);
    Canvas canvas;
    OBJ2D_draw(o, canvas.image);
    EXPECT_EQ(0xFF0000u, IMG_get(canvas.image, 3, 1));  // the first segment is drawn last

    OBJ2D_set_colour(o, 0x00FF00);
    OBJ2D_draw(o, canvas.image);
    EXPECT_EQ(0x00FF00u, IMG_get(canvas.image, 3, 1));

    o->position = VEC2D{-4, -4, 0};
    OBJ2D_shift_segments(o);
    expect_segment(o, 0, -4, -3, 3, -3);
    expect_segment(o, 1, -4, -3, 3, -3);

    const long before = OBJ2D_report().count;
    OBJ2D_draw(o, nullptr);
    OBJ2D_add_segment(nullptr, SEG2D_new());  // dropped and freed
    EXPECT_EQ(before + 2, OBJ2D_report().count);
}

}  // namespace
