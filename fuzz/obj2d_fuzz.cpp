// Fuzz target for the object text parser and the line drawing behind it: the bytes are parsed as
// an object text, then every object is drawn into a small image with a handful of placements
// (ordinary, far off, huge scale, negative scale, odd angles) and through a line-font writer.
// The placement taken from the input comes from its last bytes, so plain text seeds still parse
// whole.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "raster/img.h"
#include "vector/lfont.h"
#include "vector/list.h"
#include "vector/obj2d.h"

namespace {

struct Placement {
    int32_t x, y, sx, sy, angle;
};

constexpr int32_t big = std::numeric_limits<int32_t>::max();
constexpr int32_t small = std::numeric_limits<int32_t>::min();

constexpr Placement fixed_placements[] = {
    {0, 0, 1, 1, 0},
    {7, 5, 3, 2, 100},
    {-3, 40, -2, 5, -77},
    {big, small, 1, 1, 512},
    {10, 10, 65536, 65536, 1023},
    {10, 10, big, small, 255},
};

// Reads a little-endian 32-bit word that ends `back` bytes before the end of the data (zero
// where the data is too short).
int32_t tail_word(const uint8_t* data, std::size_t size, std::size_t back)
{
    uint32_t v = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        const std::size_t from_end = back + 4 - k;
        if (from_end <= size) v = (v << 8) | data[size - from_end];
    }
    return static_cast<int32_t>(v);
}

void draw_all(LIST* set, Image* image, const Placement& p)
{
    for (int32_t i = 0; i < set->count; ++i) {
        auto* object = static_cast<OBJ2D*>(set->items[i]);
        if (!object) continue;
        object->position = VEC2D{p.x, p.y, 0xFFFFFF};
        object->scale = VEC2D{p.sx, p.sy, 0xFFFFFF};
        object->angle = p.angle;
        OBJ2D_draw(object, image);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    std::vector<char> text(size + 1);
    if (size) std::memcpy(text.data(), data, size);
    text[size] = 0;

    LIST* set = OBJ2D_parse(text.data());
    if (!set) return 0;
    Image* image = IMG_new();
    if (!image) {
        OBJ2D_free_set(&set);
        return 0;
    }
    IMG_resize(image, 24, 17);

    for (const Placement& p : fixed_placements) draw_all(set, image, p);
    // Kept small so that a line across the whole 32-bit plane stays a rare input.
    const Placement from_input{tail_word(data, size, 0) >> 20, tail_word(data, size, 4) >> 20,
                               tail_word(data, size, 8) >> 24, tail_word(data, size, 12) >> 24,
                               tail_word(data, size, 16)};
    draw_all(set, image, from_input);

    // The same set as a line font: codes inside, at the edge and past the end of the set.
    LFONT* font = LFONT_new();
    if (font) {
        font->glyphs = set;
        font->target = image;
        font->pen = VEC2D{-5, 3, 0xFFFFFF};
        font->scale = VEC2D{1, 2, 0xFFFFFF};
        for (const int32_t code : {0, 1, 48, set->count - 1, set->count, -1}) {
            font->code = code;
            LFONT_draw_char(font);
        }
        LFONT_draw_hex32(font, 0x0123ABCDu);
        LFONT_set_colour(font, 0x00FF00u);
        LFONT_draw_hex8(font, 0x5Au);
        LFONT_free(&font);
    }

    IMG_free(&image);
    OBJ2D_free_set(&set);
    return 0;
}
