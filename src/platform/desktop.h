// DESKTOP: how a desktop backend (SDL, native Windows) shows the frame: the choices of the desktop
// programs' command line, handed to the backend before the show opens its window, and the words
// both backends use to tell the user about them.
// Depends on: platform/pace.
// NOTE: scale is in whole multiples of the 256 x 256 frame, in the desktop's logical units; 0 means
// not chosen (the design's 256 x 256 client area). These choices never change a frame or a bar.
#pragma once
#include <cstdint>
#include <string>

struct DesktopView {
    int32_t scale = 0;        // window size N x 256 logical units; 0: not given (1)
    bool fullscreen = false;  // start in fullscreen (the window above is the one left to)
    bool vsync = true;        // presentations also wait for the refresh where the display keeps up
    bool hold = true;         // presentations held to 60 a second; off only for timing raw presentation
    bool verbose = false;     // one line on standard error: the renderer and the pacing in force
};

// Keeps the view for the window the show opens next; implemented by each desktop backend. When the
// chosen scale cannot fit the screen, opening the window says so and ends the program with status 2.
void OS_set_desktop_view(const DesktopView& view);
// Puts text for the user where the one who started the program sees it: standard output, or
// standard error when error is set (the Windows program falls back to its parent's console, then
// to a message box); implemented by each desktop backend.
void OS_show_text(const char* text, bool error);

// The refusal of a --scale that leaves the window larger than the screen's free area of
// free_w x free_h pixels, where at most --scale most fits (0: not even 1).
std::string DESKTOP_scale_refusal(int32_t scale, int32_t free_w, int32_t free_h, int32_t most);
// The pacing in force, for the --verbose line: vsync (by the given means) together with the hold
// to 60 presentations a second, or the hold alone and why there is no vsync; refresh_hz as the
// system reports it (0: unknown).
std::string DESKTOP_pacing_text(bool vsync, int32_t refresh_hz, const std::string& detail);
// The --verbose line: the renderer and the pacing in force.
std::string DESKTOP_verbose_line(const std::string& renderer, const std::string& pacing);
