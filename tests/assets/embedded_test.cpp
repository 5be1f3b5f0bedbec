// EMBEDDED: every picture and line drawing built into the program decodes to its size, and the two
// fonts have a named glyph for every printable code.
#include <gtest/gtest.h>

#include <cstdint>

#include "assets/embedded.h"
#include "raster/img.h"
#include "vector/list.h"
#include "vector/obj2d.h"

namespace {

TEST(Assets, EveryEmbeddedAssetDecodesToItsSize)
{
    struct Expect {
        const char* name;
        int32_t width, height;
    };
    const Expect images[] = {{"splash.pbm", 128, 64},       {"radial.pbm", 256, 128},    {"scroll_font16.pgm", 256, 256},
                             {"scroll_font32.pbm", 512, 288}, {"stack_font_a.ppm", 16, 256}, {"stack_font_b.ppm", 16, 256},
                             {"logo.ppm", 128, 64},          {"mouse.ppm", 16, 16}};
    for (const Expect& e : images) {
        const EmbeddedAsset* a = EMBEDDED_find(e.name);
        ASSERT_NE(a, nullptr) << e.name;
        Image* image = IMG_decode_pnm(a->data, a->size);
        ASSERT_NE(image, nullptr) << e.name;
        EXPECT_EQ(image->width, e.width) << e.name;
        EXPECT_EQ(image->height, e.height) << e.name;
        IMG_free(&image);
    }
    const Expect texts[] = {{"font8.obj2d", 256, 0}, {"font16.obj2d", 256, 0}, {"pictures.obj2d", 87, 0}};
    for (const Expect& e : texts) {
        const EmbeddedAsset* a = EMBEDDED_find(e.name);
        ASSERT_NE(a, nullptr) << e.name;
        LIST* set = OBJ2D_parse(reinterpret_cast<const char*>(a->data));
        ASSERT_NE(set, nullptr) << e.name;
        EXPECT_EQ(set->count, e.width) << e.name;
        if (e.width == 256)
            for (int32_t code = 33; code < 127; ++code) {
                const auto* glyph = static_cast<const OBJ2D*>(LIST_get(set, code));
                ASSERT_NE(glyph, nullptr) << e.name << " code " << code;
                ASSERT_NE(glyph->name, nullptr) << e.name << " code " << code;
                if (code < 'a' || code > 'z') {
                    EXPECT_EQ(glyph->name[0], static_cast<char>(code)) << e.name;
                }
                EXPECT_GT(glyph->segments->count, 0) << e.name << " code " << code;
            }
        OBJ2D_free_set(&set);
    }
}

}  // namespace
