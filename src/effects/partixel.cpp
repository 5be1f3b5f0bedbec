#include "effects/partixel.h"

#include "base/record.h"
#include "raster/rgb888.h"

static ErrorReport partixel_errors{"PARTIXEL error\n", false, 0};

static struct {
    Random* random = nullptr;  // shared by every system for the rest of the run
} partixel_state;

ErrorReport& PARTIXEL_report() { return partixel_errors; }

namespace {

bool is_spark(uint32_t v) { return (v & 0xFFFF) == 0 && (v & 0xFF0000) != 0; }
bool is_pure_blue(uint32_t v) { return (v & 0xFFFF00) == 0 && (v & 0xFF) != 0; }

bool has_field(const PARTIXEL* system)
{
    if (system && system->image && system->image->pixels) return true;
    REPORT_raise(partixel_errors);
    return false;
}

Random* shared_random()
{
    if (!partixel_state.random) partixel_state.random = RANDOM_new();
    return partixel_state.random;
}

// Moves the water pixel at line[col] one step, looking below first and then to the sides in the
// given order. Outside the image everything is empty and writes are dropped.
template <int first_side>
void flow(uint32_t* line, uint32_t* below, int32_t col, int32_t width, uint32_t water)
{
    if (!below || below[col] == 0) {
        if (below) below[col] = water;
        line[col] = 0;
        return;
    }
    for (const int32_t side : {first_side, -first_side}) {
        const int32_t c = col + side;
        const bool inside = c >= 0 && c < width;
        if (!inside || line[c] == 0) {
            if (inside) line[c] = water;
            line[col] = 0;
            return;
        }
    }
}

}  // namespace

PARTIXEL* PARTIXEL_new()
{
    PARTIXEL* system = record_new<PARTIXEL>();
    if (!system || !shared_random()) {
        record_free(&system);
        REPORT_raise(partixel_errors);
        return nullptr;
    }
    system->update = PARTIXEL_water_rightward;
    system->colour = 0x0040E0;
    system->name = "WATER";
    return system;
}

void PARTIXEL_free(PARTIXEL** system)
{
    if (!system || !*system) {
        REPORT_raise(partixel_errors);
        return;
    }
    record_free(system);
}

Random* PARTIXEL_random() { return partixel_state.random; }

void PARTIXEL_water_rightward(PARTIXEL* system)
{
    if (!has_field(system)) return;
    const int32_t w = system->image->width, h = system->image->height;
    const uint32_t water = system->colour;
    for (int32_t row = h - 1; row >= 0; --row) {
        uint32_t* line = system->image->pixels.get() + int64_t{row} * w;
        uint32_t* below = row + 1 < h ? line + w : nullptr;
        // A pixel that slides right lands on the next column and is looked at again.
        for (int32_t col = 0; col < w; ++col)
            if (line[col] == water) flow<1>(line, below, col, w, water);
    }
}

void PARTIXEL_water_leftward(PARTIXEL* system)
{
    if (!has_field(system)) return;
    const int32_t w = system->image->width, h = system->image->height;
    const uint32_t water = system->colour;
    for (int32_t row = h - 1; row >= 0; --row) {
        uint32_t* line = system->image->pixels.get() + int64_t{row} * w;
        uint32_t* below = row + 1 < h ? line + w : nullptr;
        for (int32_t col = w - 1; col >= 0; --col)
            if (line[col] == water) flow<-1>(line, below, col, w, water);
    }
}

void PARTIXEL_sparks(PARTIXEL* system)
{
    if (!has_field(system)) return;
    Random* random = shared_random();
    if (!random) {
        REPORT_raise(partixel_errors);
        return;
    }
    const int32_t w = system->image->width, h = system->image->height;
    uint32_t* pixels = system->image->pixels.get();
    for (int32_t row = 0; row < h; ++row) {
        uint32_t* line = pixels + int64_t{row} * w;
        for (int32_t col = 0; col < w; ++col) {
            const uint32_t v = line[col];
            if (!is_spark(v)) continue;
            const int32_t dy = static_cast<int32_t>(RANDOM_next(random) % 5);
            const int32_t dx = static_cast<int32_t>(RANDOM_next(random) % 3) - 1;
            const int32_t tx = col + dx, ty = row - dy;
            const bool inside = tx >= 0 && tx < w && ty >= 0;
            uint32_t* target = inside ? pixels + int64_t{ty} * w + tx : nullptr;
            const uint32_t t = inside ? *target : 0;
            if (t == 0) {
                // The spark moves and dims; at red 7 or less it is gone.
                if (target) *target = RGB888_sub(v, 0x070000);
                line[col] = 0;
            } else if (is_spark(t)) {
                // Two sparks merge (a spark that stays put meets itself and vanishes the same way).
                *target = RGB888_add(t, 0xF00000);
                line[col] = 0;
            } else if (is_pure_blue(t)) {
                *target = 0x808080;  // water boils into steam; the spark stays
            } else {
                line[col] = 0;
            }
        }
    }
}
