// SOUND: the oscillators and the envelope every instrument of the song is made from.
// Depends on: audio/sample, base/random, base/report.
// NOTE: sound is mono, 44100 values per second; frequencies and rates are whole hertz. The
// oscillators overwrite the buffer they are given (the square wave only up to its last whole
// period); the noise draws from the process-wide 15-bit generator. The module owns its wave
// table (one sine period of 44100 values, made on the first SOUND_sine, kept for the whole run).
#pragma once
#include <cstdint>

#include "audio/sample.h"
#include "base/report.h"

// The module's error report ("SOUND Error.\n").
ErrorReport& SOUND_report();

// Every value becomes a sine of f Hz, amplitude 32766, from phase 0.
void SOUND_sine(SAMPLE* sample, int32_t f);
// Whole periods of a square wave of f Hz (+32767 / -32768, a 0 at the middle and at the end of
// every period); values after the last whole period are left as they were.
void SOUND_square(SAMPLE* sample, int32_t f);
// Sample-and-hold noise in -32768 .. -1, a new level about r times per second, filled from the end.
void SOUND_noise(SAMPLE* sample, int32_t r);
// Multiplies by a straight ramp from 32767 at the first value to 0 at the last, then >> 15.
void SOUND_fade_out(SAMPLE* sample);
// The wave table (built on first use), or null when it cannot be made.
const SAMPLE* SOUND_wave_table();
