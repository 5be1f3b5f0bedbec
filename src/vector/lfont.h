// LFONT: the line-font writer, drawing glyphs of a vector object set one character at a time.
// Depends on: vector/list, vector/obj2d, vector/vec2d, raster/img, base/record, base/report,
// base/wrap.
// NOTE: `pen` is in frame pixels, `advance` in glyph units (only its x is used: the pen moves by
// advance.x * scale.x per character), `angle` in sine-table steps. Entry n of the glyph set is the
// glyph of code n. The writer points at its glyph set and target and owns neither; the glyph set
// may be shared by several writers, since each draw copies scale, angle and pen into the glyph.
#pragma once
#include <cstdint>

#include "base/report.h"
#include "raster/img.h"
#include "vector/list.h"
#include "vector/vec2d.h"

struct LFONT {
    VEC2D pen{0, 0, 0xFFFFFF};        // origin of the next glyph, in pixels
    VEC2D advance{16, 16, 0xFFFFFF};  // cell size in glyph units
    int32_t code = 0;                 // character code of the glyph to draw next
    VEC2D scale{1, 1, 0xFFFFFF};      // per-axis magnification
    int32_t angle = 0;                // glyph rotation
    LIST* glyphs = nullptr;           // object set, entry n draws code n; not owned
    Image* target = nullptr;          // image drawn into; not owned
};

// The module's error report ("LFONT Error.\n").
ErrorReport& LFONT_report();

// A new writer: pen (0, 0), advance (16, 16), scale (1, 1), angle 0, nothing bound; null on failure.
LFONT* LFONT_new();
// Frees the writer (not its glyphs or target) and nulls the owner's pointer.
void LFONT_free(LFONT** font);
// Draws glyph `code` at the pen and moves the pen right by one advance; a missing or
// out-of-range glyph draws nothing and leaves the pen where it is.
void LFONT_draw_char(LFONT* font);
// Draws the lowest byte of value as two upper-case hex digits, high digit first.
void LFONT_draw_hex8(LFONT* font, uint32_t value);
// Draws the low 16 bits of value as four hex digits.
void LFONT_draw_hex16(LFONT* font, uint32_t value);
// Draws value as eight hex digits.
void LFONT_draw_hex32(LFONT* font, uint32_t value);
// Sets the colour of every glyph of the set: all following text is drawn in it.
void LFONT_set_colour(LFONT* font, uint32_t colour);
