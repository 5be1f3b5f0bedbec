#include "vector/disty.h"

#include "base/record.h"
#include "base/sine.h"
#include "base/wrap.h"

// Counts failures but has no line to print, even with its switch on.
static ErrorReport disty_errors{"", false, 0};

ErrorReport& DISTY_report() { return disty_errors; }

DISTY* DISTY_new()
{
    DISTY* disty = record_new<DISTY>();
    if (!disty) REPORT_raise(disty_errors);
    return disty;
}

void DISTY_free(DISTY** disty)
{
    if (!disty || !*disty) {
        REPORT_raise(disty_errors);
        return;
    }
    record_free(disty);
}

void DISTY_draw(DISTY* disty, Image* destination)
{
    if (!disty || !disty->source || !disty->source->pixels || !destination || !destination->pixels ||
        disty->wave.modulus <= 0) {
        REPORT_raise(disty_errors);
        return;
    }
    CURSORX_set_offset(&disty->wave, 0);
    for (int32_t i = 0; i < disty->source->width; ++i) {
        // The first column already uses one offset step.
        const int32_t k = CURSORX_step_offset(&disty->wave);
        const int32_t shift = wrap_add(wrap_mul(SINE_at(k), disty->amplitude) >> 16, disty->y);
        const int64_t column = int64_t{i} + disty->x;
        if (column < 0 || column >= destination->width) continue;
        IMG_blit_column(disty->source, destination, i, static_cast<int32_t>(column), shift);
    }
}

void DISTY_advance(DISTY* disty)
{
    if (!disty) {
        REPORT_raise(disty_errors);
        return;
    }
    CURSORX_advance(&disty->wave);
}
