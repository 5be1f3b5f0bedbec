// PARTIXEL: pixel particles that live only as pixels of the image they move in: falling and
// sliding water, and rising, dimming sparks that merge, boil water into steam or die on obstacles.
// Depends on: raster/img, raster/rgb888, base/random, base/report, base/record.
// NOTE: a system never owns its image or its name. Every position outside the image reads as
// empty and every write there is dropped, so particles drain out at the edges. All systems share
// one Random record, created by the first PARTIXEL_new and kept for the rest of the run; only the
// sparks pass draws from it.
#pragma once
#include <cstdint>

#include "base/report.h"
#include "base/random.h"
#include "raster/img.h"

struct PARTIXEL;
using PARTIXEL_update = void (*)(PARTIXEL*);

struct PARTIXEL {
    PARTIXEL_update update = nullptr;  // the pass run for this system; callers may swap it
    uint32_t colour = 0;               // water particles are pixels exactly equal to it
    Image* image = nullptr;            // the field holding the particles, not owned
    const char* name = nullptr;        // label, not owned
};

// The module's error report ("PARTIXEL error\n").
ErrorReport& PARTIXEL_report();

// A new system: colour 0x0040E0, name "WATER", update PARTIXEL_water_rightward; null on failure.
PARTIXEL* PARTIXEL_new();
// Frees the system (not its image) and nulls the owner's pointer.
void PARTIXEL_free(PARTIXEL** system);
// The generator shared by all systems (null before the first PARTIXEL_new).
Random* PARTIXEL_random();
// One water pass: rows bottom to top, each row left to right, sliding preferably to the right.
void PARTIXEL_water_rightward(PARTIXEL* system);
// One water pass: rows bottom to top, each row right to left, sliding preferably to the left.
void PARTIXEL_water_leftward(PARTIXEL* system);
// One sparks pass: rows top to bottom, each row left to right.
void PARTIXEL_sparks(PARTIXEL* system);
