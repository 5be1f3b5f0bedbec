// The headless backend: no window, no sound device, a virtual clock.
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>

#include "backends/headless.h"
#include "platform/os.h"

namespace {

struct Event {
    OsEvent kind;
    int32_t key;
};

// One period of playback: the loop's samples from start_ms until stop_ms (or for ever).
struct AudioSpan {
    uint32_t start_ms;
    uint32_t stop_ms;
    bool stopped;
    std::vector<int16_t> samples;
};

struct HeadlessState {
    uint32_t now_ms = 0;
    uint32_t frame_ms = 0;
    bool no_display = false;
    bool window_open = false;
    bool cursor_hidden = false;
    bool keep_audio = true;
    int64_t audio_starts = 0;
    int64_t presentations = 0;
    int32_t pointer_x = 0, pointer_y = 0;
    std::deque<Event> queue;
    std::multimap<int64_t, Event> scheduled;
    std::vector<AudioSpan> audio;
    HeadlessSink sink;
    HeadlessExit on_exit;
    HeadlessIdle on_idle;
};

HeadlessState headless;

// Moves the events scheduled for presentations up to `number` into the queue.
void release_scheduled(int64_t number)
{
    while (!headless.scheduled.empty() && headless.scheduled.begin()->first <= number) {
        headless.queue.push_back(headless.scheduled.begin()->second);
        headless.scheduled.erase(headless.scheduled.begin());
    }
}

// Sample values of a WAV image's data chunk (little-endian 16-bit); empty when there is none.
std::vector<int16_t> wav_samples(const uint8_t* wav, std::size_t size)
{
    const uint8_t* values = nullptr;
    std::size_t count = 0;
    std::vector<int16_t> out;
    if (!OS_wav_values(wav, size, &values, &count)) return out;
    out.resize(count);
    for (std::size_t k = 0; k < count; ++k) out[k] = static_cast<int16_t>(values[2 * k] | values[2 * k + 1] << 8);
    return out;
}

}  // namespace

void HEADLESS_reset()
{
    headless = HeadlessState{};
}
void HEADLESS_set_sink(HeadlessSink sink) { headless.sink = std::move(sink); }
void HEADLESS_set_exit(HeadlessExit on_exit) { headless.on_exit = std::move(on_exit); }
void HEADLESS_set_idle(HeadlessIdle on_idle) { headless.on_idle = std::move(on_idle); }
void HEADLESS_set_frame_ms(uint32_t ms) { headless.frame_ms = ms; }
void HEADLESS_set_no_display(bool no_display) { headless.no_display = no_display; }
void HEADLESS_push_key(int32_t code) { headless.queue.push_back({OS_EVENT_KEY_DOWN, code}); }
void HEADLESS_schedule_key(int64_t number, int32_t code) { headless.scheduled.insert({number, {OS_EVENT_KEY_DOWN, code}}); }
void HEADLESS_push_close() { headless.queue.push_back({OS_EVENT_CLOSE, 0}); }
void HEADLESS_schedule_close(int64_t number) { headless.scheduled.insert({number, {OS_EVENT_CLOSE, 0}}); }
void HEADLESS_set_pointer(int32_t x, int32_t y) { headless.pointer_x = x, headless.pointer_y = y; }
int64_t HEADLESS_pending_events() { return static_cast<int64_t>(headless.queue.size() + headless.scheduled.size()); }
uint32_t HEADLESS_now() { return headless.now_ms; }
int64_t HEADLESS_presentations() { return headless.presentations; }
bool HEADLESS_window_open() { return headless.window_open; }
bool HEADLESS_cursor_hidden() { return headless.cursor_hidden; }
int64_t HEADLESS_audio_starts() { return headless.audio_starts; }
void HEADLESS_keep_audio(bool keep) { headless.keep_audio = keep; }

std::vector<int16_t> HEADLESS_render_audio(uint32_t from_ms, uint32_t to_ms)
{
    // Sample n of the recording plays at virtual time from_ms + n / 44.1 ms. A loop started at
    // start_ms plays its value k at sample time start_ms * 44.1 + k.
    const int64_t first = int64_t{from_ms} * 441 / 10, end = int64_t{to_ms} * 441 / 10;
    std::vector<int16_t> out(end > first ? static_cast<std::size_t>(end - first) : 0, 0);
    for (const AudioSpan& span : headless.audio) {
        if (span.samples.empty()) continue;
        const int64_t begin = int64_t{span.start_ms} * 441 / 10;
        const int64_t stop = span.stopped ? int64_t{span.stop_ms} * 441 / 10 : end;
        const int64_t lo = std::max(begin, first), hi = std::min(stop, end);
        const int64_t period = static_cast<int64_t>(span.samples.size());
        for (int64_t n = lo; n < hi; ++n) out[static_cast<std::size_t>(n - first)] = span.samples[static_cast<std::size_t>((n - begin) % period)];
    }
    return out;
}

uint32_t OS_ticks() { return headless.now_ms; }

void OS_sleep(uint32_t ms) { headless.now_ms += ms; }

bool OS_open_window(const char*, int32_t, int32_t)
{
    if (headless.no_display) {
        std::fprintf(stderr, "voxa7100: no display available (headless backend told to have none)\n");
        return false;
    }
    headless.window_open = true;
    return true;
}

void OS_present(const uint32_t* pixels, int32_t width, int32_t height)
{
    release_scheduled(headless.presentations);
    headless.now_ms += headless.frame_ms;
    const HeadlessFrame frame{pixels, width, height, headless.presentations, headless.now_ms};
    ++headless.presentations;
    if (headless.sink) headless.sink(frame);
}

OsEvent OS_pump(int32_t* key)
{
    if (headless.queue.empty()) return OS_EVENT_NONE;
    const Event e = headless.queue.front();
    headless.queue.pop_front();
    if (e.kind == OS_EVENT_KEY_DOWN && key) *key = e.key;
    return e.kind;
}

void OS_wait_event(uint32_t ms)
{
    if (!headless.queue.empty()) return;
    // Nothing is presented while the show waits, so the next scripted event comes at once, in order;
    // only with none left does the show wait on the idle hook.
    if (!headless.scheduled.empty()) {
        headless.queue.push_back(headless.scheduled.begin()->second);
        headless.scheduled.erase(headless.scheduled.begin());
        return;
    }
    if (headless.on_idle) headless.on_idle();
    if (!headless.queue.empty()) return;
    headless.now_ms += ms;
}

int32_t OS_key_char(int32_t key) { return key & 0xFF; }

bool OS_pointer(int32_t* x, int32_t* y)
{
    if (x) *x = headless.pointer_x;
    if (y) *y = headless.pointer_y;
    return true;
}

void OS_hide_cursor() { headless.cursor_hidden = true; }

void OS_audio_loop(const uint8_t* wav, std::size_t size)
{
    OS_audio_stop();
    ++headless.audio_starts;
    if (headless.keep_audio) headless.audio.push_back({headless.now_ms, 0, false, wav_samples(wav, size)});
}

void OS_audio_stop()
{
    if (!headless.audio.empty() && !headless.audio.back().stopped) {
        headless.audio.back().stopped = true;
        headless.audio.back().stop_ms = headless.now_ms;
    }
}

void OS_exit(int status)
{
    if (headless.on_exit) headless.on_exit(status);
    std::exit(status);
}
