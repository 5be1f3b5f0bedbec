// VIDEOOUT: turns the recorder's presentations into a constant-rate video with its sound track,
// through the ffmpeg program found on PATH.
// Depends on: app/recorder/upscale, base/record, base/report, POSIX processes and pipes; ffmpeg at run time.
// NOTE: pixels are 0x00RRGGBB words, top row first; times are virtual milliseconds, and video
// frame k stands for time k * VIDEOOUT_frame_ms. A presentation stays on screen until the next
// one, so frame k shows the last presentation made at or before its time (frames before the first
// presentation show the first). The record owns the encoder process and the temporary files
// beside the output (FILE.part, FILE.video.part, FILE.sound.part); only VIDEOOUT_finish puts FILE
// in place, and VIDEOOUT_free stops the encoder and removes whatever is left.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/report.h"

struct VideoOut;

// Virtual milliseconds per video frame: 50 frames per second.
constexpr uint32_t VIDEOOUT_frame_ms = 20;

// The sound heard from virtual time from_ms up to to_ms, 16-bit mono at 44100 values per second.
using VideoSound = std::function<std::vector<int16_t>(uint32_t from_ms, uint32_t to_ms)>;

ErrorReport& VIDEOOUT_report();

// The full path of an executable program named `name` on PATH; empty when there is none.
std::string VIDEOOUT_find_program(const std::string& name);
// Number of video frames whose time comes before virtual time ms (those that a presentation made
// at ms no longer shows).
int64_t VIDEOOUT_frames_before(uint32_t ms);
// Starts encoding width x height presentations into `path` (an .mp4 file) with the ffmpeg at
// `ffmpeg`, as a (width * scale) x (height * scale) video in which every pixel is a scale x scale
// block (scale 1 to UPSCALE_max); null, with a reason in *error, when the settings are bad, the
// output cannot be written or the encoder cannot start.
VideoOut* VIDEOOUT_new(const std::string& ffmpeg, const std::string& path, int32_t width, int32_t height,
                       int32_t scale, std::string* error);
// Takes the width x height presentation made at virtual time ms and writes the video frames the
// previous one covers; false (with a reason in *error) when the encoder fails.
bool VIDEOOUT_present(VideoOut* video, const uint32_t* pixels, uint32_t ms, std::string* error);
// Ends the picture with the frame of the last presentation's time, adds the sound of the same
// span, and puts the finished file in place; false (with a reason in *error) when it cannot.
bool VIDEOOUT_finish(VideoOut* video, const VideoSound& sound, std::string* error);
// Video frames written so far.
int64_t VIDEOOUT_frames(const VideoOut* video);
// Stops the encoder if it still runs, removes the temporary files and frees the record.
void VIDEOOUT_free(VideoOut** video);
