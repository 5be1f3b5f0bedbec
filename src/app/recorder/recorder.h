// RECORDER: one run of voxa7100-record: its command line, the outputs it opens before the show,
// the show itself on the headless backend, and the files and lines it finishes with.
// Depends on: app/recorder/fileout, app/recorder/framehash, app/recorder/golden, app/recorder/pngout,
// app/recorder/upscale, app/recorder/videoout, app/recorder/wavout, backends/headless, core/demo,
// core/song.
// NOTE: times are virtual milliseconds of the headless clock; presentations are numbered from 0.
// The caller owns the Recorder; while it is open the show's listeners and the backend's hooks fill
// it, and it owns its video writer until RECORDER_finish frees it. A bad command line or output
// ends the process with status 2 and a usage message, before anything is written.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/recorder/framehash.h"
#include "app/recorder/golden.h"
#include "app/recorder/videoout.h"

// The command line of a run.
struct RecorderOptions {
    int64_t frames = -1;  // presentations to make; -1 until --frames gives it
    std::string out;      // folder of the PNG frames, or none
    int64_t every = 1;    // every K-th presentation is a PNG frame
    uint32_t frame_ms = 0;
    bool frame_ms_given = false;
    int32_t scale = 1;
    bool hash = false;
    bool hash_each = false;
    std::string wav;
    std::string bars;
    std::string video;
    std::string golden;
    std::string run;  // the arguments but --golden and --scale, which reproduce the run
    int32_t pointer_x = 0, pointer_y = 0;
    std::vector<std::pair<int64_t, int32_t>> keys;  // (presentation number, key) in the order given
};

// Everything one run keeps while the show runs.
struct Recorder {
    RecorderOptions options;
    Golden golden;                    // filled only when --golden is given
    int32_t bar_number = 0;           // the number of the next bar file
    bool bar_failed = false;          // a bar file could not be written (said once)
    VideoOut* video = nullptr;        // the video writer, while --video runs
    uint64_t hash = FRAMEHASH_basis;  // --hash: one running hash over every frame so far
    uint32_t last_ms = 0;             // virtual time of the last presentation
    int32_t status = 0;               // the exit status so far
};

// Reads argv[1 .. argc-1] into recorder->options; a bad command line ends the process (status 2).
void RECORDER_parse(Recorder* recorder, int argc, char** argv);
// Checks every output the options name, hooks the show and the headless backend to the record and
// starts the video writer; false (with the reason printed and recorder->status set) when the
// video cannot start. A folder or file that cannot be written ends the process (status 2).
bool RECORDER_open(Recorder* recorder);
// Runs the show until it made the presentations asked for, ended itself or paused for good.
void RECORDER_run(Recorder* recorder);
// Writes the sound, the video and the golden record, prints the run's hash, frees the video
// writer and returns the run's exit status.
int32_t RECORDER_finish(Recorder* recorder);
