// SAM: the sound holder, a named reference to a SAMPLE that the waveform view draws.
// Depends on: audio/sample, base/report, base/record, platform/os.
// NOTE: the holder never owns its sample. A holder that cannot be allocated ends the program
// with status -1.
#pragma once

#include "audio/sample.h"
#include "base/report.h"

struct SAM {
    SAMPLE* sample = nullptr;  // the sound held; borrowed
};

// The module's error report ("SAM error.\n").
ErrorReport& SAM_report();

// A zeroed holder; ends the program with status -1 when memory runs out.
SAM* SAM_new();
// Frees the holder (not its sample) and nulls the owner's pointer.
void SAM_free(SAM** holder);
// Makes the holder refer to sound; both must be given.
void SAM_set_sample(SAM* holder, SAMPLE* sound);
