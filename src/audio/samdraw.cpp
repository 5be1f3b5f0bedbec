#include "audio/samdraw.h"

#include <utility>

#include "base/record.h"
#include "base/wrap.h"
#include "platform/os.h"
#include "raster/imgfx.h"

static ErrorReport samdraw_errors{"SAMDRAW error.\n", false, 0};

ErrorReport& SAMDRAW_report() { return samdraw_errors; }

namespace {

// The row a value reaches: the centre plus value scaled to half the height (32-bit product).
int32_t value_row(int32_t half, int32_t value) { return wrap_add(half, wrap_mul(half, value) >> 15); }

// first below 0 becomes 0, last past the end becomes the last index.
void clamp_range(SAMDRAW* drawer, int32_t length)
{
    if (drawer->first < 0) drawer->first = 0;
    if (drawer->last >= length) drawer->last = length - 1;
}

}  // namespace

SAMDRAW* SAMDRAW_new()
{
    SAMDRAW* drawer = record_new<SAMDRAW>();
    if (!drawer) {
        REPORT_raise(samdraw_errors);
        OS_exit(-1);
    }
    drawer->background = 0x808080;
    drawer->wave_colour = 0xFFFFFF;
    drawer->marker_colour = 0x000000;
    return drawer;
}

void SAMDRAW_free(SAMDRAW** drawer)
{
    if (!drawer || !*drawer) {
        REPORT_raise(samdraw_errors);
        return;
    }
    record_free(drawer);
}

void SAMDRAW_draw(SAMDRAW* drawer)
{
    if (!drawer || !drawer->source || !drawer->target || !drawer->target->pixels) {
        REPORT_raise(samdraw_errors);
        return;
    }
    Image* target = drawer->target;
    const int32_t width = target->width, height = target->height;
    IMG_fill_rect(target, 0, 0, width, height, drawer->background);
    const SAMPLE* sound = drawer->source->sample;
    if (!sound || (!sound->data && sound->length > 0)) {
        REPORT_raise(samdraw_errors);
        return;
    }
    const int32_t n = sound->length;
    clamp_range(drawer, n);
    if (drawer->first > drawer->last) std::swap(drawer->first, drawer->last);
    // Nothing to draw from, or nowhere to draw to.
    if (n == 0 || width <= 0 || height <= 0) return;

    // 16.16 values per column; a long sound advances by the whole quotient only.
    const int64_t step = n > width ? int64_t{n / width} << 16 : (int64_t{n} << 16) / width;
    const int32_t half = height >> 1;
    const int32_t* values = sound->data.get();
    int64_t index = drawer->first, fraction = 0;
    for (int32_t x = 0; x < width && index <= drawer->last; ++x) {
        // The exchange runs after the clamping, so the range may reach outside the sound; there
        // it reads silence.
        const int32_t v = index >= 0 && index < n ? values[index] : 0;
        IMG_vline_ordered(target, x, half, value_row(half, v), drawer->wave_colour);
        fraction += step;
        index += fraction >> 16;
        fraction &= 0xFFFF;
    }
}

void SAMDRAW_mark_extremes(SAMDRAW* drawer)
{
    if (!drawer || !drawer->source || !drawer->source->sample || !drawer->target || !drawer->target->pixels) {
        REPORT_raise(samdraw_errors);
        return;
    }
    Image* target = drawer->target;
    const SAMPLE* sound = drawer->source->sample;
    const int32_t n = sound->length;
    clamp_range(drawer, n);
    if (n == 0 || !sound->data) return;
    const int32_t half = target->height >> 1;
    for (const int32_t i : {SAMPLE_index_of_max(sound), SAMPLE_index_of_min(sound)}) {
        const auto col = static_cast<int32_t>(int64_t{i} * target->width / n);
        IMG_vline_ordered(target, col, half, value_row(half, sound->data[i]), drawer->marker_colour);
    }
}
