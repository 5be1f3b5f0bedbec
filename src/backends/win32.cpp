// The native Windows backend on user32, gdi32, winmm and kernel32: the window class,
// one resizable window that shows the frame at the largest whole-number scale on
// black (borderless fullscreen on F11 and Alt+Enter), key-downs from the window procedure, the
// pointer mapped back to frame pixels, every presentation held to 60 a second (and waiting for the
// compositor where the display keeps up), and a WAV image looped by PlaySoundA.
// Functions newer than the oldest Windows the program starts on (DPI awareness, the compositor)
// are looked up at run time in the system's own DLLs, so the executable imports only the four
// libraries above and the C runtime. The executable is built for the GUI subsystem: text for the
// user goes to the standard handles when they lead somewhere, else to the console the program was
// started from, else (for help, version and errors) into a message box.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "base/record.h"
#include "platform/desktop.h"
#include "platform/os.h"
#include "platform/pace.h"
#include "platform/viewport.h"
#include "raster/rgb888.h"

namespace {

constexpr char class_name[] = "VOXA7100";
// Window sizes are given in these logical units per inch; real pixels follow the monitor's DPI.
constexpr int32_t logical_dpi = 96;

// Messages and values from headers newer than the oldest supported Windows.
constexpr UINT message_dpi_changed = 0x02E0;            // WM_DPICHANGED
constexpr UINT message_composition_changed = 0x031E;    // WM_DWMCOMPOSITIONCHANGED
const HANDLE per_monitor_aware_v2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const HANDLE per_monitor_aware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
constexpr int process_per_monitor_dpi_aware = 2;       // PROCESS_PER_MONITOR_DPI_AWARE
constexpr int monitor_effective_dpi = 0;               // MDT_EFFECTIVE_DPI

using SetContextFn = BOOL(WINAPI*)(HANDLE);
using SetAwarenessFn = HRESULT(WINAPI*)(int);
using SetAwareFn = BOOL(WINAPI*)();
using DpiForWindowFn = UINT(WINAPI*)(HWND);
using DpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using CompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);
using FlushFn = HRESULT(WINAPI*)();

// How presentations are paced.
struct Win32State {
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    HDC context = nullptr;  // the window's device context, kept for the whole run
    int32_t width = 0, height = 0;
    std::unique_ptr<uint8_t[]> bitmap;  // width * height * 3 bytes, bottom-up blue-green-red: the last frame
    BITMAPINFOHEADER header{};
    // The client size the borders were last painted for; another size paints them again.
    int32_t painted_w = -1, painted_h = -1;
    // The virtual-key code of a key-down the window procedure saw and the pump has not yet reported.
    bool key_waiting = false;
    int32_t key = 0;
    bool playing = false;
    bool cursor_hidden = false;
    DesktopView view;  // how the window shows the frame (the command line's choices)
    // Borderless fullscreen, and the window's style and placement to return to.
    bool fullscreen = false;
    LONG_PTR windowed_style = 0;
    WINDOWPLACEMENT windowed_place{};
    // Presentation pacing: the hold, and the compositor where the display keeps up.
    bool compositor = false;  // each presentation also waits for the compositor's next pass (DwmFlush)
    int32_t refresh_hz = 0;  // the window's monitor, 0 when unknown
    PACE pace;
    bool timer_resolution = false;
    LARGE_INTEGER counts_per_second{};
    // Functions looked up at run time (null where this Windows lacks them).
    DpiForWindowFn dpi_for_window = nullptr;
    DpiForMonitorFn dpi_for_monitor = nullptr;
    CompositionEnabledFn composition_enabled = nullptr;
    FlushFn compositor_flush = nullptr;
};

Win32State win32;

// A function of a DLL, or null; the cast goes through the one pointer type that matches every function.
template <typename Fn>
Fn lookup(HMODULE module, const char* name)
{
    if (!module) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Loads a DLL from the system folder only, never from the program's folder or the current one.
HMODULE system_library(const char* name)
{
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + std::strlen(name) >= MAX_PATH) return nullptr;
    path[length] = '\\';
    std::strcpy(path + length + 1, name);
    return LoadLibraryA(path);
}

// Writes all of text to a handle; false when the handle leads nowhere or the write fails.
bool write_all(HANDLE handle, const std::string& text)
{
    if (!handle || handle == INVALID_HANDLE_VALUE || GetFileType(handle) == FILE_TYPE_UNKNOWN) return false;
    DWORD written = 0;
    return WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

// Puts text where the user who started the program sees it: the standard output or error handle
// when it leads to a file, pipe or console; else the console of the parent process (a GUI program
// gets none of its own); else, when box is set, a message box. False when the text went nowhere.
bool show_text(const std::string& text, bool error, bool box)
{
    if (write_all(GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE), text)) return true;
    // ERROR_ACCESS_DENIED: the process already has a console.
    if (AttachConsole(ATTACH_PARENT_PROCESS) || GetLastError() == ERROR_ACCESS_DENIED) {
        HANDLE console = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
        const bool shown = write_all(console, text);
        if (console != INVALID_HANDLE_VALUE) CloseHandle(console);
        if (shown) return true;
    }
    if (!box) return false;
    return MessageBoxA(nullptr, text.c_str(), "VOXA7100", MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION)) != 0;
}

// Prints why a system call failed, with the system's own text for the last error.
void print_failure(const char* what)
{
    const DWORD code = GetLastError();
    char text[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text,
                   nullptr);
    char line[400];
    std::snprintf(line, sizeof line, "voxa7100: %s failed (error %lu) %s\n", what, static_cast<unsigned long>(code),
                  text);
    show_text(line, true, false);
}

// Per-monitor DPI awareness, with the best call this Windows has (without it the system would
// stretch the whole window, blurring the frame, on a high-density screen), and the functions that
// tell a window's density.
void set_dpi_awareness()
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    HMODULE shcore = system_library("shcore.dll");
    win32.dpi_for_window = lookup<DpiForWindowFn>(user32, "GetDpiForWindow");
    win32.dpi_for_monitor = lookup<DpiForMonitorFn>(shcore, "GetDpiForMonitor");
    if (auto set_context = lookup<SetContextFn>(user32, "SetProcessDpiAwarenessContext")) {
        if (set_context(per_monitor_aware_v2) || set_context(per_monitor_aware)) return;
    }
    if (auto set_awareness = lookup<SetAwarenessFn>(shcore, "SetProcessDpiAwareness")) {
        if (SUCCEEDED(set_awareness(process_per_monitor_dpi_aware))) return;
    }
    if (auto set_aware = lookup<SetAwareFn>(user32, "SetProcessDPIAware")) set_aware();
}

// The window's dots per inch (96 at 100 %).
int32_t window_dpi(HWND window)
{
    UINT dpi = 0;
    if (win32.dpi_for_window) dpi = win32.dpi_for_window(window);
    UINT y = 0;
    if (!dpi && win32.dpi_for_monitor)
        if (FAILED(win32.dpi_for_monitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), monitor_effective_dpi,
                                         &dpi, &y)))
            dpi = 0;
    if (!dpi) {
        HDC screen = GetDC(nullptr);
        dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
        ReleaseDC(nullptr, screen);
    }
    return dpi ? static_cast<int32_t>(dpi) : logical_dpi;
}

// The refresh rate of the window's monitor in Hz; 0 when the system does not know it.
int32_t monitor_refresh(HWND window)
{
    MONITORINFOEXA info{};
    info.cbSize = sizeof info;
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info) ||
        !EnumDisplaySettingsA(info.szDevice, ENUM_CURRENT_SETTINGS, &mode))
        return 0;
    // 0 and 1 stand for the hardware's default rate, which the system does not name.
    return mode.dmDisplayFrequency > 1 ? static_cast<int32_t>(mode.dmDisplayFrequency) : 0;
}

int64_t now_us()
{
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    if (win32.counts_per_second.QuadPart <= 0) return static_cast<int64_t>(GetTickCount()) * 1000;
    return PACE_counter_us(static_cast<uint64_t>(counter.QuadPart), static_cast<uint64_t>(win32.counts_per_second.QuadPart));
}

// Whether the compositor is on; false where this Windows has none.
bool composing()
{
    BOOL composed = FALSE;
    return win32.composition_enabled && win32.compositor_flush && SUCCEEDED(win32.composition_enabled(&composed)) &&
           composed;
}

// Chooses the pacing: the hold always, and the compositor's pass too where the monitor keeps up
// with it (unless --no-vsync), so that the two never halve the rate. The hold starts its deadlines
// at the first presentation; later changes (another monitor or rate, the compositor switched) keep them.
void choose_pacing()
{
    win32.refresh_hz = win32.window ? monitor_refresh(win32.window) : 0;
    win32.compositor = win32.view.vsync && PACE_vsync_keeps_up(win32.refresh_hz) && composing();
    PACE_set_refresh(&win32.pace, win32.refresh_hz, win32.compositor);
}

// The pacing in force, for --verbose.
std::string pacing_text()
{
    const char* why = win32.compositor                         ? "DwmFlush waits for the compositor"
                      : !win32.view.vsync                      ? "--no-vsync"
                      : !PACE_vsync_keeps_up(win32.refresh_hz) ? "the display is slower than 58 Hz"
                                                               : "no compositor";
    return DESKTOP_pacing_text(win32.compositor, win32.refresh_hz, why);
}

// Paints black around the frame: the four strips of the client area the viewport leaves.
void paint_borders(HDC dc, const Viewport& v, int32_t client_w, int32_t client_h)
{
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT strips[] = {
        {0, 0, client_w, v.y},
        {0, v.y + v.height, client_w, client_h},
        {0, v.y, v.x, v.y + v.height},
        {v.x + v.width, v.y, client_w, v.y + v.height},
    };
    for (const RECT& r : strips)
        if (r.right > r.left && r.bottom > r.top) FillRect(dc, &r, black);
}

// Draws the last frame at the largest whole-number scale that fits the client area, with the
// borders when asked or when the client size changed since they were last painted.
void draw_frame(HDC dc, bool borders)
{
    if (!dc || !win32.bitmap) return;
    RECT client{};
    GetClientRect(win32.window, &client);
    const int32_t cw = client.right - client.left, ch = client.bottom - client.top;
    const Viewport v = VIEWPORT_fit(cw, ch, win32.width, win32.height);
    if (borders || cw != win32.painted_w || ch != win32.painted_h) {
        paint_borders(dc, v, cw, ch);
        win32.painted_w = cw;
        win32.painted_h = ch;
    }
    const auto* info = reinterpret_cast<const BITMAPINFO*>(&win32.header);
    if (v.scale == 1) {
        SetDIBitsToDevice(dc, v.x, v.y, static_cast<DWORD>(win32.width), static_cast<DWORD>(win32.height), 0, 0, 0,
                          static_cast<UINT>(win32.height), win32.bitmap.get(), info, DIB_RGB_COLORS);
    } else {
        // Whole-number factors with pixel replication: every frame pixel becomes a scale x scale block.
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, v.x, v.y, v.width, v.height, 0, 0, win32.width, win32.height, win32.bitmap.get(), info,
                      DIB_RGB_COLORS, SRCCOPY);
    }
}

// Borderless fullscreen on the window's monitor, or back to the window it was.
void set_fullscreen(bool on)
{
    HWND window = win32.window;
    if (!window || on == win32.fullscreen) return;
    if (on) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
        win32.windowed_place = WINDOWPLACEMENT{};
        win32.windowed_place.length = sizeof(WINDOWPLACEMENT);
        GetWindowPlacement(window, &win32.windowed_place);
        // A window not yet shown reports a hidden state; it returns to a normal one.
        if (win32.windowed_place.showCmd != SW_SHOWMAXIMIZED) win32.windowed_place.showCmd = SW_SHOWNORMAL;
        win32.windowed_style = GetWindowLongPtrA(window, GWL_STYLE);
        SetWindowLongPtrA(window, GWL_STYLE, (win32.windowed_style & ~static_cast<LONG_PTR>(WS_OVERLAPPEDWINDOW)) | WS_POPUP);
        const RECT& r = monitor.rcMonitor;
        SetWindowPos(window, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
    } else {
        SetWindowLongPtrA(window, GWL_STYLE, win32.windowed_style | (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE));
        SetWindowPlacement(window, &win32.windowed_place);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
    }
    win32.fullscreen = on;
    // The monitor's rate may differ from the one the window stood on.
    choose_pacing();
    // The last frame at the new size, also while the show is paused and presents nothing.
    InvalidateRect(window, nullptr, FALSE);
}

// A key-down message: F11 and Alt+Enter switch fullscreen and are the window's own, so they never
// reach the show's keys (true: the message is handled); other plain key-downs are kept for the show.
bool take_key(UINT message, WPARAM wparam, LPARAM lparam)
{
    // Bit 30 of a key message: the key was already down (an auto-repeat); bit 29: Alt is held.
    const bool repeat = (lparam & (LPARAM{1} << 30)) != 0;
    const bool own = message == WM_KEYDOWN ? wparam == VK_F11
                                           : wparam == VK_RETURN && (lparam & (LPARAM{1} << 29)) != 0;
    if (own) {
        if (!repeat) set_fullscreen(!win32.fullscreen);
        return true;
    }
    if (message == WM_KEYDOWN) {
        // A later key-down overwrites one not yet taken; the message still gets the default handling.
        win32.key = static_cast<int32_t>(wparam & 0xFF);
        win32.key_waiting = true;
    }
    return false;
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_DESTROY:
        // The window is gone (the default close handling destroys it): the show ends here.
        PostQuitMessage(0);
        OS_exit(0);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (take_key(message, wparam, lparam)) return 0;
        break;
    case WM_SYSCOMMAND:
        // Alt or F10 alone (and Alt with a letter) would start the keyboard menu loop, which keeps
        // the thread, and so the show, until another key; the window has no menu to open. Alt+Space
        // still opens the system menu, as a deliberate choice like dragging the window.
        if ((wparam & 0xFFF0) == SC_KEYMENU && lparam != ' ') return 0;
        break;
    case WM_ERASEBKGND:
        // The frame and its black borders cover the whole client area: erasing first would flicker.
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        draw_frame(dc, true);
        EndPaint(window, &paint);
        return 0;
    }
    case message_dpi_changed: {
        // The window keeps its logical size on a monitor of another density: take the suggested rectangle.
        const RECT* r = reinterpret_cast<const RECT*>(lparam);
        if (!win32.fullscreen && r)
            SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_DISPLAYCHANGE:
    case WM_EXITSIZEMOVE:
    case message_composition_changed:
        // Another refresh rate, another monitor, or the compositor switched on or off.
        if (win32.window) choose_pacing();
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

bool register_class(HINSTANCE instance)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = window_procedure;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    // The icon resource linked in from voxa7100.rc; there is no menu resource, so no menu.
    wc.hIcon = LoadIconA(instance, class_name);
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance, class_name, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    // Black, like the borders around a scaled frame, where the design had the grey menu colour.
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszMenuName = class_name;
    wc.lpszClassName = class_name;
    return RegisterClassExA(&wc) != 0;
}

// Registers the window class (once) and creates the window, not yet shown; false (said) when
// either fails.
bool create_window(const char* title, int32_t width, int32_t height)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!win32.instance && !register_class(instance)) {
        print_failure("RegisterClassExA");
        return false;
    }
    win32.instance = instance;
    win32.window = CreateWindowExA(0, class_name, title, WS_OVERLAPPEDWINDOW, 0, 0, width, height, nullptr, nullptr,
                                   instance, nullptr);
    if (!win32.window) {
        print_failure("CreateWindowExA");
        return false;
    }
    return true;
}

// The window's outer size in real pixels, and the borders the system adds around its client area.
struct WindowSize {
    int32_t outer_w, outer_h;
    int32_t border_w, border_h;
};

// The outer size of a window whose client area is scale x the width x height frame in logical
// units, at the window's density.
WindowSize window_size(int32_t width, int32_t height, int32_t scale, int32_t dpi)
{
    const int32_t client_w = VIEWPORT_logical_to_real(width * scale, logical_dpi, dpi);
    const int32_t client_h = VIEWPORT_logical_to_real(height * scale, logical_dpi, dpi);
    // The borders are whatever the system adds around the client area; measure them and grow by them.
    RECT outer{}, client{};
    GetWindowRect(win32.window, &outer);
    GetClientRect(win32.window, &client);
    const int32_t border_w = (outer.right - outer.left) - (client.right - client.left);
    const int32_t border_h = (outer.bottom - outer.top) - (client.bottom - client.top);
    return {client_w + border_w, client_h + border_h, border_w, border_h};
}

// Ends the program (status 2) when a scaled window is larger than the desktop's free area (the
// screen less the task bar), where it would hide part of the frame or its caption; the refusal
// names the largest scale that fits. A window at scale 1 is never refused.
void refuse_oversize(int32_t width, int32_t height, int32_t scale, int32_t dpi, const WindowSize& size)
{
    if (scale <= 1) return;
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int32_t work_w = work.right - work.left, work_h = work.bottom - work.top;
    if (size.outer_w <= work_w && size.outer_h <= work_h) return;
    int32_t fits = 1;
    while (VIEWPORT_logical_to_real(width * (fits + 1), logical_dpi, dpi) + size.border_w <= work_w &&
           VIEWPORT_logical_to_real(height * (fits + 1), logical_dpi, dpi) + size.border_h <= work_h)
        ++fits;
    show_text(DESKTOP_scale_refusal(scale, work_w, work_h, fits), true, true);
    OS_exit(2);
}

// Makes the width x height bitmap the window paints from (black until the first presentation),
// before the window shows, so that its first paint is a black frame; false (said) when it cannot.
bool prepare_bitmap(int32_t width, int32_t height)
{
    if (!win32.context) win32.context = GetDC(win32.window);
    win32.bitmap.reset();
    win32.bitmap = block_new<uint8_t>(static_cast<std::size_t>(width) * height * 3);
    if (!win32.bitmap || !win32.context) {
        show_text("voxa7100: cannot prepare the window's bitmap\n", true, false);
        return false;
    }
    win32.width = width;
    win32.height = height;
    win32.header = BITMAPINFOHEADER{};
    win32.header.biSize = sizeof(BITMAPINFOHEADER);
    win32.header.biWidth = width;
    win32.header.biHeight = height;  // positive: the first bitmap row is the bottom one
    win32.header.biPlanes = 1;
    win32.header.biBitCount = 24;
    win32.header.biCompression = BI_RGB;
    win32.header.biSizeImage = static_cast<DWORD>(width) * height * 3;
    win32.painted_w = win32.painted_h = -1;
    return true;
}

// Looks up the compositor's functions, picks the pacing and names it under --verbose (once, with
// the first window).
void start_pacing(int32_t dpi)
{
    // Deadlines on the performance counter; sleeps to a millisecond, not to the default 15.6 ms
    // tick, which would stretch a 16.7 ms hold to about 31 ms.
    QueryPerformanceFrequency(&win32.counts_per_second);
    if (!win32.timer_resolution) win32.timer_resolution = timeBeginPeriod(1) == 0;
    HMODULE dwm = system_library("dwmapi.dll");
    win32.composition_enabled = lookup<CompositionEnabledFn>(dwm, "DwmIsCompositionEnabled");
    win32.compositor_flush = lookup<FlushFn>(dwm, "DwmFlush");
    choose_pacing();
    if (win32.view.verbose)
        show_text(DESKTOP_verbose_line("GDI (StretchDIBits, " + std::to_string(dpi) + " dpi)", pacing_text()), true,
                  false);
}

}  // namespace

void OS_set_desktop_view(const DesktopView& view)
{
    // Before any window exists: awareness cannot change once one does.
    set_dpi_awareness();
    win32.view = view;
}

void OS_show_text(const char* text, bool error)
{
    if (text) show_text(text, error, true);
}

uint32_t OS_ticks() { return GetTickCount(); }

void OS_sleep(uint32_t ms) { Sleep(ms); }

bool OS_open_window(const char* title, int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0) return false;
    const bool first = !win32.window;
    if (first && !create_window(title, width, height)) return false;
    if (win32.fullscreen) set_fullscreen(false);
    const int32_t scale = win32.view.scale > 0 ? win32.view.scale : 1;
    const int32_t dpi = window_dpi(win32.window);
    const WindowSize size = window_size(width, height, scale, dpi);
    refuse_oversize(width, height, scale, dpi, size);
    const int32_t x = (GetSystemMetrics(SM_CXSCREEN) - size.outer_w) / 2;
    const int32_t y = (GetSystemMetrics(SM_CYSCREEN) - size.outer_h) / 2;
    MoveWindow(win32.window, x, y, size.outer_w, size.outer_h, TRUE);
    if (!prepare_bitmap(width, height)) return false;
    if (first && win32.view.fullscreen) set_fullscreen(true);
    ShowWindow(win32.window, SW_SHOW);
    UpdateWindow(win32.window);
    if (first) start_pacing(dpi);
    OS_hide_cursor();
    return true;
}

void OS_present(const uint32_t* pixels, int32_t width, int32_t height)
{
    if (!pixels || !win32.bitmap || width != win32.width || height != win32.height) return;
    // Rows of 3 * width bytes must be whole 4-byte words to need no padding; 256 gives 768.
    static_assert(256 * 3 % 4 == 0);
    if (width * 3 % 4 != 0) return;
    if (win32.view.hold) {
        if (const uint32_t ms = PACE_sleep_ms(PACE_delay(&win32.pace, now_us()))) Sleep(ms);
    }
    RGB888_to_bgr24(pixels, width, height, win32.bitmap.get());
    draw_frame(win32.context, false);
    UpdateWindow(win32.window);
    if (win32.compositor) {
        // The drawing must reach the compositor before waiting for its next pass.
        GdiFlush();
        win32.compositor_flush();
    }
}

OsEvent OS_pump(int32_t* key)
{
    MSG message;
    // PeekMessageA may also run the window procedure for messages sent from elsewhere.
    const bool got = PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0;
    if (got) {
        if (message.message == WM_QUIT) return OS_EVENT_CLOSE;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (win32.key_waiting) {
        win32.key_waiting = false;
        if (key) *key = win32.key;
        return OS_EVENT_KEY_DOWN;
    }
    return got ? OS_EVENT_OTHER : OS_EVENT_NONE;
}

void OS_wait_event(uint32_t ms)
{
    // Input already in the queue (seen by an earlier peek but not taken) also ends the wait.
    MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

int32_t OS_key_char(int32_t key)
{
    // The system gives letters as capitals; the commands are the unshifted, lower-case characters.
    const int32_t c = static_cast<int32_t>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_CHAR) & 0xFF);
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}

bool OS_pointer(int32_t* x, int32_t* y)
{
    POINT cursor{};
    if (!win32.window || !GetCursorPos(&cursor) || !ScreenToClient(win32.window, &cursor)) return false;
    // Client pixels to frame pixels through the viewport the frame is drawn with; over the black
    // borders this gives pixels outside the frame, as outside the window.
    RECT client{};
    GetClientRect(win32.window, &client);
    const Viewport v = VIEWPORT_fit(client.right - client.left, client.bottom - client.top, win32.width, win32.height);
    VIEWPORT_to_frame(&v, cursor.x, cursor.y, x, y);
    return true;
}

void OS_hide_cursor()
{
    // ShowCursor keeps a count; hiding once means one call would show it again.
    if (!win32.cursor_hidden) ShowCursor(FALSE);
    win32.cursor_hidden = true;
}

void OS_audio_loop(const uint8_t* wav, std::size_t size)
{
    if (!wav || size < 44) return;
    // With SND_MEMORY the module handle is not used; it is passed as the program's own.
    win32.playing = PlaySoundA(reinterpret_cast<LPCSTR>(wav), GetModuleHandleA(nullptr),
                               SND_ASYNC | SND_MEMORY | SND_LOOP) != 0;
}

void OS_audio_stop()
{
    PlaySoundA(nullptr, nullptr, 0);
    win32.playing = false;
}

void OS_exit(int status)
{
    // The player reads the image on its own thread: stop it before the image can go away.
    if (win32.playing) PlaySoundA(nullptr, nullptr, 0);
    std::exit(status);
}
