#include "vector/scroll.h"

#include <cstring>

#include "base/record.h"
#include "base/wrap.h"

static ErrorReport scroll_errors{"SCROLL error\n", false, 0};

ErrorReport& SCROLL_report() { return scroll_errors; }

static constexpr const char* default_text = "A scroll's default text. ";

// The text's length as a cursor length (texts longer than 2^31 - 1 bytes are cut there).
static int32_t text_length(const char* text)
{
    const std::size_t n = std::strlen(text);
    return n > INT32_MAX ? INT32_MAX : static_cast<int32_t>(n);
}

SCROLL* SCROLL_new()
{
    SCROLL* scroll = record_new<SCROLL>();
    if (!scroll) {
        REPORT_raise(scroll_errors);
        return nullptr;
    }
    scroll->cursor = CURSOR_new();
    if (!scroll->cursor) {
        record_free(&scroll);
        REPORT_raise(scroll_errors);
        return nullptr;
    }
    scroll->text = default_text;
    CURSOR_set(scroll->cursor, default_text, text_length(default_text), 1);
    scroll->speed = 1;
    return scroll;
}

void SCROLL_free(SCROLL** scroll)
{
    if (!scroll || !*scroll) {
        REPORT_raise(scroll_errors);
        return;
    }
    if ((*scroll)->cursor) CURSOR_free(&(*scroll)->cursor);
    record_free(scroll);
}

void SCROLL_bind(SCROLL* scroll, const char* text, Font* font, Image* target)
{
    if (!scroll || !text || !font || !target) {
        REPORT_raise(scroll_errors);
        return;
    }
    CURSOR* cursor = CURSOR_new();
    if (!cursor) {
        REPORT_raise(scroll_errors);
        return;
    }
    if (scroll->cursor) CURSOR_free(&scroll->cursor);
    scroll->cursor = cursor;
    CURSOR_set(cursor, text, text_length(text), 1);
    scroll->text = text;
    scroll->font = font;
    scroll->target = target;
    scroll->x = scroll->y = 0;
    scroll->width = target->width;
}

void SCROLL_draw(SCROLL* scroll)
{
    // An empty text (or a cursor set outside it) has no character to draw, and a cell without
    // width would divide by zero.
    if (!scroll || !scroll->text || !scroll->cursor || !scroll->cursor->text || scroll->cursor->length <= 0 ||
        scroll->cursor->position < 0 || scroll->cursor->position >= scroll->cursor->length || !scroll->font ||
        !scroll->target || scroll->font->glyph_width <= 0) {
        REPORT_raise(scroll_errors);
        return;
    }
    Font* font = scroll->font;
    CURSOR* cursor = scroll->cursor;
    font->x = wrap_sub(scroll->x, scroll->fine);
    font->y = scroll->y;
    font->target = scroll->target;
    const int32_t n = scroll->width / font->glyph_width;
    CURSOR_save(cursor);
    cursor->speed = 1;
    // Two cells beyond the width cover the partly visible glyphs at both ends.
    for (int64_t i = 0; i < int64_t{n} + 2; ++i) {
        font->code = static_cast<signed char>(cursor->text[cursor->position]);
        FONT_put_glyph(font);
        CURSOR_advance(cursor);
    }
    CURSOR_restore(cursor);
}

void SCROLL_move(SCROLL* scroll)
{
    if (!scroll || !scroll->font || scroll->font->glyph_width <= 0) {
        REPORT_raise(scroll_errors);
        return;
    }
    const int32_t g = scroll->font->glyph_width;
    scroll->fine = wrap_add(scroll->fine, scroll->speed);
    if (scroll->fine >= g) {
        if (scroll->cursor) scroll->cursor->speed = scroll->fine / g;
        CURSOR_advance(scroll->cursor);
        scroll->fine %= g;
    } else if (scroll->fine < 0) {
        // For an exact negative multiple of g this leaves fine = g: the same picture as fine 0 one
        // character on, and the next forward move brings it back into range.
        if (scroll->cursor) scroll->cursor->speed = static_cast<int32_t>(int64_t{scroll->fine} / g - 1);
        CURSOR_advance(scroll->cursor);
        scroll->fine = scroll->fine % g + g;
    }
}
