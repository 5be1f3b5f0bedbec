// The desktop backend on SDL2: one resizable window that shows the frame at the largest
// whole-number scale on black, every presentation held to 60 a second (and waiting for the refresh
// where the display keeps up), with F11 and Alt+Enter for fullscreen; key-downs, the pointer
// mapped back to frame pixels, and a looping audio device at 44100 Hz, mono, signed 16-bit.
#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/desktop.h"
#include "platform/os.h"
#include "platform/pace.h"
#include "platform/viewport.h"

namespace {

// How long after a change of the window the last frame keeps being shown again while the show
// presents nothing.
constexpr uint32_t settle_ms = 500;

struct SdlState {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int32_t width = 0, height = 0;  // the frame's size (the texture's)
    bool drawn = false;             // the texture holds a presented frame
    PACE pace;                      // the hold to 60 presentations a second
    bool vsync = false;             // presenting waits for the display's refresh
    SDL_AudioDeviceID audio = 0;
    bool audio_tried = false;
    // The loop the audio callback plays; guarded by the device lock.
    const uint8_t* samples = nullptr;  // little-endian 16-bit values
    std::size_t count = 0;             // values in the loop
    std::size_t position = 0;          // next value to play
    bool playing = false;
    DesktopView view;  // how the window shows the frame (the command line's choices)
    // Noted by the event filter, which SDL may call from other threads; acted on by the show's
    // own calls (present, wait), never inside the filter.
    std::atomic<int> fullscreen_presses{0};  // F11 or Alt+Enter since last acted on
    std::atomic<bool> redraw{false};         // the window changed: show the last frame again
    std::atomic<uint32_t> changed_at{0};     // SDL ticks of the last change of the window
    std::atomic<bool> display_changed{false};  // the refresh rate may differ now
};

SdlState sdl;

void audio_callback(void*, Uint8* stream, int len)
{
    auto* out = reinterpret_cast<int16_t*>(stream);
    const int n = len / 2;
    for (int i = 0; i < n; ++i) {
        if (!sdl.playing || sdl.count == 0) {
            out[i] = 0;
            continue;
        }
        const uint8_t* v = sdl.samples + 2 * sdl.position;
        out[i] = static_cast<int16_t>(v[0] | v[1] << 8);
        if (++sdl.position == sdl.count) sdl.position = 0;
    }
}

// Opens the audio device on first use; without one the show runs silently.
bool open_audio()
{
    if (sdl.audio_tried) return sdl.audio != 0;
    sdl.audio_tried = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "voxa7100: no audio device (%s); the show runs silently\n", SDL_GetError());
        return false;
    }
    SDL_AudioSpec want{}, have{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 1024;
    want.callback = audio_callback;
    sdl.audio = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (sdl.audio == 0) {
        std::fprintf(stderr, "voxa7100: no audio device (%s); the show runs silently\n", SDL_GetError());
        return false;
    }
    SDL_PauseAudioDevice(sdl.audio, 0);
    return true;
}

// F11, and Enter with either Alt key, switch fullscreen; no other key does.
bool is_fullscreen_key(const SDL_Keysym& key)
{
    if (key.sym == SDLK_F11) return true;
    return (key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER) && (key.mod & KMOD_ALT) != 0;
}

// The window changed: the last frame is to be shown again, also for a while after, because a
// window manager may take several steps to settle a window (fullscreen: moved, then resized) and
// the picture is sure only once it has.
void note_change()
{
    sdl.changed_at.store(SDL_GetTicks());
    sdl.redraw.store(true);
}

// Sees every event as SDL queues it, also while the show takes none (start-up, fades, pauses):
// notes what changes the view and keeps the fullscreen keys away from the show's key table.
int SDLCALL filter_event(void*, SDL_Event* e)
{
    switch (e->type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (!is_fullscreen_key(e->key.keysym)) return 1;
        if (e->type == SDL_KEYDOWN && !e->key.repeat) sdl.fullscreen_presses.fetch_add(1);
        return 0;
    case SDL_WINDOWEVENT:
        switch (e->window.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
        case SDL_WINDOWEVENT_MOVED:
            note_change();
            break;
        case SDL_WINDOWEVENT_DISPLAY_CHANGED:
            sdl.display_changed.store(true);
            note_change();
            break;
        default:
            break;
        }
        // Kept in the queue: the renderer watches size changes to follow the window.
        return 1;
    default:
        return 1;
    }
}

// Microseconds on the high-resolution counter.
int64_t now_us() { return PACE_counter_us(SDL_GetPerformanceCounter(), SDL_GetPerformanceFrequency()); }

// The refresh rate of the display the window is on, 0 when unknown.
int32_t display_refresh()
{
    SDL_DisplayMode mode{};
    const int index = sdl.window ? SDL_GetWindowDisplayIndex(sdl.window) : 0;
    if (SDL_GetCurrentDisplayMode(index < 0 ? 0 : index, &mode) != 0) return 0;
    return mode.refresh_rate;
}

// Holds a presentation of the show until its deadline (a quarter refresh early where vsync then
// waits for the refresh itself). Also paces a minimized window, where SDL presents nothing.
void hold()
{
    if (!sdl.view.hold) return;
    if (const uint32_t ms = PACE_sleep_ms(PACE_delay(&sdl.pace, now_us()))) SDL_Delay(ms);
}

// Shows the texture's frame at the largest whole-number scale of the output's real pixels,
// centred on black, and presents it; held is set for the show's presentations, not for showing
// the last frame again.
void draw_frame(bool held)
{
    // Cleared first, so that a change noted while this frame is drawn gets its own redraw.
    sdl.redraw.store(false);
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(sdl.renderer, &w, &h);
    const Viewport v = VIEWPORT_fit(w, h, sdl.width, sdl.height);
    const SDL_Rect to{v.x, v.y, v.width, v.height};
    SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
    SDL_RenderClear(sdl.renderer);
    SDL_RenderCopy(sdl.renderer, sdl.texture, nullptr, &to);
    if (held) hold();
    SDL_RenderPresent(sdl.renderer);
}

// Switches vsync on where the display keeps up with the hold (unless the view says --no-vsync)
// and off elsewhere, so that hold and vsync never halve the rate; at the start, names the pacing
// under --verbose. The hold keeps its deadlines across a change.
void choose_pacing(bool first)
{
    const int32_t refresh = display_refresh();
    const bool want = sdl.view.vsync && PACE_vsync_keeps_up(refresh);
    SDL_RenderSetVSync(sdl.renderer, want ? 1 : 0);
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(sdl.renderer, &info);
    // What the renderer really does: some accept the call and present at once all the same.
    const bool granted = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    sdl.vsync = want && granted;
    PACE_set_refresh(&sdl.pace, refresh, sdl.vsync);
    if (!first || !sdl.view.verbose) return;
    const char* why = !sdl.view.vsync ? "--no-vsync"
                      : !want         ? "the display is slower than 58 Hz"
                      : !granted      ? "the renderer grants none"
                                      : "SDL_RenderPresent waits for the refresh";
    const std::string pacing = DESKTOP_pacing_text(sdl.vsync, refresh, why);
    std::fputs(DESKTOP_verbose_line(info.name ? info.name : "unknown", pacing).c_str(), stderr);
}

// Acts on what the event filter noted: switches fullscreen on F11 or Alt+Enter, follows the
// refresh rate to another display, and shows the last frame again when the window changed.
// redraw_now is false where a new frame is about to be presented anyway.
void apply_view_changes(bool redraw_now)
{
    if (!sdl.window) return;
    // Two presses before the show looked cancel each other, as they would one at a time.
    if (sdl.fullscreen_presses.exchange(0) & 1) {
        const bool full = (SDL_GetWindowFlags(sdl.window) & SDL_WINDOW_FULLSCREEN) != 0;
        // SDL keeps the window's size and place and gives them back on leaving.
        SDL_SetWindowFullscreen(sdl.window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
        sdl.display_changed.store(true);
        note_change();
    }
    if (sdl.display_changed.exchange(false)) choose_pacing(false);
    const bool settling = SDL_GetTicks() - sdl.changed_at.load() < settle_ms;
    if (redraw_now && sdl.drawn && (sdl.redraw.load() || settling)) draw_frame(false);
}

// Starts SDL's video on a real display, with the renderer hints the view asks for; false (said
// on standard error) when there is no display.
bool start_video()
{
    // Without these hints SDL falls back to an invisible off-screen driver when there is no display.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland");
    // Vsync starts off: choose_pacing switches it on where the display keeps up. The hint decides
    // over the renderer flag, so it says the same.
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "voxa7100: no display available (%s)\n", SDL_GetError());
        return false;
    }
    return true;
}

// Ends the program (status 2) when a window of width x height at the asked scale would not fit
// the desktop's usable area.
void refuse_oversize(int32_t width, int32_t height, int32_t scale)
{
    SDL_Rect usable{};
    if (scale > 1 && SDL_GetDisplayUsableBounds(0, &usable) == 0 &&
        (width * scale > usable.w || height * scale > usable.h)) {
        const int32_t most = std::min(usable.w / width, usable.h / height);
        std::fputs(DESKTOP_scale_refusal(scale, usable.w, usable.h, most).c_str(), stderr);
        SDL_Quit();
        std::exit(2);
    }
}

// Makes the hidden window, its renderer and the width x height streaming texture; false (said on
// standard error) when any of them cannot be made.
bool make_window(const char* title, int32_t width, int32_t height, int32_t scale)
{
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    // Created at the size the options give, which SDL restores on leaving fullscreen.
    if (sdl.view.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    // The window is shown only once the renderer exists: making the renderer may replace it.
    sdl.window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width * scale,
                                  height * scale, flags);
    if (sdl.window)
        sdl.renderer = SDL_CreateRenderer(sdl.window, -1, 0);
    if (sdl.renderer)
        sdl.texture = SDL_CreateTexture(sdl.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!sdl.texture) {
        std::fprintf(stderr, "voxa7100: cannot create the window (%s)\n", SDL_GetError());
        return false;
    }
    SDL_SetTextureScaleMode(sdl.texture, SDL_ScaleModeNearest);
    return true;
}

}  // namespace

void OS_set_desktop_view(const DesktopView& view) { sdl.view = view; }

void OS_show_text(const char* text, bool error)
{
    if (text) std::fputs(text, error ? stderr : stdout);
}

uint32_t OS_ticks() { return SDL_GetTicks(); }

void OS_sleep(uint32_t ms) { SDL_Delay(ms); }

bool OS_open_window(const char* title, int32_t width, int32_t height)
{
    if (!start_video()) return false;
    const int32_t scale = sdl.view.scale > 0 ? sdl.view.scale : 1;
    refuse_oversize(width, height, scale);
    if (!make_window(title, width, height, scale)) return false;
    sdl.width = width;
    sdl.height = height;
    choose_pacing(true);
    SDL_SetEventFilter(filter_event, nullptr);
    SDL_ShowWindow(sdl.window);
    OS_hide_cursor();
    return true;
}

void OS_present(const uint32_t* pixels, int32_t width, int32_t height)
{
    if (!sdl.texture || width != sdl.width || height != sdl.height) return;
    // The show takes no events during start-up and fades; the filter still sees them.
    SDL_PumpEvents();
    apply_view_changes(false);
    // 0x00RRGGBB words are SDL's RGB888 format, so the frame is uploaded as it is.
    SDL_UpdateTexture(sdl.texture, nullptr, pixels, width * 4);
    sdl.drawn = true;
    draw_frame(true);
}

OsEvent OS_pump(int32_t* key)
{
    SDL_Event e;
    for (;;) {
        if (!SDL_PollEvent(&e)) return OS_EVENT_NONE;
        switch (e.type) {
        case SDL_QUIT:
            return OS_EVENT_CLOSE;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) return OS_EVENT_CLOSE;
            // Resizes, exposes and the like concern the view only (the filter noted them): they
            // do not take the show's one event of this frame.
            continue;
        case SDL_KEYDOWN:
            if (key) *key = e.key.keysym.sym;
            return OS_EVENT_KEY_DOWN;
        default:
            return OS_EVENT_OTHER;
        }
    }
}

void OS_wait_event(uint32_t ms)
{
    // Nothing is presented while the show waits: the platform keeps the picture and the
    // fullscreen keys working itself.
    apply_view_changes(true);
    SDL_WaitEventTimeout(nullptr, static_cast<int>(ms));
    apply_view_changes(true);
}

int32_t OS_key_char(int32_t key)
{
    // SDL key codes of printable keys are their unshifted characters (letters lower case).
    if (key == SDLK_ESCAPE) return 0x1B;
    if (key >= 0x20 && key < 0x7F) return key;
    return 0;
}

bool OS_pointer(int32_t* x, int32_t* y)
{
    if (!sdl.window) return false;
    int px = 0, py = 0, lw = 0, lh = 0, rw = 0, rh = 0;
    if (SDL_GetMouseFocus() == sdl.window) {
        // Over the window SDL follows every motion, warps included.
        SDL_GetMouseState(&px, &py);
    } else {
        // Elsewhere only the screen position tells where it is (SDL may have missed moves of the
        // pointer or the window that no motion came with, but then the pointer is over the window).
        int wx = 0, wy = 0;
        SDL_GetGlobalMouseState(&px, &py);
        SDL_GetWindowPosition(sdl.window, &wx, &wy);
        px -= wx;
        py -= wy;
    }
    // Window places and sizes are logical units; the frame is drawn in real pixels.
    SDL_GetWindowSize(sdl.window, &lw, &lh);
    SDL_GetRendererOutputSize(sdl.renderer, &rw, &rh);
    const Viewport v = VIEWPORT_fit(rw, rh, sdl.width, sdl.height);
    VIEWPORT_to_frame(&v, VIEWPORT_logical_to_real(px, lw, rw), VIEWPORT_logical_to_real(py, lh, rh), x, y);
    return true;
}

void OS_hide_cursor() { SDL_ShowCursor(SDL_DISABLE); }

void OS_audio_loop(const uint8_t* wav, std::size_t size)
{
    const uint8_t* values = nullptr;
    std::size_t count = 0;
    if (!open_audio() || !OS_wav_values(wav, size, &values, &count)) return;
    SDL_LockAudioDevice(sdl.audio);
    sdl.samples = values;
    sdl.count = count;
    sdl.position = 0;
    sdl.playing = true;
    SDL_UnlockAudioDevice(sdl.audio);
}

void OS_audio_stop()
{
    if (sdl.audio == 0) return;
    SDL_LockAudioDevice(sdl.audio);
    sdl.playing = false;
    SDL_UnlockAudioDevice(sdl.audio);
}

void OS_exit(int status)
{
    if (sdl.audio) SDL_CloseAudioDevice(sdl.audio);
    SDL_Quit();
    std::exit(status);
}
