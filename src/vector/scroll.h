// SCROLL: a line of bitmap-font glyphs across an image, shifted left pixel by pixel as it scrolls.
// Depends on: vector/cursor, raster/font, raster/img, base/record, base/report, base/wrap.
// NOTE: x, y, width, speed and fine are pixels; `fine` is the text's offset inside its first glyph
// cell. The scroller owns its cursor; it points at its text, font and target and owns none of them.
#pragma once
#include <cstdint>

#include "base/report.h"
#include "raster/font.h"
#include "raster/img.h"
#include "vector/cursor.h"

struct SCROLL {
    int32_t x = 0;               // left end of the text line in target
    int32_t y = 0;               // top of the text line
    int32_t width = 0;           // width of the target when bound
    int32_t speed = 0;           // pixels per SCROLL_move; positive moves the text left
    int32_t fine = 0;            // 0 .. glyph width - 1 after each move
    const char* text = nullptr;  // zero-terminated; not owned
    CURSOR* cursor = nullptr;    // first visible character; owned
    Font* font = nullptr;        // not owned
    Image* target = nullptr;     // not owned
};

// The module's error report ("SCROLL error\n").
ErrorReport& SCROLL_report();

// A new scroller over a default text, speed 1, no font and no target; null on failure.
SCROLL* SCROLL_new();
// Frees the scroller and its cursor and nulls the owner's pointer.
void SCROLL_free(SCROLL** scroll);
// Binds text, font and target (all required): a new cursor over the text, x = y = 0, width from
// the target; speed and fine stay as they are.
void SCROLL_bind(SCROLL* scroll, const char* text, Font* font, Image* target);
// Draws the visible glyphs, plus one partly visible cell at each end.
void SCROLL_draw(SCROLL* scroll);
// Scrolls by speed pixels, stepping the cursor whole characters as fine leaves its cell.
void SCROLL_move(SCROLL* scroll);
