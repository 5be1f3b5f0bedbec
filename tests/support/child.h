// Runs a piece of the show in a child process, so that every run starts from a fresh process
// state (the show keeps its objects in process-wide records until the process ends).
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "backends/headless.h"

struct ChildResult {
    int status = -1;      // the child's exit status (the show's own when it ended the process)
    std::string output;   // what the body appended to its string
};

// Runs body(out) in a child process on a freshly reset headless backend.
ChildResult run_in_child(const std::function<void(std::string& out)>& body);

// Thrown by the exit hook that run_show installs; carries the show's exit status.
struct ShowExit {
    int status;
};
// Thrown by a sink to stop the show.
struct ShowStop {};

// Heap allocations (operator new) made by this process so far.
long allocation_count();
// Bytes held by live operator-new allocations of this process.
long live_heap_bytes();

// One presentation as seen by the recorder of run_show.
struct FrameRecord {
    int64_t number;
    uint32_t ms;
    uint64_t hash;       // FRAMEHASH_frame of its pixels, as the recorder's --hash-each prints it
    uint32_t probe[4];   // pixels at (0,0), (255,0), (0,255), (128,128)
    int32_t frame_count; // the frame timer's count at the presentation
    uint8_t background_mode, fade_on, blur_on, glare_on, paused, fps_overlay_on, music_muted, scroll_on, rasters_on;
    uint32_t fade_step, background_colour;
    int32_t target_rate;
};

struct ShowTrace {
    int status = -1;                  // exit status of the show (ShowExit), -1 if it was stopped
    std::vector<FrameRecord> frames;  // one per presentation
    std::vector<uint32_t> full;       // the pixels of the presentation asked for with keep_frame
    std::vector<uint64_t> bars;       // FRAMEHASH_bytes of the player's WAV image after every bar it started
    std::vector<long> allocations;    // heap allocations made so far, at every presentation
    std::vector<long> heap;           // live heap bytes, at every presentation
};

// Runs the show from start-up in a child process until `presentations` frames were presented or
// the show ended. setup runs first (schedule keys, frame cost, pointer); keep_frame names one
// presentation whose pixels are returned whole (-1 for none).
ShowTrace run_show(int64_t presentations, const std::function<void()>& setup = {}, int64_t keep_frame = -1);
