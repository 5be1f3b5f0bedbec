// voxa7100-record: runs the show on the headless backend and writes what the window would show.
//
//   voxa7100-record --frames N [--out DIR] [--every K] [--keys P:KEY,...] [--frame-ms MS]
//                   [--pointer X,Y] [--wav FILE] [--bars DIR] [--video FILE] [--hash] [--hash-each]
//                   [--golden FILE] [--scale N]
//
// Presentations are numbered from 0 (start-up pictures included). Every K-th one is written as
// DIR/frame-NNNNNN.png; a listed key is pressed just before presentation P (KEY is one character,
// `space` or `esc`); every presentation costs MS milliseconds of virtual time (default 0). The
// pointer rests at (X, Y) in window pixels (default 0,0). --hash prints one hash of all frames,
// --hash-each one line "NUMBER HASH" per presentation (64-bit FNV-1a of the 0x00RRGGBB words).
// --wav writes what a listener hears from the start up to the last recorded presentation;
// --bars writes every bar the player starts, its WAV image as is: DIR/bar-000.wav, bar-001.wav...
// --video writes a 50 frames per second video with its sound through the ffmpeg program; each frame
// shows what the window shows at its instant of virtual time, and every presentation then costs
// 20 ms unless --frame-ms says otherwise.
// --golden writes the run's golden record (tests/golden): a digest of every stretch of the show and
// of every block of 50 presentations in it, and of every bar.
// --scale N writes the PNG frames and the video N times as large, every pixel an N x N block; the
// hashes and the golden record always digest the 256 x 256 presentation, so they never change.
// While the show is paused nothing is presented, so the next listed key arrives at once; a show
// paused with no key left to resume it cannot make what was asked, and the run ends with status 1.
#include "app/recorder/recorder.h"

int main(int argc, char** argv)
{
    Recorder recorder;
    RECORDER_parse(&recorder, argc, argv);
    if (!RECORDER_open(&recorder)) return recorder.status;
    RECORDER_run(&recorder);
    return RECORDER_finish(&recorder);
}
