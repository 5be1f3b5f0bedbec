// The browser backend, built with Emscripten: the show in a web page. The page's script
// (src/web/*.js) owns the canvas, the key and pointer events, the audio context and the end
// screen, and hands each instance of the program a session (Module.page) that this backend calls.
// The show's blocking loop runs through Asyncify: presenting waits for the moment the hold gives
// (on an animation frame, or a timer where those are too slow), sleeping and waiting for a key
// wait on the page's timers, and the page runs on in between.
#include <emscripten.h>

#include <cstdlib>
#include <memory>

#include "base/record.h"
#include "platform/os.h"
#include "platform/pace.h"

// The session's side of each call; see src/web/session.js for what each one does.
EM_JS(int, web_open, (const char* title, int width, int height), {
    return Module.page.open(UTF8ToString(title), width, height) ? 1 : 0;
});
EM_ASYNC_JS(void, web_present, (const uint8_t* rgba, int width, int height, double at_ms, int on_frames), {
    await Module.page.present(HEAPU8.subarray(rgba, rgba + width * height * 4), at_ms, on_frames !== 0);
});
EM_JS(int, web_refresh_rate, (), { return Module.page.refreshRate(); });
EM_JS(int, web_pump, (), { return Module.page.pump(); });
EM_ASYNC_JS(void, web_wait_event, (int ms), { await Module.page.waitEvent(ms); });
EM_ASYNC_JS(void, web_sleep, (int ms), { await Module.page.sleep(ms); });
EM_JS(void, web_pointer, (int32_t* x, int32_t* y), {
    const p = Module.page.pointer();
    HEAP32[x >> 2] = p.x;
    HEAP32[y >> 2] = p.y;
});
EM_JS(void, web_hide_cursor, (), { Module.page.hideCursor(); });
EM_JS(void, web_audio_loop, (const uint8_t* values, int count), {
    Module.page.audioLoop(HEAPU8.subarray(values, values + 2 * count));
});
EM_JS(void, web_audio_stop, (), { Module.page.audioStop(); });
// Tells the page that the program has ended and never returns: this instance stays suspended for
// good, and the page drops it.
EM_ASYNC_JS(void, web_exit, (int status), {
    Module.page.exit(status);
    await new Promise(() => {});
});

namespace {

struct WebState {
    int32_t width = 0, height = 0;
    std::unique_ptr<uint32_t[]> rgba;  // the frame as canvas bytes: red, green, blue, opaque alpha
    PACE pace;                         // the hold to 60 presentations a second
    bool on_frames = false;            // presentations land on animation frames (else timers)
};

WebState web;

// The hold's moment for the next presentation, on the page's clock (milliseconds). Animation
// frames pace presentations only where they come at least 58 times a second (an unknown rate
// counts as 60); the page measures their rate all the time, so the choice follows a phone into
// low-power mode and back.
double hold_until()
{
    const int32_t rate = web_refresh_rate();
    const bool on_frames = PACE_vsync_keeps_up(rate);
    PACE_set_refresh(&web.pace, rate, on_frames);
    web.on_frames = on_frames;
    const double now_ms = emscripten_get_now();
    return now_ms + static_cast<double>(PACE_delay(&web.pace, static_cast<int64_t>(now_ms * 1000.0))) / 1000.0;
}

}  // namespace

uint32_t OS_ticks() { return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now())); }

void OS_sleep(uint32_t ms) { web_sleep(static_cast<int>(ms)); }

bool OS_open_window(const char* title, int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0) return false;
    web.rgba = block_new<uint32_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    if (!web.rgba || !web_open(title, width, height)) {
        web.rgba.reset();
        return false;
    }
    web.width = width;
    web.height = height;
    return true;
}

void OS_present(const uint32_t* pixels, int32_t width, int32_t height)
{
    if (!web.rgba || !pixels || width != web.width || height != web.height) return;
    // 0x00RRGGBB words become the little-endian RGBA bytes of canvas image data.
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    uint32_t* out = web.rgba.get();
    for (std::size_t i = 0; i < count; ++i) {
        const uint32_t p = pixels[i];
        out[i] = 0xFF000000u | (p & 0xFF) << 16 | (p & 0xFF00) | (p >> 16 & 0xFF);
    }
    const double at_ms = hold_until();
    web_present(reinterpret_cast<const uint8_t*>(out), width, height, at_ms, web.on_frames ? 1 : 0);
}

OsEvent OS_pump(int32_t* key)
{
    const int32_t code = web_pump();
    if (code <= 0) return OS_EVENT_NONE;
    if (key) *key = code;
    return OS_EVENT_KEY_DOWN;
}

void OS_wait_event(uint32_t ms) { web_wait_event(static_cast<int>(ms)); }

int32_t OS_key_char(int32_t key)
{
    // The page already delivers the unshifted character of the physical key.
    if (key == 0x1B || (key >= 0x20 && key < 0x7F)) return key;
    return 0;
}

bool OS_pointer(int32_t* x, int32_t* y)
{
    int32_t px = 0, py = 0;
    web_pointer(&px, &py);
    if (x) *x = px;
    if (y) *y = py;
    return true;
}

void OS_hide_cursor() { web_hide_cursor(); }

void OS_audio_loop(const uint8_t* wav, std::size_t size)
{
    const uint8_t* values = nullptr;
    std::size_t count = 0;
    if (!OS_wav_values(wav, size, &values, &count)) return;
    web_audio_loop(values, static_cast<int>(count));
}

void OS_audio_stop() { web_audio_stop(); }

void OS_exit(int status)
{
    web_exit(status);
    std::abort();
}
