// WINSND: the sound player: one WAV image of one bar that the platform loops without end.
// Depends on: audio/sample, vector/list, base/random, platform/os, base/report, base/record.
// NOTE: a bar is 44100 signed 16-bit mono values at 44100 per second; the image is a complete
// 88264-byte RIFF/WAVE file (64-byte header, then the values little-endian). The player owns the
// image and the queue, never the bars queued in it. The image is rewritten only between stopping
// and restarting playback. Creation draws 44100 x 2 values from the process-wide generator.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "audio/sample.h"
#include "base/report.h"
#include "vector/list.h"

struct WINSND {
    int32_t rate = 0;        // values per second: 44100
    int32_t depth = 0;       // bits of a stored value: 16
    char sign = 0;           // 's': stored values are signed
    char byte_order = 0;     // 'l': stored values are little-endian
    LIST* queue = nullptr;   // SAMPLE bars waiting to be played; owned list, borrowed bars
    SAMPLE* current = nullptr;             // the bar most recently taken from the queue
    std::unique_ptr<uint8_t[]> image;      // the WAV image, or null when it could not be made
    int32_t bar_length = 0;                // values per bar: 44100, the only length accepted
};

// Bytes before the values in the WAV image.
inline constexpr int32_t WINSND_header_size = 64;

// The module's error report ("WINSND error\n").
ErrorReport& WINSND_report();

// A new player looping quiet noise (-255 .. 256), or null when the record cannot be made.
WINSND* WINSND_new();
// Takes the next bar from the queue into the image and restarts the loop; true if it did.
bool WINSND_play_next(WINSND* player);
// Stops playback and frees the image, the queue and the record; nulls the pointer.
void WINSND_free(WINSND** player);
// Size of the player's WAV image in bytes (64 + 2 x bar_length), or 0 without an image.
std::size_t WINSND_image_size(const WINSND* player);
