// FONT: fixed-size glyph cells cut from a glyph sheet image and drawn with the keyed blit.
// Depends on: raster/img, base/record, base/report, base/wrap.
// NOTE: positions and cell sizes are in pixels. The glyph of code k is the cell whose top-left
// corner is at column (k * glyph_width) mod sheet width and row ((k * glyph_width) div sheet
// width) * glyph_height, both truncating toward zero, so a negative code lands outside the sheet
// and draws nothing. A Font points at its sheet and target but owns neither.
#pragma once
#include <cstdint>

#include "base/report.h"
#include "raster/img.h"

struct Font {
    int32_t x = 0;             // column in target of the next glyph's top-left corner
    int32_t y = 0;             // row in target of the glyph cells
    int32_t glyph_width = 0;   // width of one cell
    int32_t glyph_height = 0;  // height of one cell
    int32_t code = 0;          // character code of the glyph to draw next
    Image* sheet = nullptr;    // cells left to right, then top to bottom; not owned
    Image* target = nullptr;   // image drawn into; not owned
};

// The module's error report ("FONT Error.\n").
ErrorReport& FONT_report();

// A new font with 6 x 6 cells and nothing bound, or null when memory runs out.
Font* FONT_new();
// Frees the font (not its sheet or target) and nulls the owner's pointer.
void FONT_free(Font** font);
// Draws the cell of `code` at (x, y) of the target with the keyed blit, then moves x one cell right.
void FONT_put_glyph(Font* font);
