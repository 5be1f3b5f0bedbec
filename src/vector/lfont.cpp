#include "vector/lfont.h"

#include "base/record.h"
#include "base/wrap.h"
#include "vector/obj2d.h"

static ErrorReport lfont_errors{"LFONT Error.\n", false, 0};

ErrorReport& LFONT_report() { return lfont_errors; }

LFONT* LFONT_new()
{
    LFONT* font = record_new<LFONT>();
    if (!font) REPORT_raise(lfont_errors);
    return font;
}

void LFONT_free(LFONT** font)
{
    if (!font || !*font) {
        REPORT_raise(lfont_errors);
        return;
    }
    record_free(font);
}

void LFONT_draw_char(LFONT* font)
{
    if (!font || !font->glyphs || font->code < 0 || font->code >= font->glyphs->count) {
        REPORT_raise(lfont_errors);
        return;
    }
    auto* glyph = static_cast<OBJ2D*>(font->glyphs->items[font->code]);
    if (!glyph) {
        REPORT_raise(lfont_errors);
        return;
    }
    glyph->scale = font->scale;
    glyph->angle = font->angle;
    glyph->position = font->pen;
    if (font->target) {
        OBJ2D_draw(glyph, font->target);
    } else {
        REPORT_raise(lfont_errors);  // nothing to draw into, but the text still moves on
    }
    font->pen.x = wrap_add(font->pen.x, wrap_mul(font->advance.x, font->scale.x));
}

void LFONT_draw_hex8(LFONT* font, uint32_t value)
{
    if (!font) {
        REPORT_raise(lfont_errors);
        return;
    }
    for (const uint32_t digit : {(value >> 4) & 15u, value & 15u}) {
        font->code = static_cast<int32_t>(digit < 10 ? 48 + digit : 55 + digit);
        LFONT_draw_char(font);
    }
}

void LFONT_draw_hex16(LFONT* font, uint32_t value)
{
    LFONT_draw_hex8(font, value >> 8);
    LFONT_draw_hex8(font, value);
}

void LFONT_draw_hex32(LFONT* font, uint32_t value)
{
    LFONT_draw_hex16(font, value >> 16);
    LFONT_draw_hex16(font, value);
}

void LFONT_set_colour(LFONT* font, uint32_t colour)
{
    if (!font || !font->glyphs) {
        REPORT_raise(lfont_errors);
        return;
    }
    for (int32_t i = font->glyphs->count - 1; i >= 0; --i) {
        auto* glyph = static_cast<OBJ2D*>(font->glyphs->items[i]);
        if (glyph) OBJ2D_set_colour(glyph, colour);
    }
}
