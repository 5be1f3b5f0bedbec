// LOGOFLY: the flying brand logo, bound to a line-font writer and a target image.
// Depends on: vector/lfont, raster/img, base/random, base/report, base/record.
// NOTE: `speed`, `step` and `amplitude` come from three draws of the process-wide generator made
// in a fixed order by LOGOFLY_reset; nothing else about the logo is observable in the show, but
// those draws shift every later random value. The record points at its text, writer and target
// and owns none of them.
#pragma once
#include <cstdint>

#include "base/report.h"
#include "raster/img.h"
#include "vector/lfont.h"

struct LOGOFLY {
    const char* text = nullptr;  // brand text; not owned
    uint32_t colour = 0;         // 0x00RRGGBB
    LFONT* font = nullptr;       // writer drawn with; not owned
    Image* target = nullptr;     // image drawn into; not owned
    int32_t phase = 0;
    int32_t speed = 0;      // 8 .. 31
    int32_t step = 0;       // 1 .. 8
    int32_t amplitude = 0;  // 16 .. 115
};

// The module's error report ("LOGOFLY error\n").
ErrorReport& LOGOFLY_report();

// A new logo, already reset (three random draws); null when memory runs out.
LOGOFLY* LOGOFLY_new();
// Frees the logo and nulls the owner's pointer.
void LOGOFLY_free(LOGOFLY** logo);
// Phase 0, then speed, step and amplitude from three RANDOM_rand30 draws in that order; white, "VOXA".
void LOGOFLY_reset(LOGOFLY* logo);
