// GOLDEN: the golden record of a run: where each stretch of presentations begins, a digest of each
// stretch and of each block of 50 presentations in it, and a digest of every bar the player started.
// Depends on: app/recorder/framehash.
// NOTE: frames are digested by their FRAMEHASH_frame hash (of the 0x00RRGGBB words of the 256 x 256
// presentation); a block or stretch digest is FNV-1a over those 64-bit hashes in order. The record
// is plain text, one item per line, so that two records compare line by line.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int64_t GOLDEN_block = 50;

struct GoldenStretch {
    std::string name;   // "start-up", "pass N: SCENE fade-out", "pass N: SCENE loop", "exit fade-out"
    int64_t first = 0;  // its first presentation number
    int64_t length = 0;
    uint64_t digest = 0;
    std::vector<uint64_t> blocks;  // one digest per block of GOLDEN_block presentations
};

struct Golden {
    std::string run;     // the recorder's arguments that reproduce the run
    uint32_t frame_ms = 0;
    std::vector<GoldenStretch> stretches;
    std::vector<uint64_t> bars;
    int32_t pass = 0;    // passes through the scene sequence begun so far
    int64_t presentations = 0;
    int32_t status = 0;
};

// Notes that a stretch named by the show (see demo_set_stage_listener) begins at the next presentation.
void GOLDEN_stage(Golden* golden, const char* stage);
// Adds the next presentation, by its frame hash (FRAMEHASH_frame).
void GOLDEN_frame(Golden* golden, uint64_t frame_hash);
// Adds a bar the player started, by its WAV image.
void GOLDEN_bar(Golden* golden, const uint8_t* wav, std::size_t size);
// The record as text.
std::string GOLDEN_text(const Golden* golden);
