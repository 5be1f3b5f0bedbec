// MUSIC: the song's record (the looping bar, the instrument bank, the pattern scratch), the note
// table and the five generators of rhythmic patterns.
// Depends on: audio/sample, audio/sound, vector/list, base/random, base/report, base/record.
// NOTE: a bar is one second, 44100 values. The record owns `bar`, `pattern` and every sound in
// `bank` (the bank takes over what MUSIC_add_instrument is given). Every generator draws from the
// process-wide 15-bit generator in a fixed order: sound, four offset coins, then (with repeats)
// the level.
#pragma once
#include <cstdint>

#include "audio/sample.h"
#include "base/report.h"
#include "vector/list.h"

struct MUSIC {
    int32_t bar_count = 0;        // bars made since the pattern buffer exists
    int32_t pattern_period = 0;   // new patterns only when bar_count is a multiple of it
    SAMPLE* bar = nullptr;        // the one-second loop that is played; owned
    LIST* bank = nullptr;         // the instrument sounds in composing order; owns them
    SAMPLE* pattern = nullptr;    // scratch bar the generators fill, made on first use; owned
};

// Values in one bar: one second at 44100 values per second.
inline constexpr int32_t MUSIC_bar_length = 44100;
// Notes in the table: eight octaves of twelve semitones from C.
inline constexpr int32_t MUSIC_note_count = 96;

// The module's error report ("MUSIC ERROR\n").
ErrorReport& MUSIC_report();

// The frequency in hertz of note n, taken modulo the note count (index 45 is 440 Hz).
int32_t MUSIC_note(int32_t n);
// A new record: a silent bar of 44100 values, pattern_period 300, an empty bank; null on failure.
MUSIC* MUSIC_new();
// Frees the bar, the pattern, every sound in the bank, the bank and the record; nulls the pointer.
void MUSIC_free(MUSIC** music);
// Appends the sound to the bank, which owns it from then on; false (caller keeps it) on failure.
bool MUSIC_add_instrument(MUSIC* music, SAMPLE* sound);
// Counts one bar when both the bar and the pattern exist.
void MUSIC_count_bar(MUSIC* music);
// One hit of a random bank sound at a random sixteenth-grid offset.
void MUSIC_pattern_single(MUSIC* music);
// One hit, faded over the whole bar.
void MUSIC_pattern_single_faded(MUSIC* music);
// 1, 2, 4 or 8 evenly spaced hits at a level of 1, 3/4, 1/2 or 1/4.
void MUSIC_pattern_repeat(MUSIC* music);
// Like MUSIC_pattern_repeat, the whole pattern faded after every hit.
void MUSIC_pattern_repeat_faded(MUSIC* music);
// 5, 1, 3 or 7 hits spaced a sixth, half, quarter or eighth of the bar apart, with the level step.
void MUSIC_pattern_odd_repeat(MUSIC* music);
