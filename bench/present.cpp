// The cost of presenting one frame through the desktop backend, without waiting for the display
// and bypassing the hold that keeps the show to 60 presentations a second: the upload, the scaled
// copy on black and the swap, at the window's scale or in fullscreen.
// Needs a display: voxa_present_bench [--scale N | --fullscreen] [benchmark flags]; the script
// tools/present-cost.sh runs it under Xvfb at 1x, at 3x and fullscreen.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/options.h"
#include "platform/os.h"

namespace {

std::vector<uint32_t> frame(256 * 256);

void present(benchmark::State& state)
{
    for (auto _ : state) {
        OS_present(frame.data(), 256, 256);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    DesktopView view;
    std::string text;
    if (OPTIONS_parse(argc, argv, &view, &text) != OPTIONS_RUN) {
        std::fputs(text.c_str(), stderr);
        return 2;
    }
    view.vsync = false;
    view.hold = false;  // raw presentation, as fast as it goes
    OS_set_desktop_view(view);
    if (!OS_open_window("VOXA7100", 256, 256)) return 1;
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
    // A window manager takes a moment to give the window its size (fullscreen in several steps).
    const uint32_t start = OS_ticks();
    while (OS_ticks() - start < 1000) {
        OS_present(frame.data(), 256, 256);
        while (OS_pump(nullptr) != OS_EVENT_NONE) {
        }
        OS_sleep(10);
    }
    const std::string name = view.fullscreen ? "Present/fullscreen" : "Present/scale:" + std::to_string(view.scale > 0 ? view.scale : 1);
    benchmark::RegisterBenchmark(name.c_str(), present)->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
