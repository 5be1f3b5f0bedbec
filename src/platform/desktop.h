// DESKTOP: how a desktop backend (SDL, native Windows) shows the frame: the choices of the desktop
// programs' command line, handed to the backend before the show opens its window.
// Depends on: nothing.
// NOTE: scale is in whole multiples of the 256 x 256 frame, in the desktop's logical units; 0 means
// not chosen (the design's 256 x 256 client area). These choices never change a frame or a bar.
#pragma once
#include <cstdint>

struct DesktopView {
    int32_t scale = 0;        // window size N x 256 logical units; 0: not given (1)
    bool fullscreen = false;  // start in fullscreen (the window above is the one left to)
    bool vsync = true;        // each presentation waits for the display's refresh
    bool verbose = false;     // one line on standard error: the renderer and the pacing in force
};

// Keeps the view for the window the show opens next; implemented by each desktop backend. When the
// chosen scale cannot fit the screen, opening the window says so and ends the program with status 2.
void OS_set_desktop_view(const DesktopView& view);
