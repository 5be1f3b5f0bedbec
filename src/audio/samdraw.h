// SAMDRAW: the waveform view: a sound held by a SAM drawn as one vertical stroke per image
// column from the centre line, plus markers at its highest and lowest values.
// Depends on: audio/sam, platform/os, raster/img, raster/imgfx, base/record, base/report,
// base/wrap.
// NOTE: colours are 0x00RRGGBB; positive values are drawn below the centre line (rows grow
// downwards), full scale reaching the bottom and top rows. The drawer borrows its source and
// target. A drawer that cannot be allocated ends the program with status -1.
#pragma once
#include <cstdint>

#include "audio/sam.h"
#include "base/report.h"
#include "raster/img.h"

struct SAMDRAW {
    SAM* source = nullptr;           // the sound to draw is source->sample
    Image* target = nullptr;         // the image drawn into
    uint32_t background = 0;         // fills the whole target first
    uint32_t wave_colour = 0;        // the per-column strokes
    uint32_t marker_colour = 0;      // the two extreme markers
    int32_t first = 0;               // first sound index drawn
    int32_t last = 0;                // last sound index drawn
};

// The module's error report ("SAMDRAW error.\n").
ErrorReport& SAMDRAW_report();

// A drawer with background 0x808080, white strokes and black markers; ends the program with
// status -1 when memory runs out.
SAMDRAW* SAMDRAW_new();
// Frees the drawer (not its source or target) and nulls the owner's pointer.
void SAMDRAW_free(SAMDRAW** drawer);
// Fills the target with the background, then draws values first .. last, one per column.
void SAMDRAW_draw(SAMDRAW* drawer);
// Marks the largest and then the smallest value of the whole sound at their time positions.
void SAMDRAW_mark_extremes(SAMDRAW* drawer);
