// HEADLESS: controls of the headless backend, for tests and the recorder.
// Depends on: platform/os (it implements OS_ without a window, a sound device or a real clock).
// NOTE: time is a virtual millisecond clock that only OS_sleep and the per-frame cost advance;
// presentations are numbered from 0 and handed to the sink; key codes are the characters
// themselves; the audio is kept as a timeline of loop starts and stops that can be rendered into
// 16-bit samples at 44100 per second for any span of virtual time.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

struct HeadlessFrame {
    const uint32_t* pixels;  // width * height pixels 0x00RRGGBB, valid during the call only
    int32_t width;
    int32_t height;
    int64_t number;  // presentation number, from 0
    uint32_t ms;     // virtual time of the presentation
};

// Called for every presentation; it may throw to stop the show.
using HeadlessSink = std::function<void(const HeadlessFrame&)>;
// Called instead of ending the process; it may throw to unwind the show. If it returns, the
// process ends with that status.
using HeadlessExit = std::function<void(int status)>;
// Called when the show waits for input (paused) and no scripted event is left; it may push keys
// or throw.
using HeadlessIdle = std::function<void()>;

// Puts the backend back to its state at process start (clock 0, no window, no keys, no audio).
void HEADLESS_reset();
void HEADLESS_set_sink(HeadlessSink sink);
void HEADLESS_set_exit(HeadlessExit on_exit);
void HEADLESS_set_idle(HeadlessIdle on_idle);
// Virtual milliseconds that every presentation costs (0 unless set).
void HEADLESS_set_frame_ms(uint32_t ms);
// Makes window creation fail, as on a machine without a display.
void HEADLESS_set_no_display(bool no_display);
// Queues a key-down event now.
void HEADLESS_push_key(int32_t code);
// Queues a key-down event just before presentation `number`; keys of one number keep their order.
void HEADLESS_schedule_key(int64_t number, int32_t code);
// Queues a window-close event now.
void HEADLESS_push_close();
// Queues a window-close event just before presentation `number`.
void HEADLESS_schedule_close(int64_t number);
// Puts the pointer at (x, y) in client pixels.
void HEADLESS_set_pointer(int32_t x, int32_t y);
// Scripted events not delivered yet (scheduled ones included).
int64_t HEADLESS_pending_events();
// The virtual clock.
uint32_t HEADLESS_now();
// Presentations made so far.
int64_t HEADLESS_presentations();
// Whether the window was opened and the cursor hidden.
bool HEADLESS_window_open();
bool HEADLESS_cursor_hidden();
// The sound a listener hears from virtual time from_ms up to to_ms: 44100 values per second,
// silence where nothing plays.
std::vector<int16_t> HEADLESS_render_audio(uint32_t from_ms, uint32_t to_ms);
// Whether the audio timeline is kept for HEADLESS_render_audio (on unless set off); long runs
// that need no sound turn it off so that it does not grow with every bar.
void HEADLESS_keep_audio(bool keep);
// Number of times a loop was (re)started.
int64_t HEADLESS_audio_starts();
