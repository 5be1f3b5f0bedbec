#include "raster/font.h"

#include "base/record.h"
#include "base/wrap.h"

static ErrorReport font_errors{"FONT Error.\n", false, 0};

ErrorReport& FONT_report() { return font_errors; }

Font* FONT_new()
{
    Font* font = record_new<Font>();
    if (!font) {
        REPORT_raise(font_errors);
        return nullptr;
    }
    font->glyph_width = font->glyph_height = 6;
    return font;
}

void FONT_free(Font** font)
{
    if (!font || !*font) {
        REPORT_raise(font_errors);
        return;
    }
    record_free(font);
}

void FONT_put_glyph(Font* font)
{
    // A sheet without width has no cells to find: the cell arithmetic would divide by zero.
    if (!font || !font->sheet || font->sheet->width <= 0) {
        REPORT_raise(font_errors);
        return;
    }
    const int32_t offset = wrap_mul(font->code, font->glyph_width);
    const int32_t col = offset % font->sheet->width;
    const int32_t row = wrap_mul(offset / font->sheet->width, font->glyph_height);
    IMG_blit(font->sheet, font->target, col, row, font->x, font->y, font->glyph_width, font->glyph_height);
    font->x = wrap_add(font->x, font->glyph_width);
}
