// The native Windows backend on user32, gdi32, winmm and kernel32: the program's entry point and
// window class, one overlapped window shown 1:1 through a bottom-up 24-bit bitmap, key-downs from
// the window procedure, the pointer from the cursor position, and a WAV image looped by PlaySoundA.
// The executable is built for the GUI subsystem, so messages to standard error may go nowhere.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "core/demo.h"
#include "core/record.h"
#include "platform/desktop.h"
#include "platform/os.h"
#include "platform/windpy.h"

namespace {

constexpr char class_name[] = "VOXA7100";

struct Win32State {
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    HDC context = nullptr;  // the window's device context, kept for the whole run
    int32_t width = 0, height = 0;
    std::unique_ptr<uint8_t[]> bitmap;  // width * height * 3 bytes, bottom-up blue-green-red
    BITMAPINFOHEADER header{};
    // The virtual-key code of a key-down the window procedure saw and the pump has not yet reported.
    bool key_waiting = false;
    int32_t key = 0;
    bool playing = false;
    bool cursor_hidden = false;
    DesktopView view;  // how the window shows the frame (the command line's choices)
};

Win32State win32;

// Prints why a system call failed, with the system's own text for the last error.
void print_failure(const char* what)
{
    const DWORD code = GetLastError();
    char text[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text,
                   nullptr);
    std::fprintf(stderr, "voxa7100: %s failed (error %lu) %s\n", what, static_cast<unsigned long>(code), text);
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_DESTROY:
        // The window is gone (the default close handling destroys it): the show ends here.
        PostQuitMessage(0);
        OS_exit(0);
    case WM_KEYDOWN:
        // A later key-down overwrites one not yet taken; the message still gets the default handling.
        win32.key = static_cast<int32_t>(wparam & 0xFF);
        win32.key_waiting = true;
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

bool register_class(HINSTANCE instance)
{
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = window_procedure;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    // No icon or menu resource is linked in, so these names give the default icon and no menu.
    wc.hIcon = LoadIconA(instance, class_name);
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1));
    wc.lpszMenuName = class_name;
    wc.lpszClassName = class_name;
    return RegisterClassA(&wc) != 0;
}

}  // namespace

void OS_set_desktop_view(const DesktopView& view) { win32.view = view; }

uint32_t OS_ticks() { return GetTickCount(); }

void OS_sleep(uint32_t ms) { Sleep(ms); }

bool OS_open_window(const char* title, int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0) return false;
    if (!win32.window) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        if (!win32.instance && !register_class(instance)) {
            print_failure("RegisterClassA");
            return false;
        }
        win32.instance = instance;
        win32.window = CreateWindowExA(0, class_name, title, WS_OVERLAPPEDWINDOW, 0, 0, width, height, nullptr, nullptr,
                                       instance, nullptr);
        if (!win32.window) {
            print_failure("CreateWindowExA");
            return false;
        }
    }
    // The borders are whatever the system adds around the client area; measure them and grow by them.
    RECT outer{}, client{};
    GetWindowRect(win32.window, &outer);
    GetClientRect(win32.window, &client);
    const int32_t border_w = (outer.right - outer.left) - (client.right - client.left);
    const int32_t border_h = (outer.bottom - outer.top) - (client.bottom - client.top);
    const int32_t outer_w = width + border_w, outer_h = height + border_h;
    const int32_t x = (GetSystemMetrics(SM_CXSCREEN) - outer_w) / 2;
    const int32_t y = (GetSystemMetrics(SM_CYSCREEN) - outer_h) / 2;
    MoveWindow(win32.window, x, y, outer_w, outer_h, TRUE);
    if (!win32.context) win32.context = GetDC(win32.window);
    ShowWindow(win32.window, SW_SHOW);
    UpdateWindow(win32.window);

    win32.bitmap.reset();
    win32.bitmap = block_new<uint8_t>(static_cast<std::size_t>(width) * height * 3);
    if (!win32.bitmap || !win32.context) {
        std::fprintf(stderr, "voxa7100: cannot prepare the window's bitmap\n");
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
    OS_hide_cursor();
    return true;
}

void OS_present(const uint32_t* pixels, int32_t width, int32_t height)
{
    if (!pixels || !win32.bitmap || width != win32.width || height != win32.height) return;
    // Rows of 3 * width bytes must be whole 4-byte words to need no padding; 256 gives 768.
    static_assert(256 * 3 % 4 == 0);
    if (width * 3 % 4 != 0) return;
    WINDPY_to_bgr24(pixels, width, height, win32.bitmap.get());
    SetDIBitsToDevice(win32.context, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), win32.bitmap.get(), reinterpret_cast<const BITMAPINFO*>(&win32.header),
                      DIB_RGB_COLORS);
    UpdateWindow(win32.window);
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
    if (!win32.window || !GetCursorPos(&cursor)) return false;
    // The client origin is estimated: one sizing frame in from the left edge, and one sizing frame
    // plus the client height up from the bottom edge, which skips the caption without measuring it.
    const int32_t frame_w = GetSystemMetrics(SM_CXFRAME), frame_h = GetSystemMetrics(SM_CYFRAME);
    RECT outer{}, client{};
    GetWindowRect(win32.window, &outer);
    GetClientRect(win32.window, &client);
    if (x) *x = cursor.x - (outer.left + frame_w);
    if (y) *y = cursor.y - (outer.bottom - frame_h - (client.bottom - client.top));
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

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (!register_class(instance)) {
        print_failure("RegisterClassA");
        return 1;
    }
    win32.instance = instance;
    demo_main();
}
