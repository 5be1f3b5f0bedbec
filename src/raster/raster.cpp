#include "raster/raster.h"

#include <cstring>
#include <utility>

#include "base/record.h"
#include "base/wrap.h"
#include "base/random.h"

static ErrorReport raster_errors{"RASTER error\n", false, 0};

// The largest table whose count x 65536 still fits a signed 32-bit position.
static constexpr int32_t max_colours = 32767;

ErrorReport& RASTER_report() { return raster_errors; }

// True when the raster has a table it can be stepped and drawn with.
static bool has_table(const Raster* raster) { return raster && raster->colours && raster->count > 0; }

Raster* RASTER_new()
{
    Raster* raster = record_new<Raster>();
    if (!raster) {
        REPORT_raise(raster_errors);
        return nullptr;
    }
    RASTER_resize(raster, 256);
    if (!raster->colours) {
        record_free(&raster);
        return nullptr;
    }
    raster->position = 0;
    raster->speed = 65536 + RANDOM_rand15();
    return raster;
}

void RASTER_resize(Raster* raster, int32_t n)
{
    if (!raster || n <= 0 || n > max_colours) {
        REPORT_raise(raster_errors);
        return;
    }
    // The new table is made before the old one goes, so a failed allocation keeps the raster usable.
    auto colours = block_new<uint32_t>(static_cast<std::size_t>(n));
    if (!colours) {
        REPORT_raise(raster_errors);
        return;
    }
    raster->colours = std::move(colours);
    raster->count = n;
    raster->position = 0;
}

void RASTER_free(Raster** raster)
{
    if (!raster || !*raster) {
        REPORT_raise(raster_errors);
        return;
    }
    record_free(raster);
}

void RASTER_step(Raster* raster)
{
    if (!has_table(raster)) {
        REPORT_raise(raster_errors);
        return;
    }
    const int32_t limit = raster->count * 65536;
    int32_t position = wrap_add(raster->position, raster->speed);
    if (position >= limit)
        position %= limit;
    else if (position < 0)
        position = limit + position % limit;  // an exact negative multiple lands on limit, drawn like 0
    raster->position = position;
}

void RASTER_draw_columns(const Raster* raster, Image* image)
{
    if (!has_table(raster) || !image || !image->pixels) {
        REPORT_raise(raster_errors);
        return;
    }
    const int32_t width = image->width, height = image->height;
    if (width <= 0 || height <= 0) return;
    const int32_t count = raster->count;
    // A position set by hand may be negative; the entry index is still taken inside the table.
    int32_t index = (raster->position >> 16) % count;
    if (index < 0) index += count;
    // Every row is the same: paint the top row from the table, then copy it down.
    uint32_t* top = image->pixels.get();
    for (int32_t col = 0; col < width; ++col) {
        top[col] = raster->colours[index];
        if (++index == count) index = 0;
    }
    const std::size_t row_bytes = sizeof(uint32_t) * static_cast<std::size_t>(width);
    for (int32_t row = 1; row < height; ++row) std::memcpy(top + static_cast<std::size_t>(row) * width, top, row_bytes);
}
