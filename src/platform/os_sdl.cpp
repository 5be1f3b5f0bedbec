// The desktop backend on SDL2: one window shown 1:1 through a streaming texture, key-downs,
// the pointer, and a looping audio device at 44100 Hz, mono, signed 16-bit.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "platform/desktop.h"
#include "platform/os.h"

namespace {

struct SdlState {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int32_t width = 0, height = 0;
    SDL_AudioDeviceID audio = 0;
    bool audio_tried = false;
    // The loop the audio callback plays; guarded by the device lock.
    const uint8_t* samples = nullptr;  // little-endian 16-bit values
    std::size_t count = 0;             // values in the loop
    std::size_t position = 0;          // next value to play
    bool playing = false;
    DesktopView view;  // how the window shows the frame (the command line's choices)
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

}  // namespace

void OS_set_desktop_view(const DesktopView& view) { sdl.view = view; }

uint32_t OS_ticks() { return SDL_GetTicks(); }

void OS_sleep(uint32_t ms) { SDL_Delay(ms); }

bool OS_open_window(const char* title, int32_t width, int32_t height)
{
    // Without these hints SDL falls back to an invisible off-screen driver when there is no display.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "voxa7100: no display available (%s)\n", SDL_GetError());
        return false;
    }
    // The window is shown only once the renderer exists: making the renderer may replace it.
    sdl.window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, SDL_WINDOW_HIDDEN);
    if (sdl.window) sdl.renderer = SDL_CreateRenderer(sdl.window, -1, 0);
    if (sdl.renderer)
        sdl.texture = SDL_CreateTexture(sdl.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!sdl.texture) {
        std::fprintf(stderr, "voxa7100: cannot create the window (%s)\n", SDL_GetError());
        return false;
    }
    sdl.width = width;
    sdl.height = height;
    SDL_ShowWindow(sdl.window);
    OS_hide_cursor();
    return true;
}

void OS_present(const uint32_t* pixels, int32_t width, int32_t height)
{
    if (!sdl.texture || width != sdl.width || height != sdl.height) return;
    // 0x00RRGGBB words are SDL's RGB888 format, so the frame is uploaded as it is.
    SDL_UpdateTexture(sdl.texture, nullptr, pixels, width * 4);
    SDL_RenderCopy(sdl.renderer, sdl.texture, nullptr, nullptr);
    SDL_RenderPresent(sdl.renderer);
}

OsEvent OS_pump(int32_t* key)
{
    SDL_Event e;
    if (!SDL_PollEvent(&e)) return OS_EVENT_NONE;
    switch (e.type) {
    case SDL_QUIT:
        return OS_EVENT_CLOSE;
    case SDL_WINDOWEVENT:
        return e.window.event == SDL_WINDOWEVENT_CLOSE ? OS_EVENT_CLOSE : OS_EVENT_OTHER;
    case SDL_KEYDOWN:
        if (key) *key = e.key.keysym.sym;
        return OS_EVENT_KEY_DOWN;
    default:
        return OS_EVENT_OTHER;
    }
}

void OS_wait_event(uint32_t ms) { SDL_WaitEventTimeout(nullptr, static_cast<int>(ms)); }

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
    int gx = 0, gy = 0, wx = 0, wy = 0;
    SDL_GetGlobalMouseState(&gx, &gy);
    SDL_GetWindowPosition(sdl.window, &wx, &wy);
    if (x) *x = gx - wx;
    if (y) *y = gy - wy;
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
