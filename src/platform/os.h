// OS: the few services the demo needs from the operating system; one backend provides them.
// Depends on: nothing. Backends (src/backends): sdl.cpp (the desktop), win32.cpp (native Windows),
// web.cpp (web browsers), headless.cpp (tests and recording).
// NOTE: times are milliseconds on a counter that wraps at 2^32; frames are width x height pixels
// 0x00RRGGBB, top row first; key codes are the backend's own and are turned into characters by
// OS_key_char; audio is one in-memory WAV image (16-bit mono PCM) that the backend loops.
#pragma once
#include <cstddef>
#include <cstdint>

// What OS_pump took from the event queue.
enum OsEvent { OS_EVENT_NONE = 0, OS_EVENT_KEY_DOWN, OS_EVENT_CLOSE, OS_EVENT_OTHER };

// Milliseconds since an arbitrary start.
uint32_t OS_ticks();
// Sleeps for ms milliseconds.
void OS_sleep(uint32_t ms);
// Opens the window with a client area of width x height pixels (times the desktop view's scale),
// centred on the screen, and hides the system cursor over it. Returns false (and prints why) when
// no window can be made.
bool OS_open_window(const char* title, int32_t width, int32_t height);
// Shows one frame in the window's client area: 1:1 at its top-left corner, or, in a backend that
// scales, at the largest whole-number scale that fits, centred on black.
void OS_present(const uint32_t* pixels, int32_t width, int32_t height);
// Takes at most one pending event without waiting; a key-down stores its key code in *key.
OsEvent OS_pump(int32_t* key);
// Waits up to ms milliseconds for an event to become pending, without taking it.
void OS_wait_event(uint32_t ms);
// The unshifted character of a key code: letters lower case, digits, space 0x20, ESC 0x1B; else 0.
int32_t OS_key_char(int32_t key);
// The pointer in frame pixels (client pixels where the frame is shown 1:1; may lie outside the
// frame); false when it cannot be read.
bool OS_pointer(int32_t* x, int32_t* y);
// Hides the system cursor over the window.
void OS_hide_cursor();
// Starts looping the WAV image from its first value; the image must stay valid while it plays.
void OS_audio_loop(const uint8_t* wav, std::size_t size);
// Stops playback at once; afterwards the image may be rewritten or freed.
void OS_audio_stop();
// The 16-bit values of a WAV image: the start of its data chunk and the number of values in it;
// false when the image is not RIFF/WAVE or has no data chunk. Backends that play the image
// themselves use it; nothing past wav + size is read.
inline bool OS_wav_values(const uint8_t* wav, std::size_t size, const uint8_t** values, std::size_t* count)
{
    auto tag = [&](std::size_t at, const char* t) {
        return wav[at] == t[0] && wav[at + 1] == t[1] && wav[at + 2] == t[2] && wav[at + 3] == t[3];
    };
    if (!wav || size < 12 || !tag(0, "RIFF") || !tag(8, "WAVE")) return false;
    for (std::size_t at = 12; at + 8 <= size;) {
        const uint32_t len = wav[at + 4] | wav[at + 5] << 8 | wav[at + 6] << 16 | static_cast<uint32_t>(wav[at + 7]) << 24;
        if (tag(at, "data")) {
            *values = wav + at + 8;
            *count = (len < size - at - 8 ? len : size - at - 8) / 2;
            return true;
        }
        at += 8 + static_cast<std::size_t>(len) + (len & 1);
    }
    return false;
}

// Ends the process with the given status.
[[noreturn]] void OS_exit(int status);
